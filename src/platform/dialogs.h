#pragma once

#include <QString>

#include <functional>

// Every message the program shows goes through here: the program's own message dialog (ShowDlg)
// and the platform's standard message box. The shell registers the real windows at start-up; a
// test installs a responder instead, which sees each request and chooses the answer.
namespace Dialogs {

enum class Kind { ShowDlg, MessageBox };

// Icons of the standard message box. Warning is the exclamation mark, Critical the stop sign.
enum class Icon { None, Information, Question, Warning, Critical };

// Button sets of the standard message box.
enum class BoxButtons { Ok, OkCancel };

// Answers of the standard message box.
enum BoxAnswer { BoxOk = 1, BoxCancel = 2 };

struct Request {
    Kind kind = Kind::ShowDlg;
    QString title; // ShowDlg title, or the caption of the standard box
    QString text;
    // ShowDlg only.
    int buttons = 1;
    QString mode;
    int picture = 0;
    // Standard box only.
    Icon icon = Icon::None;
    BoxButtons boxButtons = BoxButtons::Ok;
};

// Shows a request and answers with its result: 1, 2 or 3 for ShowDlg, a BoxAnswer for the box.
using Handler = std::function<int(const Request&)>;

// The real windows, registered by the shell. Without one, a request is written to the error
// output and answered with its first button (1 for ShowDlg and BoxOk for the box).
void setShowDlgHandler(Handler handler);
void setMessageBoxHandler(Handler handler);

// A test's responder takes every request while installed; an empty handler removes it.
void setResponder(Handler responder);
bool hasResponder();

// Routes one request to the responder or to the real window of its kind.
int ask(const Request& request);

// The platform's standard message box.
int messageBox(const QString& caption, const QString& text, Icon icon,
               BoxButtons buttons = BoxButtons::Ok);

// What the platform shows for an error no window handles itself.
void reportError(const QString& message);

} // namespace Dialogs
