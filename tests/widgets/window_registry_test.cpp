// Windows opened by name: factories shown modally and destroyed, openers, unknown names.

#include "widgets/window_registry.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class WindowRegistryTest : public testing::Test {
  protected:
    void TearDown() override { WindowRegistry::clear(); }
};

TEST_F(WindowRegistryTest, AFactorysWindowIsShownModallyOverItsOwnerAndDestroyedAfterwards) {
    QWidget owner;
    QPointer<QDialog> made;
    bool modalWhileShown = false;
    WindowRegistry::registerWindow(QStringLiteral("w"), [&](QWidget* o) {
        auto* d = new QDialog(o);
        made = d;
        QTimer::singleShot(0, d, [&, d] {
            modalWhileShown = d->isModal() && d->isVisible() && d->parentWidget() == &owner;
            d->done(7);
        });
        return d;
    });
    EXPECT_TRUE(WindowRegistry::has(QStringLiteral("w")));
    EXPECT_EQ(WindowRegistry::open(QStringLiteral("w"), &owner), 7);
    EXPECT_TRUE(modalWhileShown);
    EXPECT_TRUE(made.isNull()) << "destroyed when it closed";
}

TEST_F(WindowRegistryTest, OpenersGetOwnerAndArgumentAndUnknownNamesOpenNothing) {
    QWidget owner;
    QString seen;
    WindowRegistry::registerOpener(QStringLiteral("points"), [&](QWidget* o, const QString& a) {
        seen = a;
        return o == &owner ? 3 : 0;
    });
    EXPECT_EQ(WindowRegistry::open(QStringLiteral("points"), &owner, QStringLiteral("q1")), 3);
    EXPECT_EQ(seen, QStringLiteral("q1"));

    EXPECT_FALSE(WindowRegistry::has(QStringLiteral("later")));
    EXPECT_EQ(WindowRegistry::open(QStringLiteral("later"), &owner), WindowRegistry::kNotShown);
    WindowRegistry::registerWindow(QStringLiteral("none"), [](QWidget*) { return nullptr; });
    EXPECT_EQ(WindowRegistry::open(QStringLiteral("none"), &owner), WindowRegistry::kNotShown);

    // A name holds one entry: registering a window replaces the opener.
    WindowRegistry::registerWindow(QStringLiteral("points"), [](QWidget*) { return nullptr; });
    EXPECT_EQ(WindowRegistry::open(QStringLiteral("points"), &owner), WindowRegistry::kNotShown);
    WindowRegistry::unregister(QStringLiteral("points"));
    EXPECT_FALSE(WindowRegistry::has(QStringLiteral("points")));
}

} // namespace
