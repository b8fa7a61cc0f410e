#pragma once

#include "bank_fixture.h"
#include "platform_fakes.h"

#include <QString>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace ShellTest {

// The small menu movie of the tests: buttons cmd-lx, cmd-quit (inside a moved group), cmd-lx2
// and cmd-about (overlapping, about on top) on a 400 x 300 view box.
QString testMovie();

// Processes events until done() or the time is up; answers done().
bool waitUntil(const std::function<bool()>& done, int ms = 3000);

// A program folder with the sample bank and the test movie as pic/main.svg, the data module
// open on it, the clock fixed, the platform seams replaced by fakes and the shared values reset.
class ShellFixture : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs one statement on the open bank.
    void sql(const QString& statement, const QVariantMap& params = {});
    // Today's log row with the given answers and study time.
    void logToday(int answers, const QString& studyTime);

    static QDate today() { return QDate(2026, 3, 16); }

    std::unique_ptr<Fixtures::ProgramFolder> folder;
    std::unique_ptr<Fakes::ScriptedDialogs> dialogs;
    std::unique_ptr<Fakes::EndObserver> end;
    std::unique_ptr<Fakes::MusicPlayerFake> music;
    std::unique_ptr<Fakes::DocumentOpenerFake> documents;
};

} // namespace ShellTest
