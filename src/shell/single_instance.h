#pragma once

#include <QString>

// The single-instance guard. The first copy of the program listens on a local socket named per
// user; a later copy finds it there, asks it to come forward and ends.
//
// Answers yes when another copy was found: that copy has been asked to bring its active window
// forward (restored when minimised) and the end of this copy has been requested. Answers no when
// this copy is the first; it then listens for later copies until ReleaseInstanceGuard().
bool CheckPrevInstance(const QString& serverName = QString());

// The per-user name of the guard's socket.
QString InstanceServerName();

// Stops listening (the program's end, or a test).
void ReleaseInstanceGuard();

// Brings this copy forward: the window that last had the focus (or the main form) is restored
// when minimised, raised and activated.
void BringProgramForward();
