#include "dialogs.h"

#include <QCoreApplication>
#include <QDebug>

namespace Dialogs {

namespace {
struct Registry {
    Handler showDlg;
    Handler messageBox;
    Handler responder;
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

void reportError(const QString& message) {
    QString caption = QCoreApplication::applicationName();
    if (caption.isEmpty())
        caption = QStringLiteral("Tarnwick");
    messageBox(caption, message, Icon::Critical);
}

} // namespace Dialogs
