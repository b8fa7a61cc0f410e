// The word processor as the exam window starts it: LibreOffice found on the search path gets the
// file as the template of a new document; without it the desktop's program for the file is asked,
// and where there is none either the answer is no.

#include "platform/word_processor.h"

#include "platform_fakes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// Puts folder first on the search path (or makes it the only folder) for the test's lifetime.
class SearchPath {
  public:
    explicit SearchPath(const QString& folder, bool only = false) : previous_(qgetenv("PATH")) {
        const QByteArray rest = only || previous_.isEmpty() ? QByteArray() : ":" + previous_;
        qputenv("PATH", folder.toLocal8Bit() + rest);
    }
    ~SearchPath() { qputenv("PATH", previous_); }
    SearchPath(const SearchPath&) = delete;
    SearchPath& operator=(const SearchPath&) = delete;

  private:
    QByteArray previous_;
};

QString readWhenWritten(const QString& file) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray text = f.readAll();
            if (text.endsWith('\n'))
                return QString::fromUtf8(text);
        }
        QThread::msleep(20);
    }
    return {};
}

} // namespace

TEST(DesktopWordProcessor, LibreOfficeOpensTheFileAsANewDocument) {
    QTemporaryDir bin;
    const QString args = bin.filePath(QStringLiteral("args"));
    QFile office(bin.filePath(QStringLiteral("soffice")));
    ASSERT_TRUE(office.open(QIODevice::WriteOnly));
    office.write(QStringLiteral("#!/bin/sh\necho \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                     .arg(args)
                     .toUtf8());
    office.close();
    office.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SearchPath path(bin.path());
    Fakes::DocumentOpenerFake desktop;

    ASSERT_EQ(DesktopWordProcessor::findOffice(), office.fileName());
    const QString document = bin.filePath(QStringLiteral("2026年03月16日试卷[1].odt"));
    EXPECT_TRUE(DesktopWordProcessor().openAsNewDocument(document));
    EXPECT_EQ(readWhenWritten(args), QStringLiteral("--writer -n ") + document + QLatin1Char('\n'));
    EXPECT_TRUE(desktop.opened.isEmpty());
}

TEST(DesktopWordProcessor, WithoutLibreOfficeTheDesktopsProgramIsAsked) {
    QTemporaryDir empty;
    SearchPath path(empty.path(), true);
    Fakes::DocumentOpenerFake desktop;
    EXPECT_TRUE(DesktopWordProcessor::findOffice().isEmpty());
    EXPECT_TRUE(DesktopWordProcessor().openAsNewDocument(QStringLiteral("/tmp/a.odt")));
    EXPECT_EQ(desktop.opened, QStringList{QStringLiteral("/tmp/a.odt")});
    desktop.opens = false;
    EXPECT_FALSE(DesktopWordProcessor().openAsNewDocument(QStringLiteral("/tmp/a.odt")));
}
