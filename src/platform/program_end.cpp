#include "platform/program_end.h"

#include <QCoreApplication>

namespace ProgramEnd {

namespace {
bool& flag() {
    static bool f = false;
    return f;
}
std::function<void()>& observer() {
    static std::function<void()> o;
    return o;
}
} // namespace

void request() {
    flag() = true;
    if (auto o = observer()) {
        o();
        return;
    }
    // exit() ends every running event loop of the thread; with none running it does nothing,
    // and the entry sees the flag before it starts one.
    if (QCoreApplication::instance())
        QCoreApplication::exit(0);
}

bool requested() {
    return flag();
}

void reset() {
    flag() = false;
}

void setObserver(std::function<void()> o) {
    observer() = std::move(o);
}

} // namespace ProgramEnd
