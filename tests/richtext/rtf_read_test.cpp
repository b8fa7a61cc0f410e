// Reading RTF: code pages, Unicode escapes, destinations, formatting, tables, pictures and the
// samples made by word processors.

#include "richtext/rtf_codec.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

namespace {

QByteArray sample(const char* name) {
    QFile file(QStringLiteral(RTF_SAMPLES_DIR "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// The character format at a character position (the format of the character after pos).
QTextCharFormat formatAt(const QTextDocument& doc, int pos) {
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

int indexOf(const QTextDocument& doc, const QString& text) {
    return int(doc.toPlainText().indexOf(text));
}

QList<QTextTable*> tablesOf(const QTextDocument& doc) {
    QList<QTextTable*> tables;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            tables.append(t);
    return tables;
}

QString cellText(QTextTable* table, int row, int column) {
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selection().toPlainText();
}

QByteArray pngHex(const QImage& image, const char* format = "PNG") {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data.toHex();
}

struct TextCase {
    const char* name;
    const char* rtf;
    const char* text; // UTF-8, as QTextDocument::toPlainText gives it
};

class RtfPlainText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfPlainText, DecodesText) {
    const TextCase& c = GetParam();
    QTextDocument doc;
    EXPECT_TRUE(Rtf::read(QByteArray(c.rtf), &doc));
    EXPECT_EQ(doc.toPlainText().toStdString(), std::string(c.text));
}

const TextCase textCases[] = {
    {"GbkPairsUnderAnsiCpg936",
     R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fcharset134 x;}}\f0 \'d6\'d0\'ce\'c4\par})", "中文"},
    {"Fcharset134FontInWesternDocument",
     R"({\rtf1\ansi{\fonttbl{\f0\fnil\fcharset134 S;}{\f1 A;}}\f0\'d6\'d0\f1 x\par})", "中x"},
    {"Charset0FontDecodesDocumentCodePage",
     R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fcharset0 Times;}}\f0\'d6\'d0})", "中"},
    {"Big5Font", R"({\rtf1\ansi{\fonttbl{\f0\fcharset136 M;}}\f0\'a4\'a4})", "中"},
    {"FontTableWithoutGroups", R"({\rtf1{\fonttbl\f0\fcharset134 S;\f1\fcharset0 A;}\f0\'d6\'d0})",
     "中"},
    {"Windows1252", R"({\rtf1\ansi \'e9\'80})", "é€"},
    {"MacRoman", R"({\rtf1\mac \'8a})", "ä"},
    {"UnicodeSkipsOneFallback", R"({\rtf1\uc1 \u20013?\u25991?})", "中文"},
    {"NegativeUnicode", R"({\rtf1\uc1\u-30644?})", "行"},
    {"Uc2SkipsGbkPair", R"({\rtf1\ansi\ansicpg936\uc2 \u20013\'d6\'d0 end})", "中 end"},
    {"Uc0SkipsNothing", R"({\rtf1\uc0\u20013 x})", "中x"},
    {"UcIsScopedToItsGroup", R"({\rtf1 {\uc2\u20013??}\u25991?x})", "中文x"},
    {"SurrogatePair", R"({\rtf1\uc1\u-10179?\u-8704?})", "\xF0\x9F\x98\x80"},
    {"LoneSurrogateBecomesReplacement", R"({\rtf1\uc1\u-10179?x})", "\xEF\xBF\xBDx"},
    {"EscapedSymbols", R"({\rtf1 a\{b\}c\\d})", "a{b}c\\d"},
    {"TabAndLine", R"({\rtf1 a\tab b\line c})", "a\tb\nc"},
    {"Paragraphs", "{\\rtf1 one\\par two\\par}", "one\ntwo"},
    {"EmptyParagraphsKept", "{\\rtf1 one\\par\\par two\\par}", "one\n\ntwo"},
    {"LineBreaksInSourceAreNotText", "{\\rtf1 on\r\ne\\\r\ntwo}", "one\ntwo"},
    {"IgnorableDestinations", R"({\rtf1{\*\unknown junk}{\*\generator Foo;}a{\*\bkmkstart x}b})",
     "ab"},
    {"InfoStylesheetHeaderSkipped",
     R"({\rtf1{\info{\title T}}{\stylesheet{\s1 Heading;}}{\header H}{\footer F}text})", "text"},
    {"FieldResultKept", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", "link"},
    {"UprTakesUnicodeVersion", R"({\rtf1{\upr{ansi}{\*\ud{uni}}}})", "uni"},
    {"SpecialCharacters", R"({\rtf1 \emdash\bullet\lquote\rquote\ldblquote\rdblquote})", "—•‘’“”"},
    {"TextAfterDocumentIgnored", R"({\rtf1 a}b)", "a"},
    {"TruncatedInput", R"({\rtf1 {\b bold)", "bold"},
    {"ExtraClosingBraces", R"({\rtf1 a}}})", "a"},
    {"PageAndSectionEndParagraphs", R"({\rtf1 a\par\page b\sect})", "a\nb"},
    {"ListTextKept", R"({\rtf1{\pntext 1.\tab}item\par})", "1.\titem"},
    {"MetafileAlternativeSkipped", R"({\rtf1 a{\nonshppict{\pict\wmetafile8 0102}}b})", "ab"},
    {"BinaryDataInSkippedDestination", "{\\rtf1 a{\\*\\objdata \\bin3 }}}}b}", "ab"},
    {"BinaryDataOutsidePictureSkipped", R"({\rtf1 a\bin2 xyb})", "ab"},
    {"UnknownControlWordsIgnored", R"({\rtf1\foo\bar12 a\zzz-5 b})", "ab"},
    {"HiddenTextSkipped", R"({\rtf1 a{\v hidden}b\v c\v0 d})", "abd"},
    {"StrayControlBytesDropped",
     "{\\rtf1 a\x01"
     "b\tc}",
     "ab\tc"},
    {"LeadingWhitespaceAndBom", "\xEF\xBB\xBF  {\\rtf1 ok}", "ok"},
};

INSTANTIATE_TEST_SUITE_P(Cases, RtfPlainText, ::testing::ValuesIn(textCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfRead, NotRtfKeepsPlainText) {
    QTextDocument doc;
    EXPECT_FALSE(Rtf::read("first line\nsecond 行", &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("first line\nsecond 行"));

    // Legacy plain text in the bank's code page.
    EXPECT_FALSE(Rtf::read("\xd6\xd0\xce\xc4", &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("中文"));

    // Binary data is no text: the document stays empty, the old content is gone.
    EXPECT_FALSE(Rtf::read(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), &doc));
    EXPECT_TRUE(doc.isEmpty());

    EXPECT_FALSE(Rtf::read(QByteArray(), &doc));
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_EQ(Rtf::toPlainText("{\\rtf1 x}"), QStringLiteral("x"));
}

TEST(RtfRead, LoadingIsNotAnUndoableEdit) {
    // An editor showing a field must not undo back to an empty document.
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read("{\\rtf1 text\\par more}", &doc));
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_TRUE(doc.isUndoRedoEnabled());
}

TEST(RtfRead, CharacterFormatting) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(R"({\rtf1 p{\b bold}{\i it\i0 x}\ul u\ulnone n\b b\b0 c\strike s\strike0)"
                          R"({\super 2}{\sub 3})",
                          &doc));
    ASSERT_EQ(doc.toPlainText(), QStringLiteral("pbolditxunbcs23"));
    EXPECT_NE(formatAt(doc, 0).fontWeight(), QFont::Bold);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(formatAt(doc, i).fontWeight(), QFont::Bold) << i;
    EXPECT_TRUE(formatAt(doc, 5).fontItalic());
    EXPECT_TRUE(formatAt(doc, 6).fontItalic());
    EXPECT_FALSE(formatAt(doc, 7).fontItalic());
    EXPECT_TRUE(formatAt(doc, 8).fontUnderline());
    EXPECT_FALSE(formatAt(doc, 9).fontUnderline());
    EXPECT_EQ(formatAt(doc, 10).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(doc, 11).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, 12).fontStrikeOut());
    EXPECT_EQ(formatAt(doc, 13).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatAt(doc, 14).verticalAlignment(), QTextCharFormat::AlignSubScript);
}

TEST(RtfRead, FontsSizesAndColours) {
    QTextDocument doc;
    ASSERT_TRUE(
        Rtf::read(R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fcharset134 \'cb\'ce\'cc\'e5;})"
                  R"({\f1 Arial;}}{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
                  R"(\fs21 a\f1\fs32 b\plain c\cf1 r\cf0 n\highlight2 h\highlight0 x\cb1 y})",
                  &doc));
    ASSERT_EQ(doc.toPlainText(), QStringLiteral("abcrnhxy"));
    EXPECT_EQ(formatAt(doc, 0).fontFamilies().toStringList(), QStringList{QStringLiteral("宋体")});
    EXPECT_DOUBLE_EQ(formatAt(doc, 0).fontPointSize(), 10.5);
    EXPECT_EQ(formatAt(doc, 1).fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_DOUBLE_EQ(formatAt(doc, 1).fontPointSize(), 16.0);
    // \plain returns to the default font and size.
    EXPECT_EQ(formatAt(doc, 2).fontFamilies().toStringList(), QStringList{QStringLiteral("宋体")});
    EXPECT_FALSE(formatAt(doc, 2).hasProperty(QTextFormat::FontPointSize));
    EXPECT_EQ(formatAt(doc, 3).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatAt(doc, 4).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatAt(doc, 5).background().color(), QColor(0, 0, 255));
    EXPECT_FALSE(formatAt(doc, 6).hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_EQ(formatAt(doc, 7).background().color(), QColor(255, 0, 0));
}

TEST(RtfRead, ColourIndexOutsideTableIsIgnored) {
    QTextDocument doc;
    ASSERT_TRUE(
        Rtf::read(R"({\rtf1{\colortbl;\red1\green2\blue3;}\cf7 a\cf-3 b\highlight99 c})", &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("abc"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(formatAt(doc, i).hasProperty(QTextFormat::ForegroundBrush));
        EXPECT_FALSE(formatAt(doc, i).hasProperty(QTextFormat::BackgroundBrush));
    }
}

TEST(RtfRead, ParagraphAlignment) {
    QTextDocument doc;
    ASSERT_TRUE(
        Rtf::read(R"({\rtf1\pard\qc c\par\qr r\par\qj j\par\pard plain\par\ql l\par})", &doc));
    ASSERT_EQ(doc.blockCount(), 5);
    // \pard returns to the default, which QTextBlockFormat reports as left.
    const Qt::Alignment expected[] = {Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify,
                                      Qt::AlignLeft, Qt::AlignLeft};
    QTextBlock block = doc.begin();
    for (Qt::Alignment a : expected) {
        EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, a)
            << block.text().toStdString();
        block = block.next();
    }
    EXPECT_FALSE(doc.findBlockByNumber(3).blockFormat().hasProperty(QTextFormat::BlockAlignment));
    EXPECT_TRUE(doc.findBlockByNumber(4).blockFormat().hasProperty(QTextFormat::BlockAlignment));
}

TEST(RtfRead, TableInWordShape) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(R"({\rtf1 before\par)"
                          R"(\trowd\cellx1000\cellx3000\pard\intbl a\cell b1\par b2\cell\row)"
                          R"(\trowd\cellx1000\cellx3000\pard\intbl c\cell d\cell\row)"
                          R"(\pard after\par})",
                          &doc));
    const auto tables = tablesOf(doc);
    ASSERT_EQ(tables.size(), 1);
    QTextTable* t = tables.first();
    ASSERT_EQ(t->rows(), 2);
    ASSERT_EQ(t->columns(), 2);
    EXPECT_EQ(cellText(t, 0, 0), QStringLiteral("a"));
    EXPECT_EQ(cellText(t, 0, 1), QStringLiteral("b1\nb2"));
    EXPECT_EQ(cellText(t, 1, 0), QStringLiteral("c"));
    EXPECT_EQ(cellText(t, 1, 1), QStringLiteral("d"));
    // Widths follow \cellx: 1000 and 2000 twips of 3000.
    const auto widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_NEAR(widths[0].rawValue(), 100.0 / 3, 0.01);
    EXPECT_EQ(doc.begin().text(), QStringLiteral("before"));
    EXPECT_EQ(doc.lastBlock().text(), QStringLiteral("after"));
}

TEST(RtfRead, TableWithRowDefinitionAfterCellsAndRaggedRows) {
    // Later word processors repeat the row definition right before \row; rows may differ in width.
    QTextDocument doc;
    ASSERT_TRUE(
        Rtf::read(R"({\rtf1\pard\intbl x\cell y\cell z\cell{\trowd\cellx1\cellx2\cellx3\row})"
                  R"(\pard\intbl only\cell{\trowd\cellx3\row}\pard end})",
                  &doc));
    const auto tables = tablesOf(doc);
    ASSERT_EQ(tables.size(), 1);
    QTextTable* t = tables.first();
    EXPECT_EQ(t->rows(), 2);
    EXPECT_EQ(t->columns(), 3);
    EXPECT_EQ(cellText(t, 0, 2), QStringLiteral("z"));
    EXPECT_EQ(cellText(t, 1, 0), QStringLiteral("only"));
    EXPECT_EQ(cellText(t, 1, 1), QString());
    EXPECT_EQ(doc.lastBlock().text(), QStringLiteral("end"));
}

TEST(RtfRead, NestedTableTextKeptInOuterCell) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(R"({\rtf1\trowd\cellx5000\pard\intbl\itap2 n1\nestcell n2\nestcell)"
                          R"({\*\nesttableprops\trowd\cellx1\cellx2\nestrow}{\nonesttables\par})"
                          R"(\pard\intbl\itap1 outer\cell\row})",
                          &doc));
    const auto tables = tablesOf(doc);
    ASSERT_EQ(tables.size(), 1);
    EXPECT_TRUE(cellText(tables.first(), 0, 0).contains(QStringLiteral("n1\tn2")));
    EXPECT_TRUE(cellText(tables.first(), 0, 0).contains(QStringLiteral("outer")));
}

struct PictureCase {
    const char* name;
    const char* kind;
    const char* format;
};

class RtfPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(RtfPicture, BecomesImageResource) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    const QByteArray rtf = QByteArray("{\\rtf1 a{\\*\\shppict{\\pict") + GetParam().kind +
                           "\\picw40\\pich20\\picwgoal900\\pichgoal450\r\n" +
                           pngHex(image, GetParam().format) + "}}b}";
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(rtf, &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("a\uFFFCb"));
    const QTextCharFormat fmt = formatAt(doc, 1);
    ASSERT_TRUE(fmt.isImageFormat());
    const QTextImageFormat img = fmt.toImageFormat();
    EXPECT_DOUBLE_EQ(img.width(), 60.0); // 900 twips at 96 dpi
    EXPECT_DOUBLE_EQ(img.height(), 30.0);
    const QImage stored =
        doc.resource(QTextDocument::ImageResource, QUrl(img.name())).value<QImage>();
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(stored.size(), QSize(40, 20));
    EXPECT_EQ(QColor(stored.pixel(5, 5)).green(), QColor(image.pixel(5, 5)).green());
}

INSTANTIATE_TEST_SUITE_P(Kinds, RtfPicture,
                         ::testing::Values(PictureCase{"Png", "\\pngblip", "PNG"},
                                           PictureCase{"Jpeg", "\\jpegblip", "JPEG"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfRead, PicturesThatCannotBeShownAreSkipped) {
    QTextDocument doc;
    // A metafile, broken PNG data and a picture that never ends.
    ASSERT_TRUE(Rtf::read(R"({\rtf1 a{\pict\wmetafile8 0100090000}b{\pict\pngblip 89504e47ffff}c)"
                          R"({\pict\pngblip 89504e470d0a)",
                          &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("abc"));
}

TEST(RtfSamples, WordShapedGbkDocument) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(sample("word_gbk.rtf"), &doc));
    const QString text = doc.toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("单选题：下列各项中，属于流动资产的是（  ）。\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("A.应收账款\tB.固定资产\nC.无形资产")));
    EXPECT_TRUE(text.contains(QStringLiteral("注意: 斜体 高亮")));
    EXPECT_TRUE(text.contains(QStringLiteral("right €行")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("结束")));
    EXPECT_FALSE(text.contains(QStringLiteral("试题"))); // \info
    EXPECT_FALSE(text.contains(QStringLiteral("Msftedit")));

    const int bold = indexOf(doc, QStringLiteral("流动资产"));
    EXPECT_EQ(formatAt(doc, bold).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(doc, bold - 1).fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(formatAt(doc, 0).fontPointSize(), 10.5);

    const int note = indexOf(doc, QStringLiteral("注意"));
    EXPECT_EQ(formatAt(doc, note).fontFamilies().toStringList(),
              QStringList{QStringLiteral("黑体")});
    EXPECT_EQ(formatAt(doc, note).foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(formatAt(doc, note).fontUnderline());
    EXPECT_EQ(doc.findBlock(note).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(formatAt(doc, indexOf(doc, QStringLiteral("高亮"))).background().color(),
              QColor(255, 255, 0));
    EXPECT_EQ(doc.findBlock(indexOf(doc, QStringLiteral("right"))).blockFormat().alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);

    const auto tables = tablesOf(doc);
    ASSERT_EQ(tables.size(), 1);
    EXPECT_EQ(tables.first()->rows(), 2);
    EXPECT_EQ(cellText(tables.first(), 0, 0), QStringLiteral("项目"));
    EXPECT_EQ(cellText(tables.first(), 1, 1), QStringLiteral("1000"));
}

TEST(RtfSamples, LibreOfficeFormattedDocument) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(sample("lo_formatted.rtf"), &doc));
    const QString text = doc.toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("第一章 会计概述\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("重点：会计的基本职能是核算和监督。")));
    EXPECT_TRUE(text.contains(QStringLiteral("最后一段 with English.")));
    EXPECT_FALSE(text.contains(QStringLiteral("Liberation")));

    const int bold = indexOf(doc, QStringLiteral("重点"));
    EXPECT_EQ(formatAt(doc, bold).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, indexOf(doc, QStringLiteral("核算"))).fontItalic());
    EXPECT_TRUE(formatAt(doc, indexOf(doc, QStringLiteral("监督"))).fontUnderline());
    EXPECT_EQ(formatAt(doc, indexOf(doc, QStringLiteral("红色"))).foreground().color(),
              QColor(255, 0, 0));
    EXPECT_EQ(doc.findBlock(indexOf(doc, QStringLiteral("居中"))).blockFormat().alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);

    const auto tables = tablesOf(doc);
    ASSERT_EQ(tables.size(), 1);
    EXPECT_EQ(tables.first()->rows(), 2);
    EXPECT_EQ(tables.first()->columns(), 2);
    EXPECT_EQ(cellText(tables.first(), 0, 1), QStringLiteral("金额"));
    EXPECT_EQ(cellText(tables.first(), 1, 0), QStringLiteral("资产"));

    // One picture, the PNG version (the metafile alternative is skipped).
    const int picture = indexOf(doc, QString(QChar::ObjectReplacementCharacter));
    ASSERT_GE(picture, 0);
    EXPECT_EQ(text.count(QChar::ObjectReplacementCharacter), 1);
    const QTextImageFormat img = formatAt(doc, picture).toImageFormat();
    const QImage stored =
        doc.resource(QTextDocument::ImageResource, QUrl(img.name())).value<QImage>();
    EXPECT_EQ(stored.size(), QSize(40, 30));
}

TEST(RtfSamples, LibreOfficePlainText) {
    QFile txt(QStringLiteral(RTF_SAMPLES_DIR "/lo_plain.txt"));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    const QString expected = QString::fromUtf8(txt.readAll()).trimmed();
    EXPECT_EQ(Rtf::toPlainText(sample("lo_plain.rtf")).trimmed(), expected);
}

} // namespace
