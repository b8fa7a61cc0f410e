// A graded 95-question paper exported and opened by LibreOffice: printed to PDF, its text shows
// the type headings before their questions, the answer section on a page of its own, the
// explanations and knowledge points, no key for a subjective question, and the picture of an
// explanation is still a picture. Runs only where soffice is installed.

#include "exam_bank.h"

#include "exam/exam_session.h"
#include "exam/paper.h"
#include "exam/paper_export.h"
#include "richtext/rtf_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdlib>

namespace {

bool run(const QString& command) {
    return std::system(command.toLocal8Bit().constData()) == 0;
}

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QByteArray explanationWithPicture(const QString& text) {
    QTextDocument doc;
    QImage image(48, 24, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    doc.addResource(QTextDocument::ImageResource, QUrl("mem:p"), image);
    QTextImageFormat picture;
    picture.setName("mem:p");
    QTextCursor c(&doc);
    c.insertText(text);
    c.insertImage(picture);
    return Rtf::write(doc);
}

class PaperExportLibreOffice : public ExamBankTest {
  protected:
    // n questions of a type with 12-character ids, as the bank's own questions have.
    void addBankQuestions(int n, int type, const QString& key) {
        for (int i = 0; i < n; ++i) {
            const QString id = QStringLiteral("410101%1%2").arg(type).arg(5000 + i);
            dm->ADOCn1.exec("insert into tab_answ (A1, A2, A2_1, A10, A13, f1, E3, E4) values "
                            "(:a, :k, 4, '410101', :t, 0, 0, 0)",
                            {{"a", id}, {"k", key}, {"t", type}});
            dm->ADOCn1.exec("insert into tab_exer (A1, A15) values (:a, :t)",
                            {{"a", id}, {"t", Rtf::fromPlainText("题目 " + id)}});
        }
    }
};

TEST_F(PaperExportLibreOffice, GradedPaperPrintsWithItsSectionsPageBreakAndPicture) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice not installed";
    ASSERT_FALSE(QStandardPaths::findExecutable("pdftotext").isEmpty());
    ASSERT_FALSE(QStandardPaths::findExecutable("pdfimages").isEmpty());

    // The delivered kind-1 composition: 60 single choice of 1 point, 35 multiple choice of 2.
    dm->ADOCn1.exec("update tab_tx1 set B2=60, B3=1 where A1=11");
    dm->ADOCn1.exec("update tab_tx1 set B2=35, B3=2 where A1=14");
    addBankQuestions(70, 11, "A");
    addBankQuestions(40, 14, "AB");
    const Paper::Built built = Paper::BuildPaper(*dm, 1, today(), Paper::TimeOfDayRandom());
    ASSERT_EQ(built.questions, 95);
    const QString t = built.table;
    // Only the explanations and points set below.
    dm->ADOCn1.exec("update " + t +
                    " set jx=null, K3=null, K4=null, K5=null, K6=null, K7=null, K8=null, "
                    "K9=null, K10=null, K11=null, K12=null");
    // The last multiple-choice question makes room for a subjective one (explanation and
    // point 4101020001 of the sample bank).
    dm->ADOCn1.exec("delete from " + t + " where A1=(select max(A1) from " + t + " where A13=14)");
    Paper::InsertQuestions(*dm, t, {"410102220001"});
    // Explanations on the first three questions, one with a picture, and a point on the first.
    const QString first = value("select min(A1) from " + t).toString();
    dm->ADOCn1.exec("update " + t + " set jx=:j, K3='4101010001' where A1=:a",
                    {{"j", explanationWithPicture("解析 " + first)}, {"a", first}});
    dm->ADOCn1.exec("update " + t + " set jx=:j where A1 in (select A1 from " + t +
                        " where A13=11 order by A1 limit 2 offset 1)",
                    {{"j", Rtf::fromPlainText("解析 第二三题")}});
    dm->ADOCn1.exec("update " + t + " set jx=:j where A13=22",
                    {{"j", Rtf::fromPlainText("解析 主观题")}});
    ASSERT_EQ(count("select count(*) from " + t + " where jx is not null"), 4);
    // Graded: the single-choice questions answered with their key.
    dm->ADOCn1.exec("update " + t + " set E2_1=A2 where A13=11");
    ExamSession session(*dm);
    session.table = t;
    session.title = built.title;
    session.grade("0:30:00");
    ASSERT_EQ(session.score, 60);

    QTextDocument doc;
    PaperExport::BuildDocument(*dm, t, built.title, 1, &doc);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString odt = PaperExport::WriteOdt(doc, built.title, dir.filePath("out"));
    ASSERT_FALSE(odt.isEmpty());

    // A private profile so a running office or another test does not interfere; a plain fork
    // and exec, so no helper thread stays behind in the test process.
    ASSERT_TRUE(run(QStringLiteral("timeout 180 '%1' '-env:UserInstallation=file://%2' --headless "
                                   "--convert-to pdf --outdir '%3' '%4' >/dev/null 2>&1")
                        .arg(soffice, dir.filePath("profile"), dir.path(), odt)));
    const QString pdf = dir.filePath(QFileInfo(odt).completeBaseName() + ".pdf");
    ASSERT_TRUE(QFileInfo::exists(pdf));
    ASSERT_TRUE(run(QStringLiteral("pdftotext -enc UTF-8 '%1' '%2'").arg(pdf, dir.filePath("t"))));
    ASSERT_TRUE(run(QStringLiteral("pdfimages -list '%1' > '%2'").arg(pdf, dir.filePath("i"))));

    const QStringList pages = readText(dir.filePath("t")).split(QChar('\f'));
    static const QRegularExpression cjkSpacing(
        QStringLiteral("(?<=[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]) +(?=[0-9A-Za-z])|"
                       "(?<=[0-9A-Za-z]) +(?=[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}])"));
    QStringList lines;
    int answerPage = 0; // 1-based
    for (int p = 0; p < pages.size(); ++p) {
        QStringList own;
        for (QString l : pages[p].split('\n')) {
            // The office spaces Chinese apart from digits and letters; the text reads without.
            l.remove(cjkSpacing);
            if (!l.trimmed().isEmpty())
                own << l.trimmed();
        }
        if (!own.isEmpty() && own.first() == "答案：")
            answerPage = p + 1;
        lines << own;
    }
    ASSERT_GT(answerPage, 1) << "no page begins with 答案：";

    // The first line the pattern matches; a test fails when none does.
    const auto lineOf = [&lines](const QString& pattern) {
        const QRegularExpression re(pattern);
        for (int i = 0; i < lines.size(); ++i) {
            if (re.match(lines[i]).hasMatch())
                return i;
        }
        ADD_FAILURE() << "no line " << pattern.toStdString();
        return -1;
    };
    const int heading1 = lineOf("^一、单项选择题\\[共60题，每题1分，总计60分\\]$");
    const int heading2 = lineOf("^二、多项选择题\\[共35题，每题2分，总计70分\\]$");
    const int heading3 = lineOf("^三、案例分析题\\[共0题，每题20分，总计0分\\]$");
    ASSERT_GE(heading1, 0);
    EXPECT_LT(heading1, lineOf("^1、"));
    EXPECT_GT(heading2, lineOf("^60、"));
    EXPECT_LT(heading2, lineOf("^61、"));
    EXPECT_GT(heading3, lineOf("^94、"));
    EXPECT_LT(heading3, lineOf("^95、题目410102220001$"));

    // Every explanation under its caption; keys for all but the subjective question (last).
    int explanations = 0;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] == "试题解析：") {
            ++explanations;
            EXPECT_TRUE(lines[i + 1].startsWith("解析")) << lines[i + 1].toStdString();
        }
    }
    EXPECT_EQ(explanations, 4);
    EXPECT_EQ(lines.filter(QRegularExpression("^试题答案：")).size(), 94);
    const int last = lineOf("^第95题$");
    ASSERT_GT(last, 0);
    EXPECT_TRUE(lines.mid(last).filter("试题答案").isEmpty());
    EXPECT_GT(lineOf("^第二节 内部收益率；$"), last);
    EXPECT_GT(lineOf("^第一节 净现值；$"), lineOf("^第1题$"));
    EXPECT_LT(lineOf("^第一节 净现值；$"), lineOf("^第2题$"));

    // The explanation's picture, in the answer section.
    int pictures = 0;
    for (const QString& row : readText(dir.filePath("i")).split('\n').mid(2)) {
        const QStringList cols = row.simplified().split(' ');
        if (cols.size() > 2 && cols[2] == "image") {
            ++pictures;
            EXPECT_GE(cols[0].toInt(), answerPage) << row.toStdString();
        }
    }
    EXPECT_EQ(pictures, 1);
}

} // namespace
