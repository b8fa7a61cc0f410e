#pragma once

#include <QPointer>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

// The windows and actions behind the menu's commands. Each window library registers its own at
// start-up (the program entry calls the libraries' registration functions); a command of the
// menu whose window or action is not registered does nothing.
//
//   MenuCommands::registerWindow("lx", [](QWidget* owner) { return new TFrmkmmc(owner); });
//   MenuCommands::registerAction("mnks", [] { FrmStart->mnks(1); });
//
// The dispatcher creates a registered window when its command arrives, shows it modally and
// destroys it when it closes. An action runs as it is; for "mnks".."mnks5" the dispatcher sets
// PaperKind to the exam kind after it.
namespace MenuCommands {

// Creates the command's window; owner is the main form. Null means nothing is shown.
using WindowFactory = std::function<QDialog*(QWidget* owner)>;
using Action = std::function<void()>;

void registerWindow(const QString& command, WindowFactory factory);
void registerAction(const QString& command, Action action);
void unregister(const QString& command);
void clear();

WindowFactory window(const QString& command);
Action action(const QString& command);

// The window of the command that runs now, null between commands.
QDialog* activeWindow();
void setActiveWindow(QDialog* window);

} // namespace MenuCommands
