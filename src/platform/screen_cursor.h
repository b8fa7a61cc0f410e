#pragma once

// The program-wide mouse pointer: one setting, hourglass or normal, whoever set it last. Windows
// set the hourglass while they are built or a long step runs and set it back when done.
namespace ScreenCursor {

void hourglass();
void normal();
bool isHourglass();

} // namespace ScreenCursor
