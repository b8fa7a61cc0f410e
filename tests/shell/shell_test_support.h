#pragma once

#include "gui_bank_test.h"

#include <QString>

namespace ShellTest {

using GuiTest::waitUntil;

// The small menu movie of the tests: buttons cmd-lx, cmd-quit (inside a moved group), cmd-lx2
// and cmd-about (overlapping, about on top) on a 400 x 300 view box.
QString testMovie();

// The shared bank fixture with the test movie as pic/main.svg; the shell's windows are deleted
// when the test ends.
class ShellFixture : public GuiBankTest {
  protected:
    void setUpWindows() override;
    void tearDownWindows() override;

    // Today's log row with the given answers and study time.
    void logToday(int answers, const QString& studyTime);
};

} // namespace ShellTest
