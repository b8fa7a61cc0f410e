// Writing RTF and reading it back: text, character formats, alignment, tables and pictures survive.

#include "richtext/rtf_codec.h"

#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

namespace {

QTextTable* firstTable(const QTextDocument& doc) {
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            return t;
    return nullptr;
}

QString cellText(QTextTable* table, int row, int column) {
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selection().toPlainText();
}

QTextCharFormat formatAt(const QTextDocument& doc, int pos) {
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

struct PlainCase {
    const char* name;
    const char* text;     // UTF-8 input of fromPlainText
    const char* expected; // what reading the RTF back gives
};

class RtfFromPlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(RtfFromPlainText, RoundTrips) {
    const QByteArray rtf = Rtf::fromPlainText(QString::fromUtf8(GetParam().text));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    for (char c : rtf)
        ASSERT_LT(uchar(c), 0x80) << "RTF must be 7-bit";
    EXPECT_EQ(Rtf::toPlainText(rtf).toStdString(), std::string(GetParam().expected));
}

const PlainCase plainCases[] = {
    {"Empty", "", ""},
    {"Ascii", "a", "a"},
    {"Chinese", "会计要素：资产、负债", "会计要素：资产、负债"},
    {"Lines", "line1\nline2", "line1\nline2"},
    {"TrailingNewline", "a\n", "a\n"},
    {"OnlyNewlines", "\n\n", "\n\n"},
    {"CrLfAndCr", "a\r\nb\rc", "a\nb\nc"},
    {"Tab", "tab\there", "tab\there"},
    {"RtfSpecials", "{braces} \\back\\slash", "{braces} \\back\\slash"},
    {"OutsideGbk", "emoji \xF0\x9F\x98\x80 and \xE2\x82\xAC \xC3\xA9",
     "emoji \xF0\x9F\x98\x80 and \xE2\x82\xAC \xC3\xA9"},
    {"ControlWordLookalike", "\\par \\b x", "\\par \\b x"},
};

INSTANTIATE_TEST_SUITE_P(Cases, RtfFromPlainText, ::testing::ValuesIn(plainCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfWrite, ChineseCarriesGbkFallbackBytes) {
    // Readers without \u support still see the GBK text.
    const QByteArray rtf = Rtf::fromPlainText(QStringLiteral("中"));
    EXPECT_TRUE(rtf.contains("\\u20013\\'d6\\'d0")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\uc2"));
    EXPECT_TRUE(rtf.contains("\\fcharset134"));
}

TEST(RtfWrite, CharacterFormatsRoundTrip) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italicRed;
    italicRed.setFontItalic(true);
    italicRed.setForeground(QColor(200, 10, 20));
    QTextCharFormat underlineBig;
    underlineBig.setFontUnderline(true);
    underlineBig.setFontPointSize(15);
    underlineBig.setFontFamilies(QStringList{QStringLiteral("黑体")});
    QTextCharFormat highlighted;
    highlighted.setBackground(QColor(255, 255, 0));
    c.insertText(QStringLiteral("普通"), plain);
    c.insertText(QStringLiteral("粗体"), bold);
    c.insertText(QStringLiteral("斜红"), italicRed);
    c.insertText(QStringLiteral("下划线"), underlineBig);
    c.insertText(QStringLiteral("亮"), highlighted);

    QTextDocument back;
    ASSERT_TRUE(Rtf::read(Rtf::write(doc), &back));
    ASSERT_EQ(back.toPlainText(), doc.toPlainText());
    for (int i = 0; i < doc.characterCount() - 1; ++i) {
        const QTextCharFormat a = formatAt(doc, i);
        const QTextCharFormat b = formatAt(back, i);
        SCOPED_TRACE(i);
        EXPECT_EQ(a.fontWeight() >= QFont::DemiBold, b.fontWeight() >= QFont::DemiBold);
        EXPECT_EQ(a.fontItalic(), b.fontItalic());
        EXPECT_EQ(a.fontUnderline(), b.fontUnderline());
        EXPECT_EQ(a.hasProperty(QTextFormat::ForegroundBrush),
                  b.hasProperty(QTextFormat::ForegroundBrush));
        EXPECT_EQ(a.foreground().color(), b.foreground().color());
        EXPECT_EQ(a.background().color(), b.background().color());
        if (a.hasProperty(QTextFormat::FontPointSize)) {
            EXPECT_DOUBLE_EQ(a.fontPointSize(), b.fontPointSize());
        }
        if (!a.fontFamilies().toStringList().isEmpty()) {
            EXPECT_EQ(a.fontFamilies(), b.fontFamilies());
        }
    }
}

TEST(RtfWrite, AlignmentRoundTrips) {
    QTextDocument doc;
    QTextCursor c(&doc);
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                        Qt::AlignJustify, Qt::Alignment()};
    bool first = true;
    for (Qt::Alignment a : alignments) {
        QTextBlockFormat f;
        if (a)
            f.setAlignment(a);
        if (first)
            c.setBlockFormat(f);
        else
            c.insertBlock(f);
        first = false;
        c.insertText(QStringLiteral("段落%1").arg(int(a)));
    }
    QTextDocument back;
    ASSERT_TRUE(Rtf::read(Rtf::write(doc), &back));
    ASSERT_EQ(back.blockCount(), doc.blockCount());
    for (QTextBlock a = doc.begin(), b = back.begin(); a.isValid(); a = a.next(), b = b.next()) {
        EXPECT_EQ(a.text(), b.text());
        EXPECT_EQ(a.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  b.blockFormat().alignment() & Qt::AlignHorizontal_Mask)
            << a.text().toStdString();
    }
}

TEST(RtfWrite, TableRoundTripsAndIsStable) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("表前"));
    QTextTable* table = c.insertTable(2, 3);
    const QString texts[2][3] = {
        {QStringLiteral("项目"), QStringLiteral("年初"), QStringLiteral("年末")},
        {QStringLiteral("资产"), QStringLiteral("100"), QString()}};
    for (int r = 0; r < 2; ++r)
        for (int col = 0; col < 3; ++col)
            table->cellAt(r, col).firstCursorPosition().insertText(texts[r][col]);
    QTextCursor two = table->cellAt(1, 2).firstCursorPosition();
    two.insertText(QStringLiteral("第一段"));
    two.insertBlock();
    two.insertText(QStringLiteral("第二段"));
    c.setPosition(table->lastPosition() + 1);
    c.insertText(QStringLiteral("表后"));

    const QByteArray rtf = Rtf::write(doc);
    QTextDocument back;
    ASSERT_TRUE(Rtf::read(rtf, &back));
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    QTextTable* t = firstTable(back);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->rows(), 2);
    ASSERT_EQ(t->columns(), 3);
    for (int r = 0; r < 2; ++r)
        for (int col = 0; col < 2; ++col)
            EXPECT_EQ(cellText(t, r, col), texts[r][col]);
    EXPECT_EQ(cellText(t, 1, 2), QStringLiteral("第一段\n第二段"));
    EXPECT_EQ(back.begin().text(), QStringLiteral("表前"));
    EXPECT_EQ(back.lastBlock().text(), QStringLiteral("表后"));
    // Writing what was read gives the same RTF: no paragraphs appear or vanish per round.
    EXPECT_EQ(Rtf::write(back), rtf);
}

TEST(RtfWrite, TableOpeningAndClosingTheDocumentIsStable) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextTable* table = c.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("甲"));
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("乙"));
    const QByteArray rtf = Rtf::write(doc);
    QTextDocument back;
    ASSERT_TRUE(Rtf::read(rtf, &back));
    EXPECT_EQ(back.blockCount(), doc.blockCount());
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    EXPECT_EQ(Rtf::write(back), rtf);
}

TEST(RtfWrite, ImageRoundTrips) {
    QImage image(16, 8, QImage::Format_ARGB32);
    image.fill(QColor(0, 0, 255));
    image.setPixelColor(3, 2, QColor(255, 0, 0));
    QTextDocument doc;
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:pic")), image);
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("图"));
    QTextImageFormat fmt;
    fmt.setName(QStringLiteral("mem:pic"));
    fmt.setWidth(32);
    fmt.setHeight(16);
    c.insertImage(fmt);
    c.insertText(QStringLiteral("后"));

    const QByteArray rtf = Rtf::write(doc);
    EXPECT_TRUE(rtf.contains("\\pngblip"));
    EXPECT_TRUE(rtf.contains("\\picwgoal480"));
    QTextDocument back;
    ASSERT_TRUE(Rtf::read(rtf, &back));
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    const QTextCharFormat f = formatAt(back, 1);
    ASSERT_TRUE(f.isImageFormat());
    EXPECT_DOUBLE_EQ(f.toImageFormat().width(), 32.0);
    EXPECT_DOUBLE_EQ(f.toImageFormat().height(), 16.0);
    const QImage stored =
        back.resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name())).value<QImage>();
    ASSERT_EQ(stored.size(), image.size());
    EXPECT_EQ(stored.pixelColor(3, 2), QColor(255, 0, 0));
    EXPECT_EQ(stored.pixelColor(0, 0), QColor(0, 0, 255));
}

TEST(RtfWrite, ImageWithoutResourceLeavesTextWhole) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("a"));
    QTextImageFormat fmt;
    fmt.setName(QStringLiteral("missing.png"));
    c.insertImage(fmt);
    c.insertText(QStringLiteral("b"));
    const QByteArray rtf = Rtf::write(doc);
    EXPECT_FALSE(rtf.contains("\\pict"));
    EXPECT_EQ(Rtf::toPlainText(rtf), QStringLiteral("ab"));
}

TEST(RtfWrite, EmptyDocument) {
    QTextDocument doc;
    QTextDocument back;
    back.setPlainText(QStringLiteral("old"));
    EXPECT_TRUE(Rtf::read(Rtf::write(doc), &back));
    EXPECT_TRUE(back.isEmpty());
}

TEST(RtfWrite, SamplesSurviveReadWriteRead) {
    for (const char* name : {"word_gbk.rtf", "lo_formatted.rtf"}) {
        SCOPED_TRACE(name);
        QFile file(QStringLiteral(RTF_SAMPLES_DIR "/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QTextDocument first;
        ASSERT_TRUE(Rtf::read(file.readAll(), &first));
        QTextDocument second;
        ASSERT_TRUE(Rtf::read(Rtf::write(first), &second));
        EXPECT_EQ(second.toPlainText(), first.toPlainText());
    }
}

} // namespace
