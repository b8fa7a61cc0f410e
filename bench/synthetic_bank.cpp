#include "synthetic_bank.h"

#include "store/learner_bank.h"

#include "store/bank_password.h"
#include "store/database.h"
#include "store/schema.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

QString sectionCodeOf(int s) {
    // 2 subjects (4, 5) x 5 parts x 5 chapters x 4 sections
    const int subject = 4 + s / 100;
    const int part = (s / 20) % 5 + 1;
    const int chapter = (s / 4) % 5 + 1;
    const int section = s % 4 + 1;
    return QStringLiteral("%1%2%3%4")
        .arg(subject)
        .arg(part)
        .arg(chapter, 2, 10, QLatin1Char('0'))
        .arg(section, 2, 10, QLatin1Char('0'));
}

constexpr int kPoints = 5000;

// Knowledge point p: "A4", its catalogue chapter (4 digits, 50 points each), its number (4).
QString pointIdOf(int p) {
    return QStringLiteral("A4%1%2")
        .arg(p / 50, 4, 10, QLatin1Char('0'))
        .arg(p % 50, 4, 10, QLatin1Char('0'));
}

void build(const QString& file, int questions) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString temp = file + ".part";
    QFile::remove(temp);
    {
        Database db;
        db.open(temp, true);
        Schema::create(db);
        BankPassword::store(db, BankPassword::bankPassword());
        Transaction tx(db);
        int bh = 0;
        QSet<QString> nodes;
        const auto node = [&](const QString& code) {
            if (nodes.contains(code))
                return;
            nodes.insert(code);
            db.exec("insert into tab_kmmc (C1, C1_1, C2, bh, C7) values (:c, :h, :n, :b, :c7)",
                    {{"c", code},
                     {"h", "标题 " + code},
                     {"n", "章节 " + code},
                     {"b", ++bh},
                     {"c7", code.size() == 4 ? QVariant("0") : QVariant()}});
        };
        for (int s = 0; s < 200; ++s) {
            const QString c = sectionCodeOf(s);
            node(c.left(1));
            node(c.left(2));
            node(c.left(4));
            node(c);
        }
        for (int kind = 1; kind <= 5; ++kind) {
            db.exec(QStringLiteral("insert into tab_tx%1 values (11, '单项选择题', 60, 1, 1), "
                                   "(14, '多项选择题', 35, 2, 2), (22, '案例分析题', 0, 20, 30)")
                        .arg(kind));
        }
        db.exec("insert into tab_fgmc (id, bh, n) values ('A4', 0, '目录')");
        for (int c = 0; c < 100; ++c)
            db.exec("insert into tab_fgmc (id, bh, n) values (:i, :b, '章')",
                    {{"i", QStringLiteral("A4%1").arg(c, 4, 10, QLatin1Char('0'))}, {"b", c + 1}});
        // 50 knowledge points under each of the 100 catalogue chapters.
        for (int p = 0; p < kPoints; ++p) {
            const QString id = pointIdOf(p);
            db.exec("insert into tab_rule (id, ftid, sn, n) values (:i, :f, :s, x'7b5c727466317d')",
                    {{"i", id.left(6)}, {"f", id}, {"s", QStringLiteral("考点 %1").arg(p)}});
        }
        // A question of ordinary length: a stem of about 150 characters and four options.
        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}"
                         "\\uc1\\f0\\fs21 ";
        const QString stem =
            QStringLiteral("某项目建设投资估算采用生产能力指数法进行估算，已知类似项目"
                           "的年生产能力和建设投资，");
        for (int r = 0; r < 4; ++r)
            for (const QChar c : stem)
                rtf += "\\u" + QByteArray::number(c.unicode()) + "?";
        for (const char* option : {"A", "B", "C", "D"})
            rtf += QByteArray("\\par ") + option + ". \\u36873?\\u39033?\\u20869?\\u23481?";
        rtf += "\\par}";
        Statement answ(db.handle(),
                       "insert into tab_answ (A1, A2, A2_1, A10, A13, k3, k4, k9, xx, f1, E3, "
                       "E4) values (:a, :k, 4, :c, :t, :p1, :p2, :p3, :x, 0, 0, 0)");
        Statement exer(db.handle(), "insert into tab_exer (A1, A15, jx) values (:a, :r, :r)");
        for (int q = 0; q < questions; ++q) {
            const QString section = sectionCodeOf(q % 200);
            const int type = q % 3 == 0 ? 14 : 11;
            const QString id = section + QString::number(type) +
                               QStringLiteral("%1").arg(q / 200, 4, 10, QLatin1Char('0'));
            answ.reset();
            answ.bindAll(
                {{"a", id},
                 {"k", type == 14 ? "AC" : "B"},
                 {"c", section},
                 {"t", type},
                 {"p1", pointIdOf(q % kPoints)},
                 {"p2", pointIdOf((q * 7 + 3) % kPoints)},
                 // Every fifth question has a third point, in a slot after a gap.
                 {"p3", q % 5 == 0 ? QVariant(pointIdOf((q * 13 + 11) % kPoints)) : QVariant()},
                 {"x", q / 200 + 1}});
            answ.step();
            exer.reset();
            exer.bindAll({{"a", id}, {"r", rtf}});
            exer.step();
        }
        QDate day(2025, 12, 1);
        for (int d = 0; d < 365; ++d, day = day.addDays(1))
            db.exec("insert into tab_rz (A1, A2, A3, A4, B1, B2, D1) values (:d, 50, 10, '80.00', "
                    "40, 8, '01:00:00')",
                    {{"d", day.toString(Qt::ISODate)}});
        db.exec("insert into tab_plan values (0, 50, 60, '2027-04-10', 65, 9000)");
        db.exec("update tab_kmmc set C3=(select count(*) from tab_answ where "
                "substr(A10,1,length(tab_kmmc.C1))=tab_kmmc.C1)");
        db.exec("update tab_rule set q=(select count(*) from tab_answ where k3=tab_rule.ftid or "
                "k4=tab_rule.ftid or k9=tab_rule.ftid)");
        db.exec("update tab_fgmc set q=(select sum(q) from tab_rule where tab_rule.id=tab_fgmc.id) "
                "where length(id)=6");
        tx.commit();
    }
    QFile::remove(file);
    QFile::rename(temp, file);
}

} // namespace

namespace SyntheticBank {

QString sectionCode(int s) {
    return sectionCodeOf(s);
}

QString pointId(int p) {
    return pointIdOf(p);
}

QString programFolder(int questions) {
    const QString folder = QDir::tempPath() + QStringLiteral("/tarnwick-bench-%1/").arg(questions);
    const QString file = folder + "data/QK730415.db";
    // Built afresh once per run (the benchmarks write answers into it), then shared.
    static QSet<int> built;
    if (!built.contains(questions)) {
        build(file, questions);
        QDir(folder + "userdata").removeRecursively();
        built.insert(questions);
    }
    // The learner's bank the data module copies from the template, beside it.
    LearnerBank::setDataFolder(folder + "userdata/");
    return folder;
}

QString programFolderWithPictures(int questions) {
    const QString folder = programFolder(questions);
    QDir().mkpath(folder + "pic");
    const QDir pics(QStringLiteral(TARNWICK_ASSETS_DIR "/pic"));
    for (const QString& name : pics.entryList({"kvat*.bmp"}, QDir::Files))
        QFile::copy(pics.filePath(name), folder + "pic/" + name);
    return folder;
}

} // namespace SyntheticBank
