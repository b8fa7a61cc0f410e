#pragma once

class QDialog;

namespace Placement {

// A fixed-size dialog with a title bar and a close box only, client area width x height.
void makeFixedDialog(QDialog* dialog, int width, int height);

// Moves a window to the centre of the desktop it is on (the primary screen when it is on none).
void centreOnDesktop(QDialog* dialog);

} // namespace Placement
