#pragma once

#include "bank_fixture.h"
#include "platform_fakes.h"

#include "store/data_module.h"
#include "store/database.h"

#include <QApplication>
#include <QDate>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace GuiTest {

// Processes events until done() or the time is up; answers done().
bool waitUntil(const std::function<bool()>& done, int ms = 5000);

// Runs step on the first modal window of type W that shows up (polling, since such a window is
// created inside a handler that does not return until it closes).
template <class W> void whenModal(std::function<void(W*)> step) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, step] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        step(w);
    });
    timer->start();
}

} // namespace GuiTest

// The base of every test over a real bank with windows: a temporary program folder with the
// sample bank, the data module open on it (DM1), the clock fixed at today() 10:00, every dialog
// answered by `dialogs`, the music player, document opener and program end replaced by fakes,
// and the shared values the windows read reset. TearDown puts all of it back.
//
// A fixture adds what its windows need in setUpWindows() (called once the bank is open) and
// deletes its windows in tearDownWindows() (called before the bank closes).
class GuiBankTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    virtual void setUpWindows() {}
    virtual void tearDownWindows() {}

    static QDate today() { return QDate(2026, 3, 16); }

    // Copies the program's pictures (assets/pic) into the program folder's pic/, as the windows
    // that draw their buttons from files need them.
    void copyPictures();

    // Runs one statement on the open bank.
    void sql(const QString& statement, const Params& params = {});
    // A query of its own on the bank's connection, opened.
    std::unique_ptr<Dataset> query(const QString& sql);
    // What the file holds, read through a fresh cursor.
    QVariant stored(const QString& sql, const QString& field);

    std::unique_ptr<Fixtures::ProgramFolder> folder;
    std::unique_ptr<Fakes::ScriptedDialogs> dialogs;
    std::unique_ptr<Fakes::EndObserver> end;
    std::unique_ptr<Fakes::MusicPlayerFake> music;
    std::unique_ptr<Fakes::DocumentOpenerFake> documents;
    std::unique_ptr<TDM1> dm;
};
