#include "platform/dialogs.h"

#include "platform/screen_cursor.h"

#include <QCoreApplication>
#include <QDebug>

namespace Dialogs {

namespace {
struct Registry {
    Handler showDlg;
    Handler messageBox;
    Handler responder;
    PathHandler files;
    PathHandler pathResponder;
};

Registry& registry() {
    static Registry r;
    return r;
}
} // namespace

void setShowDlgHandler(Handler handler) {
    registry().showDlg = std::move(handler);
}
void setMessageBoxHandler(Handler handler) {
    registry().messageBox = std::move(handler);
}
void setResponder(Handler responder) {
    registry().responder = std::move(responder);
}
bool hasResponder() {
    return static_cast<bool>(registry().responder);
}

int ask(const Request& request) {
    // Copies: a handler may replace the registry's entries while it runs.
    if (Handler responder = registry().responder)
        return responder(request);
    Handler real = request.kind == Kind::ShowDlg ? registry().showDlg : registry().messageBox;
    if (real)
        return real(request);
    qWarning().noquote() << request.title << ":" << request.text;
    return request.kind == Kind::ShowDlg ? 1 : BoxOk;
}

int messageBox(const QString& caption, const QString& text, Icon icon, BoxButtons buttons) {
    Request r;
    r.kind = Kind::MessageBox;
    r.title = caption;
    r.text = text;
    r.icon = icon;
    r.boxButtons = buttons;
    return ask(r);
}

void setFilePickerHandler(PathHandler handler) {
    registry().files = std::move(handler);
}
void setPathResponder(PathHandler responder) {
    registry().pathResponder = std::move(responder);
}

QString askPath(const Request& request) {
    if (PathHandler responder = registry().pathResponder)
        return responder(request);
    if (PathHandler real = registry().files)
        return real(request);
    qWarning().noquote() << request.title << ": no file picker";
    return {};
}

namespace {
QString pickFile(Kind kind, const QString& caption, const QString& path, const QString& filter) {
    Request r;
    r.kind = kind;
    r.title = caption;
    r.path = path;
    r.filter = filter;
    return askPath(r);
}
} // namespace

QString openFileName(const QString& caption, const QString& path, const QString& filter) {
    return pickFile(Kind::OpenFile, caption, path, filter);
}
QString saveFileName(const QString& caption, const QString& path, const QString& filter) {
    return pickFile(Kind::SaveFile, caption, path, filter);
}

bool guarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ScreenCursor::normal();
        reportError(QString::fromUtf8(e.what()));
    }
    return false;
}

void reportError(const QString& message) {
    QString caption = QCoreApplication::applicationName();
    if (caption.isEmpty())
        caption = QStringLiteral("Tarnwick");
    messageBox(caption, message, Icon::Critical);
}

} // namespace Dialogs

int ShowDlg(const QString& title, const QString& text, int buttons, const QString& mode,
            int picture) {
    Dialogs::Request r;
    r.kind = Dialogs::Kind::ShowDlg;
    r.title = title;
    r.text = text;
    r.buttons = buttons;
    r.mode = mode;
    r.picture = picture;
    return Dialogs::ask(r);
}
