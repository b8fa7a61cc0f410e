#include "gui_bank_test.h"
#include "platform_fakes.h"
#include "richtext/rtf_codec.h"
#include "widgets/db_rich_edit.h"
#include "widgets/rich_edit.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <random>
#include <vector>

#include <gtest/gtest.h>

// Pastes go through the application's clipboard and the editor's own paste(), as the learner's
// Ctrl+V does.

namespace {

const QString kRefusal = QStringLiteral("粘贴的图片太大（超过10MB），请缩小后再粘贴！");

QImage filled(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Random pixels: PNG cannot compress them, so the encoded size is about four bytes a pixel.
QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = random();
    }
    return image;
}

QByteArray encoded(const QImage& image, const char* format = "PNG") {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QString dataUri(const QByteArray& png) {
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

void paste(RichEdit& edit, QMimeData* data) {
    QGuiApplication::clipboard()->setMimeData(data);
    edit.paste();
}

void pasteHtml(RichEdit& edit, const QString& html) {
    auto* data = new QMimeData;
    data->setHtml(html);
    paste(edit, data);
}

void pasteImage(RichEdit& edit, const QImage& image) {
    auto* data = new QMimeData;
    data->setImageData(image);
    paste(edit, data);
}

std::vector<QTextImageFormat> picturesOf(const QTextDocument& doc) {
    std::vector<QTextImageFormat> pictures;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.push_back(it.fragment().charFormat().toImageFormat());
    return pictures;
}

QImage pictureOf(const QTextDocument& doc, const QTextImageFormat& format) {
    return doc.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

QTextTable* firstTable(const QTextDocument& doc) {
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            return table;
    return nullptr;
}

// The first character format of the block holding text.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text);
    QTextCursor at(found);
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

// The editor's text without the characters pictures stand on.
QString textOf(const QTextDocument& doc) {
    return doc.toPlainText().remove(QChar::ObjectReplacementCharacter);
}

} // namespace

TEST(RichPaste, HtmlKeepsTablesFormattingAndEmbeddedPicturesThroughTheCodec) {
    Fakes::ScriptedDialogs dialogs;
    RichEdit edit;
    edit.setPlainText(QStringLiteral("前文"));
    edit.moveCursor(QTextCursor::End);
    pasteHtml(edit, QStringLiteral("<p><b>粗体</b><i>斜体</i><u>下划线</u>"
                                   "<span style=\"color:#ff0000; font-size:20pt\">红字</span></p>"
                                   "<p align=\"center\">居中</p>"
                                   "<table border=\"1\"><tr><td>甲</td><td>乙</td></tr>"
                                   "<tr><td>丙</td><td><img src=\"%1\"></td></tr></table>")
                        .arg(dataUri(encoded(filled(40, 30, Qt::green)))));

    const QTextDocument& doc = *edit.document();
    EXPECT_TRUE(dialogs.requests.isEmpty());
    EXPECT_TRUE(textOf(doc).startsWith(QStringLiteral("前文粗体斜体下划线红字")));
    EXPECT_GE(formatOf(doc, QStringLiteral("粗体")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, QStringLiteral("斜体")).fontItalic());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("下划线")).fontUnderline());
    const QTextCharFormat red = formatOf(doc, QStringLiteral("红字"));
    EXPECT_EQ(red.foreground().color(), QColor(Qt::red));
    EXPECT_EQ(red.fontPointSize(), 20);
    EXPECT_EQ(doc.find(QStringLiteral("居中")).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    QTextTable* table = firstTable(doc);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    const auto pictures = picturesOf(doc);
    ASSERT_EQ(pictures.size(), 1u);
    const QImage picture = pictureOf(doc, pictures[0]);
    EXPECT_EQ(picture.size(), QSize(40, 30));
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(Qt::green));

    // Stored and read back, as the bank keeps it.
    QTextDocument back;
    ASSERT_TRUE(Rtf::read(Rtf::write(doc), &back));
    QTextTable* backTable = firstTable(back);
    ASSERT_NE(backTable, nullptr);
    EXPECT_EQ(backTable->rows(), 2);
    EXPECT_EQ(backTable->columns(), 2);
    const auto backPictures = picturesOf(back);
    ASSERT_EQ(backPictures.size(), 1u);
    EXPECT_EQ(pictureOf(back, backPictures[0]).size(), QSize(40, 30));
    EXPECT_EQ(qRound(backPictures[0].width()), 40);
    EXPECT_EQ(qRound(backPictures[0].height()), 30);
    EXPECT_GE(formatOf(back, QStringLiteral("粗体")).fontWeight(), QFont::Bold);

    // One paste is one undo step.
    edit.undo();
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("前文"));
}

TEST(RichPaste, HtmlPicturesFromThisMachineArriveAndRemoteOnesAreLeftOut) {
    Fakes::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString a = dir.filePath(QStringLiteral("a.png"));
    const QString b = dir.filePath(QStringLiteral("b.jpg"));
    ASSERT_TRUE(filled(8, 6, Qt::red).save(a));
    ASSERT_TRUE(filled(10, 4, Qt::blue).save(b, "JPEG", 100));

    RichEdit edit;
    pasteHtml(edit, QStringLiteral("<p>前<img src=\"https://example.com/x.png\">中"
                                   "<img src=\"%1\">后<img src=\"%2\">"
                                   "<img src=\"http://example.com/y.png\">"
                                   "<img src=\"//cdn.example.com/z.png\">"
                                   "<img src=\"relative.png\">"
                                   "<img src=\"%3\">尾</p>")
                        .arg(QUrl::fromLocalFile(a).toString(), b,
                             QUrl::fromLocalFile(dir.filePath("missing.png")).toString()));

    const QTextDocument& doc = *edit.document();
    EXPECT_TRUE(dialogs.requests.isEmpty());
    EXPECT_EQ(textOf(doc), QStringLiteral("前中后尾"));
    EXPECT_EQ(doc.toPlainText().count(QChar::ObjectReplacementCharacter), 2);
    const auto pictures = picturesOf(doc);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictureOf(doc, pictures[0]).size(), QSize(8, 6));
    EXPECT_EQ(pictureOf(doc, pictures[0]).pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(pictureOf(doc, pictures[1]).size(), QSize(10, 4));
}

TEST(RichPaste, RtfIsPreferredAndBringsItsTablesAndPicturesBesideTheEditorsOwn) {
    // What a word processor would offer: a table with a picture in a cell.
    QTextDocument source;
    {
        QTextCursor c(&source);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.insertText(QStringLiteral("表格"), bold);
        QTextTable* table = c.insertTable(2, 3);
        table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("单元"));
        source.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic")),
                           filled(24, 12, Qt::green));
        table->cellAt(1, 2).firstCursorPosition().insertImage(QStringLiteral("pic"));
    }
    const QByteArray rtf = Rtf::write(source);

    // The editor's own picture is named by the codec as the pasted one is in the scratch
    // document: the two must not clash.
    QTextDocument own;
    own.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("own")),
                    filled(6, 6, Qt::blue));
    QTextCursor(&own).insertImage(QStringLiteral("own"));
    const QByteArray ownRtf = Rtf::write(own);

    for (const char* type : {"text/rtf", "application/rtf", "text/richtext"}) {
        SCOPED_TRACE(type);
        Fakes::ScriptedDialogs dialogs;
        RichEdit edit;
        Rtf::read(ownRtf, edit.document());
        edit.moveCursor(QTextCursor::End);
        auto* data = new QMimeData;
        data->setData(QString::fromLatin1(type), rtf);
        data->setHtml(QStringLiteral("<p>网页版本</p>"));
        data->setText(QStringLiteral("纯文本版本"));
        paste(edit, data);

        const QTextDocument& doc = *edit.document();
        EXPECT_TRUE(dialogs.requests.isEmpty());
        EXPECT_FALSE(doc.toPlainText().contains(QStringLiteral("版本")));
        EXPECT_TRUE(doc.toPlainText().contains(QStringLiteral("单元")));
        EXPECT_GE(formatOf(doc, QStringLiteral("表格")).fontWeight(), QFont::Bold);
        QTextTable* table = firstTable(doc);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->columns(), 3);
        const auto pictures = picturesOf(doc);
        ASSERT_EQ(pictures.size(), 2u);
        EXPECT_NE(pictures[0].name(), pictures[1].name());
        EXPECT_EQ(pictureOf(doc, pictures[0]).pixelColor(1, 1), QColor(Qt::blue));
        EXPECT_EQ(pictureOf(doc, pictures[1]).pixelColor(1, 1), QColor(Qt::green));
        EXPECT_EQ(pictureOf(doc, pictures[1]).size(), QSize(24, 12));
        EXPECT_EQ(table->cellAt(1, 2).firstCursorPosition().block().text(),
                  QString(QChar::ObjectReplacementCharacter));
    }
}

TEST(RichPaste, RtfPictureWithAMetafileAlternativeArrivesOnce) {
    // Word processors write the picture twice: PNG for readers that know it, a metafile for the
    // rest. Only the PNG is kept, and its metafile twin does not count against the limit.
    Fakes::ScriptedDialogs dialogs;
    const QByteArray hex = encoded(filled(30, 20, Qt::red)).toHex();
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Before "
                           "{\\*\\shppict{\\pict{\\*\\blipuid 0123456789abcdef}\\pngblip"
                           "\\picw30\\pich20\\picwgoal450\\pichgoal300\r\n" +
                           hex + "}}{\\nonshppict{\\pict\\wmetafile8\\picw30\\pich20 " +
                           QByteArray(2 * (RichEdit::MaxPastedPictureBytes + 10), '0') +
                           "}} after\\par}";
    RichEdit edit;
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), rtf);
    paste(edit, data);

    EXPECT_TRUE(dialogs.requests.isEmpty());
    EXPECT_EQ(textOf(*edit.document()), QStringLiteral("Before  after"));
    const auto pictures = picturesOf(*edit.document());
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictureOf(*edit.document(), pictures[0]).size(), QSize(30, 20));
}

TEST(RichPaste, APasteWithAnOversizedPictureIsRefusedAsAWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // 30 MB on disk without writing them: the size alone refuses it.
    const QString big = dir.filePath(QStringLiteral("big.png"));
    {
        QFile file(big);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(30 * 1024 * 1024));
    }
    const QString small = dataUri(encoded(filled(4, 4, Qt::red)));
    // A few kilobytes of PNG that would decode to 56 million pixels.
    const QByteArray bomb = [] {
        QImage image(8000, 7000, QImage::Format_Mono);
        image.fill(0);
        return encoded(image);
    }();
    ASSERT_LT(bomb.size(), 1024 * 1024);

    struct Case {
        const char* what;
        std::function<QMimeData*()> make;
    };
    const std::vector<Case> cases = {
        {"HTML with a 30 MB picture file beside a small one",
         [&] {
             auto* data = new QMimeData;
             data->setHtml(QStringLiteral("<p>文字<img src=\"%1\"><img src=\"%2\"></p>")
                               .arg(small, QUrl::fromLocalFile(big).toString()));
             return data;
         }},
        {"HTML with an embedded picture just over the limit",
         [&] {
             auto* data = new QMimeData;
             data->setHtml(
                 QStringLiteral("<p>文字<img src=\"%1\"></p>")
                     .arg(dataUri(QByteArray(RichEdit::MaxPastedPictureBytes + 1024, '\x7f'))));
             return data;
         }},
        {"HTML with a picture of too many pixels",
         [&] {
             auto* data = new QMimeData;
             data->setHtml(QStringLiteral("<p>文字<img src=\"%1\"></p>").arg(dataUri(bomb)));
             return data;
         }},
        {"RTF with a picture over the limit",
         [&] {
             auto* data = new QMimeData;
             data->setData(QStringLiteral("text/rtf"),
                           "{\\rtf1\\ansi text{\\pict\\pngblip " +
                               QByteArray(2 * (RichEdit::MaxPastedPictureBytes + 1024), '0') +
                               "}\\par}");
             return data;
         }},
        {"RTF with a picture of too many pixels",
         [&] {
             auto* data = new QMimeData;
             data->setData(QStringLiteral("text/rtf"),
                           "{\\rtf1\\ansi text{\\pict\\pngblip " + bomb.toHex() + "}\\par}");
             return data;
         }},
        {"a bare picture whose PNG is over the limit",
         [&] {
             auto* data = new QMimeData;
             data->setImageData(noise(2000, 1400));
             return data;
         }},
        {"a bare picture of too many pixels",
         [&] {
             auto* data = new QMimeData;
             QImage image(8000, 7000, QImage::Format_Mono);
             image.fill(1);
             data->setImageData(image);
             return data;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fakes::ScriptedDialogs dialogs;
        RichEdit edit;
        edit.setHtml(QStringLiteral("<p><b>原有</b>内容</p>"));
        edit.moveCursor(QTextCursor::End);
        const QString before = edit.toHtml();
        paste(edit, c.make());
        ASSERT_EQ(dialogs.requests.size(), 1);
        EXPECT_EQ(dialogs.last().kind, Dialogs::Kind::MessageBox);
        EXPECT_EQ(dialogs.last().title, QStringLiteral("提示"));
        EXPECT_EQ(dialogs.last().text, kRefusal);
        EXPECT_EQ(dialogs.last().icon, Dialogs::Icon::Information);
        EXPECT_EQ(edit.toHtml(), before);
        EXPECT_FALSE(edit.document()->isUndoAvailable());
    }

    // A large picture under the limit still goes in.
    Fakes::ScriptedDialogs dialogs;
    RichEdit edit;
    pasteImage(edit, noise(800, 700));
    EXPECT_TRUE(dialogs.requests.isEmpty());
    EXPECT_EQ(picturesOf(*edit.document()).size(), 1u);
}

TEST(RichPaste, EveryPastedPictureHasANameOfItsOwn) {
    Fakes::ScriptedDialogs dialogs;
    RichEdit edit;
    const QString html =
        QStringLiteral("<p><img src=\"%1\"></p>").arg(dataUri(encoded(filled(5, 5, Qt::yellow))));
    pasteImage(edit, filled(3, 3, Qt::red));
    pasteImage(edit, filled(3, 3, Qt::green));
    pasteHtml(edit, html);
    pasteHtml(edit, html);

    const QTextDocument& doc = *edit.document();
    const auto pictures = picturesOf(doc);
    ASSERT_EQ(pictures.size(), 4u);
    QSet<QString> names;
    for (const auto& picture : pictures)
        names.insert(picture.name());
    EXPECT_EQ(names.size(), 4);
    EXPECT_EQ(pictureOf(doc, pictures[0]).pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(pictureOf(doc, pictures[1]).pixelColor(1, 1), QColor(Qt::green));
    EXPECT_EQ(pictureOf(doc, pictures[2]).pixelColor(1, 1), QColor(Qt::yellow));
    EXPECT_EQ(pictureOf(doc, pictures[3]).pixelColor(1, 1), QColor(Qt::yellow));
}

TEST(RichPaste, CopyingBetweenEditorsKeepsPictures) {
    Fakes::ScriptedDialogs dialogs;
    RichEdit from;
    from.setPlainText(QStringLiteral("图前"));
    from.moveCursor(QTextCursor::End);
    pasteImage(from, filled(7, 5, Qt::magenta));
    from.selectAll();
    from.copy();
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));

    RichEdit to;
    to.paste();
    const auto pictures = picturesOf(*to.document());
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictureOf(*to.document(), pictures[0]).size(), QSize(7, 5));
    EXPECT_EQ(pictureOf(*to.document(), pictures[0]).pixelColor(1, 1), QColor(Qt::magenta));
    EXPECT_EQ(textOf(*to.document()), QStringLiteral("图前"));
}

TEST(RichPaste, PlainTextAndEditorsWithoutRichText) {
    Fakes::ScriptedDialogs dialogs;
    RichEdit edit;
    auto* text = new QMimeData;
    text->setText(QStringLiteral("只有文字"));
    paste(edit, text);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("只有文字"));

    RichEdit plain;
    plain.setAcceptRichText(false);
    auto* rich = new QMimeData;
    rich->setData(QStringLiteral("text/rtf"), Rtf::fromPlainText(QStringLiteral("RTF")));
    rich->setHtml(QStringLiteral("<p><b>网页</b></p>"));
    rich->setText(QStringLiteral("文字"));
    paste(plain, rich);
    EXPECT_EQ(plain.toPlainText(), QStringLiteral("文字"));
    EXPECT_TRUE(picturesOf(*plain.document()).empty());
}

using RichPasteBankTest = GuiBankTest;

TEST_F(RichPasteBankTest, FieldEditorStoresPastedTablesAndPictures) {
    auto ds = query(QStringLiteral("select * from tab_exer where A1='410101110002'"));
    DbRichEdit edit;
    edit.bind(ds.get(), QStringLiteral("A15"));
    edit.moveCursor(QTextCursor::End);
    pasteHtml(edit, QStringLiteral("<table><tr><td>甲</td><td><img src=\"%1\"></td></tr></table>")
                        .arg(dataUri(encoded(filled(16, 9, Qt::cyan)))));
    EXPECT_TRUE(edit.isModifiedSinceLoad());
    ds->edit();
    edit.writeBack();
    ds->post();

    QTextDocument doc;
    ASSERT_TRUE(
        Rtf::read(stored(QStringLiteral("select A15 from tab_exer where A1='410101110002'"), "A15")
                      .toByteArray(),
                  &doc));
    EXPECT_TRUE(doc.toPlainText().startsWith(QStringLiteral("题目 410101110002")));
    ASSERT_NE(firstTable(doc), nullptr);
    const auto pictures = picturesOf(doc);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictureOf(doc, pictures[0]).size(), QSize(16, 9));
    EXPECT_EQ(pictureOf(doc, pictures[0]).pixelColor(1, 1), QColor(Qt::cyan));
}
