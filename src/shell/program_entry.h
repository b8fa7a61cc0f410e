#pragma once

#include <QFont>
#include <QString>

// The program's start and end.
// When the learner's bank cannot be opened and a backup of it opens, offers to put the newest such
// backup in its place (the file that failed is kept aside). True when it was restored.
bool RestoreFromBackup();

namespace ProgramEntry {

struct Options {
    QString programFolder; // empty: the folder of the running program
    QString instanceName;  // empty: the per-user name of the single-instance guard
};

// The start of the program up to the event loop: title, single-instance guard, menu player,
// data module, the main form, the progress window and the message dialog, the main form shown.
// False when the program ends instead (another copy runs, no menu player, no question bank, an
// end requested while the main form was made or shown).
bool start(const Options& options = {});

// Destroys the long-lived objects in reverse order and releases the platform services.
void finish();

// The real windows behind ShowDlg and the standard message box.
void installRealDialogs();

// Qt's own texts (file pickers, standard buttons, the edit menus of text fields) in Chinese, from
// the translations installed with Qt. Answers whether they were found; once is enough.
bool installQtTranslation();

// The program's font: the Song typeface stand-in, 14 pixels.
QFont applicationFont();

} // namespace ProgramEntry

// True when the menu movie can be played: the Qt SVG module draws AppPath + "pic/main.svg".
bool FlashInstalled();
