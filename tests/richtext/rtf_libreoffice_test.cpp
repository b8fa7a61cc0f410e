// What the writer produces opens in LibreOffice with its text intact. Runs only where soffice is
// installed.

#include "rtf_codec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

namespace {

TEST(RtfLibreOffice, WrittenDocumentConvertsToSameText) {
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

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile rtf(dir.filePath(QStringLiteral("q.rtf")));
    ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
    rtf.write(Rtf::write(doc));
    rtf.close();

    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // A private profile so a running office or another test does not interfere.
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") +
                          dir.filePath(QStringLiteral("profile")),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                      dir.path(), rtf.fileName()});
    ASSERT_TRUE(p.waitForFinished(180000)) << "soffice did not finish";
    QFile txt(dir.filePath(QStringLiteral("q.txt")));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly)) << p.readAll().toStdString();
    QString text = QString::fromUtf8(txt.readAll());
    text.remove(QChar(0xFEFF));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_TRUE(text.contains(QStringLiteral("单选题：下列各项中，属于流动资产的是（  ）。\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("A.应收账款 {x} \\ €")));
    EXPECT_TRUE(text.contains(QStringLiteral("甲")));
    EXPECT_TRUE(text.contains(QStringLiteral("乙")));
}

} // namespace
