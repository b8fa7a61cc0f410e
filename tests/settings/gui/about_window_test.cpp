// The about window: the version of the build, closing, and its two pages opened through the
// desktop or, where the desktop has no program for them, in the program's own viewer.

#include "settings/about_window.h"

#include "gui_bank_test.h"

#include "widgets/document_viewer.h"
#include "widgets/effect_button.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

class AboutWindowTest : public GuiBankTest {
  protected:
    void writePage(const QString& name, const QByteArray& html) {
        QDir().mkpath(folder->path() + QStringLiteral("htm"));
        QFile f(folder->path() + QStringLiteral("htm/") + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(html);
    }
};

TEST_F(AboutWindowTest, ShowsTheBuildsVersionAndCloses) {
    TFrmAbout window;
    window.show();
    EXPECT_EQ(window.size(), QSize(395, 266));
    EXPECT_EQ(TFrmAbout::Version(), QStringLiteral(TARNWICK_VERSION));
    EXPECT_TRUE(window.Label3->text().contains(QStringLiteral(TARNWICK_VERSION)));
    EXPECT_FALSE(window.Label2->text().isEmpty());
    EXPECT_EQ(window.epEfTrBtn1->text(), QStringLiteral("关 闭"));
    window.epEfTrBtn1->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(AboutWindowTest, ItsPagesOpenOnTheDesktopOrInTheProgramsViewer) {
    writePage(QStringLiteral("出版社简介.htm"),
              "<html><head><meta charset=\"utf-8\"><title>出版社简介</title></head><body>"
              "<p>出版社</p><a href=\"产品目录.htm#book\">产品目录</a></body></html>");
    writePage(QStringLiteral("产品目录.htm"),
              "<html><head><meta charset=\"utf-8\"><title>产品目录</title></head><body>"
              "<h2 id=\"book\">图书</h2><img src=\"../pic/logo.png\"></body></html>");
    copyPictures();
    TFrmAbout window;
    window.show();
    window.epEfTrBtn2->click();
    EXPECT_EQ(documents->opened,
              QStringList{folder->path() + QStringLiteral("htm/出版社简介.htm")});

    documents->opens = false;
    QString firstTitle, secondTitle, secondText;
    bool pictureLoaded = false;
    bool backAfterLink = false;
    GuiTest::whenModal<DocumentViewer>([&](DocumentViewer* v) {
        firstTitle = v->windowTitle();
        // A link to another page of the program stays in the viewer, pictures and all.
        v->FollowLink(QUrl(QStringLiteral("产品目录.htm#book")));
        secondTitle = v->windowTitle();
        secondText = v->Browser->toPlainText();
        pictureLoaded =
            !v->Browser->document()
                 ->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("../pic/logo.png")))
                 .isNull();
        backAfterLink = v->BackButton->isEnabled();
        v->close();
    });
    window.epEfTrBtn2->click();
    EXPECT_EQ(firstTitle, QStringLiteral("出版社简介"));
    EXPECT_EQ(secondTitle, QStringLiteral("产品目录"));
    EXPECT_TRUE(secondText.contains(QStringLiteral("图书")));
    EXPECT_TRUE(pictureLoaded);
    EXPECT_TRUE(backAfterLink);
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

} // namespace
