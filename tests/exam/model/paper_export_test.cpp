// The document of an exported paper, read back paragraph by paragraph: the question section with
// its type headings and case texts, the answer section after the page break with keys,
// explanations and knowledge points, pictures of several fields side by side, and the file the
// export writes.

#include "exam_bank.h"

#include "exam/paper.h"
#include "exam/paper_export.h"
#include "richtext/rtf_codec.h"
#include "store/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString kTable = QStringLiteral("tab_exam7");
const QString kTitle = QStringLiteral("2026年03月16日咨询师·项目决策分析与评价[7]");

// One paper row: id, key, type, explanation (a null QVariant: none) and K3, K4, ...
struct Row {
    QString id;
    QString key;
    int type;
    QVariant jx;
    QStringList points;
};

QByteArray rtf(const QString& text) {
    return Rtf::fromPlainText(text);
}

// A field with a picture of one colour, in a paragraph of its own or in a table cell.
QByteArray pictureField(const QString& text, Qt::GlobalColor colour, bool inTable) {
    QTextDocument doc;
    QImage image(24, 12, QImage::Format_RGB32);
    image.fill(colour);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:p")), image);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("mem:p"));
    QTextCursor c(&doc);
    c.insertText(text);
    c.insertBlock();
    if (inTable) {
        QTextTable* table = c.insertTable(1, 2);
        table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("表"));
        table->cellAt(0, 1).firstCursorPosition().insertImage(picture);
    } else {
        c.insertImage(picture);
    }
    return Rtf::write(doc);
}

class PaperExportTest : public ExamBankTest {
  protected:
    void SetUp() override {
        ExamBankTest::SetUp();
        dm->ADOCn1.exec(Schema::paperTableStatement(kTable));
        dm->ADOCn1.exec("insert into tab_tx1 (A1, B1, B2, B3, time) values (31, '判断题', 3, 1.5, "
                        "1), (120, '综合题', 2, 5, 1)");
        // A point of a chapter the catalogue lacks, with its padded heading.
        dm->ADOCn1.exec("insert into tab_rule (id, ftid, sn, n) values ('999999', '9999990001', "
                        ":s, :n)",
                        {{"s", QStringLiteral("孤立考点      ")}, {"n", rtf("孤立考点正文")}});
    }

    void addRows(const QVector<Row>& rows) {
        for (const Row& r : rows) {
            Params p{{"a", r.id}, {"k", r.key}, {"t", r.type}, {"j", r.jx}};
            for (int k = 0; k < 10; ++k)
                p.insert(QStringLiteral("k%1").arg(k + 3),
                         k < r.points.size() ? QVariant(r.points[k]) : QVariant());
            dm->ADOCn1.exec("insert into " + kTable +
                                " (A1, A2, A13, jx, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12) "
                                "values (:a, :k, :t, :j, :k3, :k4, :k5, :k6, :k7, :k8, :k9, "
                                ":k10, :k11, :k12)",
                            p);
            dm->ADOCn1.exec("insert or ignore into tab_exer (A1, A15) values (:a, :t)",
                            {{"a", r.id}, {"t", rtf("题目 " + r.id)}});
        }
    }

    // Every rule at least once: three ids of a case or the learner's own, seven types of which
    // the sixth and seventh heading get no ordinal, keys of every kind, explanations present,
    // empty and missing, knowledge points with gaps, without K3, without catalogue entry and
    // without a row of their own.
    void addMixedPaper() {
        const QVariant none;
        const QVariant empty = QByteArray("");
        addRows({
            {"410101110001", "B", 11, rtf("解析 410101110001"), {"4101010001", "4101020001"}},
            {"410101110002", "C", 11, none, {"", "4101010001"}},
            {"4101021CASE00001-1", "D", 11, empty, {"9999990001", " ", "4101020002", "4101029999"}},
            {"410101140001", "ACD", 14, none, {}},
            {"41010114U0001", "AB", 14, none, {}},
            {"410102220001", "1", 22, rtf("解析 410102220001"), {}},
            {"410101310001", "A", 31, none, {}},
            {"410101310002", "B", 31, none, {}},
            {"410101310003", "C", 31, none, {}},
            {"410101610001", "A", 61, none, {}},
            {"410101A00001", "A", 120, none, {}},
            {"410101A00002", "B", 120, none, {}},
        });
    }

    QTextDocument* build() {
        PaperExport::BuildDocument(*dm, kTable, kTitle, 1, &doc);
        return &doc;
    }

    QTextDocument doc;
};

TEST(PaperExportOrdinal, FiveOrdinalsThenDashes) {
    const QStringList expected = {"--", "一、", "二、", "三、", "四、", "五、", "--"};
    for (int n = 0; n <= 6; ++n)
        EXPECT_EQ(PaperExport::ChineseOrdinal(n), expected[n]) << n;
    EXPECT_EQ(PaperExport::ChineseOrdinal(-1), "--");
}

TEST_F(PaperExportTest, TypeNamesComeFromTheKindsTypeTable) {
    EXPECT_EQ(PaperExport::TypeName(*dm, 1, 14), "多项选择题");
    EXPECT_EQ(PaperExport::TypeName(*dm, 0, 14), "多项选择题"); // kind 0 is kind 1
    EXPECT_EQ(PaperExport::TypeName(*dm, 4, 70), "不定项选择题");
    EXPECT_EQ(PaperExport::TypeName(*dm, 4, 14), "未知题型");
}

// The document's paragraphs, each ended by "|".
QString paragraphs(const QTextDocument& doc) {
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out += b.text() + QLatin1Char('|');
    return out;
}

TEST_F(PaperExportTest, QuestionSectionHeadsTypesAndPutsCaseTextsFirst) {
    addMixedPaper();
    const QString text = paragraphs(*build());
    // A case text before its question, an empty paragraph for the learner's question; 120 lies
    // outside the remembered codes, so each of its questions is headed.
    const QString questions = kTitle +
                              "|||"
                              "一、单项选择题[共2题，每题1分，总计2分]|"
                              "1、题目 410101110001|2、题目 410101110002|"
                              "案例背景|3、题目 4101021CASE00001-1|"
                              "二、多项选择题[共1题，每题2分，总计2分]|"
                              "4、题目 410101140001||5、题目 41010114U0001|"
                              "三、案例分析题[共0题，每题20分，总计0分]|6、题目 410102220001|"
                              "四、判断题[共3题，每题1.5分，总计4.5分]|"
                              "7、题目 410101310001|8、题目 410101310002|9、题目 410101310003|"
                              "五、未知题型[共0题，每题0分，总计0分]|10、题目 410101610001|"
                              "--综合题[共2题，每题5分，总计10分]|11、题目 410101A00001|"
                              "--综合题[共2题，每题5分，总计10分]|12、题目 410101A00002|"
                              "答案：|";
    EXPECT_EQ(text.left(questions.size()), questions);
}

TEST_F(PaperExportTest, AnswerSectionGivesKeysExplanationsAndPointsByTheirRules) {
    addMixedPaper();
    const QString text = paragraphs(*build());
    // 2: K4 without K3 gives no points. 3: an empty explanation is none; a blank slot is passed
    // over, a point without its row left out, one outside the catalogue named by its heading
    // alone. 6: subjective, no key.
    const QString answers = "答案：|||"
                            "第1题|试题答案：B|试题解析：|解析 410101110001|"
                            "考点：|第一节 净现值；|净现值|第二节 内部收益率；|内部收益率|"
                            "第2题|试题答案：C|"
                            "第3题|试题答案：D|考点：|孤立考点；|孤立考点正文|"
                            "第二节 投资回收期；|投资回收期|"
                            "第4题|试题答案：ACD|第5题|试题答案：AB|"
                            "第6题|试题解析：|解析 410102220001|"
                            "第7题|试题答案：正确|第8题|试题答案：错误|第9题|试题答案：C|"
                            "第10题|第11题|第12题||";
    EXPECT_EQ(text.mid(text.indexOf("答案：")), answers);
}

TEST_F(PaperExportTest, OnlyTheAnswerHeadingBreaksThePage) {
    addMixedPaper();
    build();
    QStringList breaking;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            breaking << b.text();
    }
    EXPECT_EQ(breaking, QStringList{"答案："});
    // The title's centring stays with the title.
    EXPECT_EQ(doc.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_NE(doc.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

TEST_F(PaperExportTest, PicturesOfDifferentFieldsStayApart) {
    // Both fields name their picture rtfimage:0 when read on their own.
    addRows({{"410101110001", "B", 11, pictureField("解析图", Qt::blue, true), {}}});
    dm->ADOCn1.exec("update tab_exer set A15=:t where A1='410101110001'",
                    {{"t", pictureField("题图", Qt::red, false)}});
    build();

    QStringList names;
    QVector<QRgb> colours;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QString name = f.toImageFormat().name();
            names << name;
            const QImage image =
                doc.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
            ASSERT_FALSE(image.isNull()) << name.toStdString();
            colours << image.pixel(0, 0);
        }
    }
    ASSERT_EQ(names.size(), 2);
    EXPECT_NE(names[0], names[1]);
    // The question's picture first, then the explanation's from its table cell.
    EXPECT_EQ(colours, (QVector<QRgb>{QColor(Qt::red).rgb(), QColor(Qt::blue).rgb()}));
    EXPECT_TRUE(doc.toPlainText().contains("表"));
}

TEST_F(PaperExportTest, NamesOtherThanPaperTablesAndMissingPapersThrow) {
    EXPECT_THROW(PaperExport::BuildDocument(*dm, "tab_answ", kTitle, 1, &doc), Paper::BadPaperName);
    EXPECT_THROW(PaperExport::BuildDocument(*dm, "tab_exam99", kTitle, 1, &doc), DbError);
}

TEST(PaperExportFile, TitlesBecomeFileNames) {
    EXPECT_EQ(PaperExport::FileBaseName(kTitle), kTitle);
    EXPECT_EQ(PaperExport::FileBaseName("a/b\\c:d*e?f\"g<h>i|j\tk"), "a_b_c_d_e_f_g_h_i_j_k");
    EXPECT_EQ(PaperExport::FileBaseName(".x"), "_x");
    EXPECT_EQ(PaperExport::FileBaseName("  "), "试卷");
}

TEST(PaperExportFile, WritesOdtReplacingAFileNoWordProcessorHolds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QTextDocument doc;
    doc.setPlainText("答案：");
    const QString folder = dir.filePath("导出试卷");

    const QString first = PaperExport::WriteOdt(doc, "卷/1", folder);
    EXPECT_EQ(first, folder + "/卷_1.odt");
    QFile file(first);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray zip = file.readAll();
    file.close();
    EXPECT_TRUE(zip.startsWith("PK"));
    EXPECT_TRUE(zip.contains("application/vnd.oasis.opendocument.text"));

    // Written again: the same file, replaced.
    EXPECT_EQ(PaperExport::WriteOdt(doc, "卷/1", folder), first);

    // Held open by LibreOffice (its lock file beside it): a new name, the open one untouched.
    QFile lock(folder + "/.~lock.卷_1.odt#");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    const qint64 size = QFileInfo(first).size();
    EXPECT_EQ(PaperExport::WriteOdt(doc, "卷/1", folder), folder + "/卷_1(2).odt");
    EXPECT_EQ(QFileInfo(first).size(), size);

    // A folder that cannot be made: no file.
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(PaperExport::WriteOdt(doc, "x", dir.filePath("file/sub")), QString());
}

} // namespace
