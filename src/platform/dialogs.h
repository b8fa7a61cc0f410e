#pragma once

#include <QString>

#include <functional>

// Every message the program shows goes through here: the program's own message dialog (ShowDlg),
// the platform's standard message box and its file open/save pickers. The shell registers the
// real windows at start-up; a test installs a responder instead, which sees each request and
// chooses the answer.
namespace Dialogs {

enum class Kind { ShowDlg, MessageBox, OpenFile, SaveFile };

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
    // File pickers only: the folder or file proposed first, and the name filter
    // ("图片 (*.bmp);;所有文件 (*)").
    QString path;
    QString filter;
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

// File pickers answer a path, or the empty text when the learner cancels.
using PathHandler = std::function<QString(const Request&)>;
void setFilePickerHandler(PathHandler handler);
void setPathResponder(PathHandler responder);
QString askPath(const Request& request);

// The platform's file pickers: a file to read, or a file to write.
QString openFileName(const QString& caption, const QString& path, const QString& filter);
QString saveFileName(const QString& caption, const QString& path, const QString& filter);

// The platform's standard message box.
int messageBox(const QString& caption, const QString& text, Icon icon,
               BoxButtons buttons = BoxButtons::Ok);

// What the platform shows for an error no window handles itself.
void reportError(const QString& message);

// Runs a window's event handler: an error it lets escape is reported as the platform reports an
// error no window handles (the screen cursor goes back to normal first). Answers false then.
bool guarded(const std::function<void()>& handler);

// The same as a slot for connect(): runs receiver's handler through guarded(), as in
// connect(button, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &Window::buttonClick)).
template <class Receiver, class... Args>
auto guardedSlot(Receiver* receiver, void (Receiver::*handler)(Args...)) {
    return [receiver, handler](Args... args) { guarded([&] { (receiver->*handler)(args...); }); };
}

} // namespace Dialogs

// The program's own message dialog: title, text, button set 0..3, mode ("Exam" for the exam's
// captions), picture page 0 notice, 1 warning, 2 error. Answers 1, 2 or 3, the button pressed.
int ShowDlg(const QString& title, const QString& text, int buttons, const QString& mode,
            int picture);
