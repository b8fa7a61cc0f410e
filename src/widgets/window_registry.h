#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// Windows open each other by name. Each window library registers its windows at start-up (the
// program's main() calls the libraries' registration functions); a library opens a window of
// another one by its name and never needs that library. A name nothing is registered under opens
// nothing, so a button whose window comes with a later library does nothing until then.
//
//   WindowRegistry::registerWindow("lx", [](QWidget* owner) { return new TFrmkmmc(owner); });
//   WindowRegistry::registerOpener(WindowNames::QuestionPoints, showPointsOfQuestion);
//   WindowRegistry::registerAction("mnks", [] { FrmStart->mnks(1); });
//
// A window entry is a factory: open() creates the window, shows it modally and destroys it when
// it closes. An opener entry opens its window itself (it may decide to show nothing, or answer
// something other than the window's result). An action runs as it is (menu commands only).
namespace WindowRegistry {

// Creates the window; owner is the window that opens it. Null means nothing is shown.
using WindowFactory = std::function<QDialog*(QWidget* owner)>;
// Opens a window over owner with an argument (a question id, a chapter code ...) and answers its
// result.
using Opener = std::function<int(QWidget* owner, const QString& argument)>;
using Action = std::function<void()>;

// open() answers this when nothing is registered under the name or the factory made no window.
constexpr int kNotShown = -1;

void registerWindow(const QString& name, WindowFactory factory);
void registerOpener(const QString& name, Opener opener);
void registerAction(const QString& name, Action action);
void unregister(const QString& name);
void clear();

bool has(const QString& name);
WindowFactory window(const QString& name);
Action action(const QString& name);

// Opens the window registered under name over owner: the opener's answer, the window's result
// (exec()), or kNotShown.
int open(const QString& name, QWidget* owner, const QString& argument = {});

// The window of the menu command that runs now, null between commands.
QDialog* activeWindow();
void setActiveWindow(QDialog* window);

} // namespace WindowRegistry

// The names of the windows that other libraries open.
namespace WindowNames {
// The knowledge points of a question (argument: its id), shown only when it has any.
inline const QString QuestionPoints = QStringLiteral("questionPoints");
// The question editor over the practice window on show (owner) for its question on show. The
// practice's answer timer (the owner's child "Timer1") is off while the editor runs; the editor
// switches it on again when it closes.
inline const QString EditQuestion = QStringLiteral("editQuestion");
// The settings window; ConfigMode is set by the opener.
inline const QString Settings = QStringLiteral("settings");
// Question entry for a chapter (argument: its code); answers the number of questions added.
inline const QString QuestionEntry = QStringLiteral("questionEntry");
} // namespace WindowNames
