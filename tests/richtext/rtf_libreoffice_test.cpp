// What the writer produces opens in LibreOffice with its text, formatting, table and picture
// intact. Runs only where soffice is installed.

#include "richtext/rtf_codec.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Converts dir/q.rtf with LibreOffice by the given filter; returns the converted file's content.
QString convert(const QString& soffice, const QTemporaryDir& dir, const QString& filter,
                const QString& extension) {
    // A private profile so a running office or another test does not interfere. A plain
    // fork and exec: no helper thread stays behind in the test process.
    const QString command =
        QStringLiteral("timeout 180 '%1' '-env:UserInstallation=file://%2' --headless "
                       "--convert-to '%3' --outdir '%4' '%5' >/dev/null 2>&1")
            .arg(soffice, dir.filePath(QStringLiteral("profile")), filter, dir.path(),
                 dir.filePath(QStringLiteral("q.rtf")));
    if (std::system(command.toLocal8Bit().constData()) != 0)
        return {};
    QFile out(dir.filePath(QStringLiteral("q.") + extension));
    if (!out.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(out.readAll());
    text.remove(QChar(0xFEFF));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

TEST(RtfLibreOffice, WrittenDocumentOpensIntact) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice not installed";

    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("单选题：下列各项中，属于"));
    c.insertText(QStringLiteral("流动资产"), bold);
    c.insertText(QStringLiteral("的是（  ）。"), QTextCharFormat());
    c.insertBlock();
    c.insertText(QStringLiteral("A.应收账款 {x} \\ €"));
    c.insertBlock();
    QTextTable* table = c.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("甲"));
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("乙"));
    QImage image(12, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:red")), image);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("mem:red"));
    c.setPosition(table->lastPosition() + 1);
    c.insertImage(picture);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile rtf(dir.filePath(QStringLiteral("q.rtf")));
    ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
    rtf.write(Rtf::write(doc));
    rtf.close();

    const QString text =
        convert(soffice, dir, QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("txt"));
    ASSERT_FALSE(text.isEmpty()) << "soffice produced no text";
    EXPECT_TRUE(text.contains(QStringLiteral("单选题：下列各项中，属于流动资产的是（  ）。\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("A.应收账款 {x} \\ €")));
    EXPECT_TRUE(text.contains(QStringLiteral("甲")));
    EXPECT_TRUE(text.contains(QStringLiteral("乙")));

    const QString html = convert(soffice, dir, QStringLiteral("html:XHTML Writer File:UTF8"),
                                 QStringLiteral("html"));
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight:bold")));
    EXPECT_TRUE(html.contains(QStringLiteral("<table")));
    EXPECT_TRUE(html.contains(QStringLiteral("data:image/png")));
}

} // namespace
