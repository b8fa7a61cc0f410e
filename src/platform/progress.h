#pragma once

#include <QString>

#include <functional>

// The progress window as the window libraries reach it: the shell installs its window here when
// it creates it. Without one installed (before start-up, in tests) the calls only record the
// stage text, so a test can read which step a long task has reached.
namespace Progress {

struct Handler {
    std::function<void(const QString&)> begin; // show with a stage text, painted at once
    std::function<void(const QString&)> stage; // a new stage text, painted at once
    std::function<void()> end;                 // hide
};
void setHandler(Handler handler);

void begin(const QString& stageText);
void stage(const QString& stageText);
void end();

// The last stage text, and whether the window is meant to be on show.
QString lastStage();
bool shown();

} // namespace Progress
