#include "shell/single_instance.h"

#include "shell/start_form.h"

#include "platform/program_end.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QWidget>

#include <memory>

#include <unistd.h>

namespace {

const QByteArray kRaiseMessage = QByteArrayLiteral("raise\n");

class InstanceGuard : public QObject {
  public:
    explicit InstanceGuard(QObject* parent = nullptr) : QObject(parent) {
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now)
                lastActive_ = now->window();
        });
        connect(&server_, &QLocalServer::newConnection, this, &InstanceGuard::accept);
    }

    bool listen(const QString& name) {
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        if (server_.listen(name))
            return true;
        // A socket left behind by a copy that did not end cleanly.
        QLocalServer::removeServer(name);
        return server_.listen(name);
    }

    QWidget* lastActive() const { return lastActive_; }

  private:
    void accept() {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [socket] {
                while (socket->canReadLine()) {
                    if (socket->readLine() == kRaiseMessage)
                        BringProgramForward();
                }
            });
            if (socket->canReadLine())
                Q_EMIT socket->readyRead();
        }
    }

    QLocalServer server_;
    QPointer<QWidget> lastActive_;
};

std::unique_ptr<InstanceGuard>& guard() {
    static std::unique_ptr<InstanceGuard> g;
    return g;
}

// Tells the copy listening on name to come forward; false when no copy listens there.
bool tellRunningCopy(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kRaiseMessage);
    socket.flush();
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return true;
}

} // namespace

QString InstanceServerName() {
    const QByteArray who =
        QByteArray::number(static_cast<qulonglong>(::getuid())) + '@' + QDir::homePath().toUtf8();
    return QStringLiteral("Tarnwick-") +
           QString::fromLatin1(
               QCryptographicHash::hash(who, QCryptographicHash::Sha256).toHex().left(16));
}

bool CheckPrevInstance(const QString& serverName) {
    const QString name = serverName.isEmpty() ? InstanceServerName() : serverName;
    if (tellRunningCopy(name)) {
        ProgramEnd::request();
        return true;
    }
    auto g = std::make_unique<InstanceGuard>();
    if (!g->listen(name)) {
        // Someone took the name in between: that copy is the first one.
        if (tellRunningCopy(name)) {
            ProgramEnd::request();
            return true;
        }
    }
    guard() = std::move(g);
    return false;
}

void ReleaseInstanceGuard() {
    guard().reset();
}

void BringProgramForward() {
    // The window of this copy that last had the focus, else the main form.
    QWidget* popup = guard() ? guard()->lastActive() : nullptr;
    if (!popup || !popup->isVisible())
        popup = QApplication::activeModalWidget();
    if (!popup)
        popup = FrmStart;
    if (!popup) {
        const auto tops = QApplication::topLevelWidgets();
        for (QWidget* w : tops) {
            if (w->isVisible()) {
                popup = w;
                break;
            }
        }
    }
    if (!popup)
        return;

    QWidget* main = FrmStart ? static_cast<QWidget*>(FrmStart) : popup;
    if (main != popup) {
        if (main->isMinimized())
            main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
        main->raise();
    }
    if (popup->isMinimized()) {
        popup->setWindowState((popup->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        popup->show();
    }
    popup->raise();
    popup->activateWindow();
}
