#pragma once

#include <functional>

// "The program ends": every end of the program is requested here. The request is remembered, so
// an end asked for before the event loop runs is seen by the program entry, and the running event
// loops (a modal window's included) are told to stop. A test installs an observer instead and
// sees the request without the loops being stopped.
namespace ProgramEnd {

void request();
bool requested();

// Tests: forget an earlier request; observe requests instead of stopping the event loops.
void reset();
void setObserver(std::function<void()> observer);

} // namespace ProgramEnd
