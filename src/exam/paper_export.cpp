#include "exam/paper_export.h"

#include "exam/paper.h"
#include "richtext/rtf_codec.h"
#include "store/data_module.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextDocumentWriter>
#include <QUrl>
#include <QVector>

namespace PaperExport {

namespace {

constexpr int kPointSlots = 10; // K3 .. K12

struct PaperRow {
    QString id;
    QString key;
    int type = 0;
    QByteArray explanation;
    QString points[kPointSlots];
};

struct TypeRow {
    QString name;
    double count = 0;  // B2
    double points = 0; // B3
};

// Numbers of the headings as a person writes them: 60, 1.5, never "60.0".
QString numberText(double v) {
    return QString::number(v, 'f', QLocale::FloatingPointShortest);
}

QString typeTable(int kind) {
    return QStringLiteral("tab_tx%1").arg(kind <= 0 ? 1 : kind);
}

// Trailing blanks of a stored heading are padding, not text.
QString rightTrimmed(QString text) {
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

QVector<PaperRow> readPaper(Database& db, const QString& table) {
    QString sql = QStringLiteral("select A1, A2, A13, jx");
    for (int k = 0; k < kPointSlots; ++k)
        sql += QStringLiteral(", K%1").arg(k + 3);
    sql +=
        QStringLiteral(" from ") + Paper::CheckedName(table) + QStringLiteral(" order by A13, A1");
    Statement st = db.cached(sql);
    QVector<PaperRow> rows;
    while (st.step()) {
        PaperRow r;
        r.id = st.value(0).toString();
        r.key = st.value(1).toString();
        r.type = st.value(2).toInt();
        r.explanation = st.value(3).toByteArray();
        for (int k = 0; k < kPointSlots; ++k)
            r.points[k] = st.value(4 + k).toString().trimmed();
        rows << r;
    }
    return rows;
}

// Writes one document: the cursor always stands at the end, in a paragraph of its own format.
class Writer {
  public:
    Writer(TDM1& dm, int kind, QTextDocument* doc)
        : dm_(dm), db_(dm.ADOCn1), kind_(kind), doc_(doc) {
        doc_->clear();
        cursor_ = QTextCursor(doc_);
    }

    void write(const QString& text, const QTextCharFormat& format = QTextCharFormat()) {
        cursor_.insertText(text, format);
    }
    // A new paragraph that takes nothing over from the one it ends.
    void endParagraph() { cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat()); }
    void endParagraphs(int n) {
        for (int i = 0; i < n; ++i)
            endParagraph();
    }
    void setParagraph(const QTextBlockFormat& format) { cursor_.setBlockFormat(format); }

    // Inserts a rich-text field with its formatting; an empty field inserts nothing.
    void paste(const QByteArray& rtf) {
        if (rtf.isEmpty())
            return;
        QTextDocument field;
        Rtf::read(rtf, &field);
        if (field.isEmpty())
            return;
        adoptPictures(field);
        cursor_.insertFragment(QTextDocumentFragment(&field));
    }

    const TypeRow& type(int code) {
        auto it = types_.constFind(code);
        if (it != types_.constEnd())
            return *it;
        TypeRow row;
        row.name = TypeName(dm_, kind_, code);
        Statement st = db_.cached(QStringLiteral("select B2, B3 from ") + typeTable(kind_) +
                                  QStringLiteral(" where A1=:A1"));
        st.bind(QStringLiteral("A1"), code);
        if (st.step()) {
            row.count = st.value(0).toDouble();
            row.points = st.value(1).toDouble();
        }
        return *types_.insert(code, row);
    }

    QByteArray blob(const QString& sql, const QString& id) {
        Statement st = db_.cached(sql);
        st.bind(QStringLiteral("id"), id);
        return st.step() ? st.value(0).toByteArray() : QByteArray();
    }
    QString text(const QString& sql, const QString& id) {
        Statement st = db_.cached(sql);
        st.bind(QStringLiteral("id"), id);
        return st.step() ? st.value(0).toString() : QString();
    }

    Database& db() { return db_; }

  private:
    // The codec names a field's pictures "rtfimage:0", "rtfimage:1", ... in every field anew:
    // each gets a name unique in the export document, under which its image is added to it.
    void adoptPictures(QTextDocument& field) {
        struct Picture {
            int position;
            int length;
            QTextImageFormat format;
        };
        QVector<Picture> pictures;
        for (QTextBlock b = field.begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (f.isValid() && f.charFormat().isImageFormat())
                    pictures.push_back({f.position(), f.length(), f.charFormat().toImageFormat()});
            }
        }
        QHash<QString, QString> renamed;
        for (Picture& p : pictures) {
            const QString old = p.format.name();
            QString name = renamed.value(old);
            if (name.isEmpty()) {
                name = QStringLiteral("exportimage:%1").arg(nextPicture_++);
                renamed.insert(old, name);
                doc_->addResource(QTextDocument::ImageResource, QUrl(name),
                                  field.resource(QTextDocument::ImageResource, QUrl(old)));
            }
            p.format.setName(name);
            QTextCursor c(&field);
            c.setPosition(p.position);
            c.setPosition(p.position + p.length, QTextCursor::KeepAnchor);
            c.setCharFormat(p.format);
        }
    }

    TDM1& dm_;
    Database& db_;
    int kind_;
    QTextDocument* doc_;
    QTextCursor cursor_;
    QHash<int, TypeRow> types_;
    int nextPicture_ = 0;
};

} // namespace

QString ChineseOrdinal(int n) {
    static const char* const ordinals[] = {"一、", "二、", "三、", "四、", "五、"};
    if (n < 1 || n > 5)
        return QStringLiteral("--");
    return QString::fromUtf8(ordinals[n - 1]);
}

QString TypeName(TDM1& dm, int kind, int typeCode) {
    const QVariant name = dm.ADOCn1.scalar(QStringLiteral("select B1 from ") + typeTable(kind) +
                                               QStringLiteral(" where A1=:A1"),
                                           {{QStringLiteral("A1"), typeCode}});
    return name.isValid() ? name.toString() : QStringLiteral("未知题型");
}

void BuildDocument(TDM1& dm, const QString& table, const QString& title, int kind,
                   QTextDocument* doc) {
    const QVector<PaperRow> rows = readPaper(dm.ADOCn1, table);
    Writer w(dm, kind, doc);

    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat titleFormat = bold;
    titleFormat.setFontPointSize(16);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);

    // The title, ended by three paragraph marks (two empty lines follow it).
    w.setParagraph(centred);
    w.write(title, titleFormat);
    w.endParagraphs(3);

    // The questions, each type under its heading when it first appears. Only codes 8 .. 103 are
    // remembered as headed: a type outside that range heads every one of its questions.
    QSet<int> headed;
    int headings = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const PaperRow& r = rows[i];
        if (!headed.contains(r.type)) {
            if (r.type >= 8 && r.type <= 103)
                headed.insert(r.type);
            const TypeRow& t = w.type(r.type);
            w.write(ChineseOrdinal(++headings) + t.name + QStringLiteral("[共") +
                        numberText(t.count) + QStringLiteral("题，每题") + numberText(t.points) +
                        QStringLiteral("分，总计") + numberText(t.count * t.points) +
                        QStringLiteral("分]"),
                    bold);
            w.endParagraph();
        }
        // Case questions and the learner's own have ids other than 12 characters long: their
        // case text (the first 16 characters of the id name it) comes first, an empty paragraph
        // when there is none.
        if (r.id.size() != 12) {
            w.paste(
                w.blob(QStringLiteral("select A15 from tab_title where A1=:id"), r.id.left(16)));
            w.endParagraph();
        }
        w.write(QString::number(i + 1) + QStringLiteral("、"));
        w.paste(w.blob(QStringLiteral("select A15 from tab_exer where A1=:id"), r.id));
        w.endParagraph();
    }

    // The answer section begins a page, its heading ended like the title.
    QTextBlockFormat pageBreak;
    pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    w.setParagraph(pageBreak);
    w.write(QStringLiteral("答案："), bold);
    w.endParagraphs(3);

    for (int i = 0; i < rows.size(); ++i) {
        const PaperRow& r = rows[i];
        w.write(QStringLiteral("第") + QString::number(i + 1) + QStringLiteral("题"), bold);
        w.endParagraph();

        if (r.type == 11 || r.type == 14 || r.type == 31) {
            QString key = r.key;
            if (r.type == 31) {
                if (key.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0)
                    key = QStringLiteral("正确");
                else if (key.compare(QLatin1String("B"), Qt::CaseInsensitive) == 0)
                    key = QStringLiteral("错误");
            }
            w.write(QStringLiteral("试题答案：") + key);
            w.endParagraph();
        }

        if (!r.explanation.isEmpty()) {
            w.write(QStringLiteral("试题解析："));
            w.endParagraph();
            w.paste(r.explanation);
            w.endParagraph();
        }

        if (!r.points[0].isEmpty()) {
            w.write(QStringLiteral("考点："));
            w.endParagraph();
            for (const QString& point : r.points) {
                if (point.isEmpty())
                    continue;
                Statement st =
                    w.db().cached(QStringLiteral("select sn, n from tab_rule where ftid=:id"));
                st.bind(QStringLiteral("id"), point);
                if (!st.step())
                    continue; // a point the bank no longer has: nothing to name it by
                const QString heading = rightTrimmed(st.value(0).toString());
                const QByteArray text = st.value(1).toByteArray();
                st.reset();
                const QString chapter =
                    w.text(QStringLiteral("select n from tab_fgmc where id=:id"), point.left(6));
                w.write((chapter.isEmpty() ? QString() : chapter + QLatin1Char(' ')) + heading +
                        QStringLiteral("；"));
                w.endParagraph();
                w.paste(text);
                w.endParagraph();
            }
        }
    }
}

QString OutputFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/导出试卷");
}

QString FileBaseName(const QString& title) {
    QString name;
    for (const QChar c : title.trimmed()) {
        const bool forbidden =
            c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c) || c == QChar(0x7f);
        name += forbidden ? QChar(QLatin1Char('_')) : c;
    }
    // A name of dots only is no file of its own, and a leading dot hides the file.
    while (name.startsWith(QLatin1Char('.')))
        name.replace(0, 1, QLatin1Char('_'));
    return name.isEmpty() ? QStringLiteral("试卷") : name;
}

namespace {

// LibreOffice marks a document it holds open with a lock file beside it.
bool heldOpen(const QFileInfo& file) {
    return QFileInfo::exists(file.absolutePath() + QStringLiteral("/.~lock.") + file.fileName() +
                             QLatin1Char('#'));
}

} // namespace

QString WriteOdt(const QTextDocument& doc, const QString& title, const QString& folder) {
    if (!QDir().mkpath(folder))
        return {};
    const QString base = QDir(folder).filePath(FileBaseName(title));
    QString path;
    for (int n = 1; n < 1000; ++n) {
        const QString candidate =
            base + (n == 1 ? QString() : QStringLiteral("(%1)").arg(n)) + QStringLiteral(".odt");
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink()) {
            path = candidate;
            break;
        }
        if (info.isFile() && !heldOpen(info) && QFile::remove(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.isEmpty())
        return {};
    QTextDocumentWriter writer(path, QByteArrayLiteral("odf"));
    if (!writer.write(&doc)) {
        QFile::remove(path);
        return {};
    }
    return path;
}

} // namespace PaperExport
