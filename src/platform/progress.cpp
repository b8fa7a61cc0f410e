#include "platform/progress.h"

namespace {

Progress::Handler handler;
QString last;
bool onShow = false;

} // namespace

namespace Progress {

void setHandler(Handler h) {
    handler = std::move(h);
}

void begin(const QString& stageText) {
    last = stageText;
    onShow = true;
    if (handler.begin)
        handler.begin(stageText);
}

void stage(const QString& stageText) {
    last = stageText;
    if (handler.stage)
        handler.stage(stageText);
}

void end() {
    onShow = false;
    if (handler.end)
        handler.end();
}

QString lastStage() {
    return last;
}

bool shown() {
    return onShow;
}

} // namespace Progress
