#pragma once

#include <QPixmap>
#include <QString>

// The shell's pictures from the program folder's pic/ folder. A picture that is missing or cannot
// be read is drawn plainly instead, so a damaged installation still shows usable windows.
namespace ShellPictures {

enum class Kind { DialogTitle, DialogBackground, Notice, Warning, Error };

QString fileName(Kind kind); // relative to the program folder
QPixmap load(Kind kind, const QString& appPath);
QPixmap fallback(Kind kind);

} // namespace ShellPictures
