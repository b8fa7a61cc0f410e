#include "platform/desktop_services.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWindow>

bool DesktopDocumentOpener::hasProgramFor(const QString& path) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true;
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

bool DesktopDocumentOpener::open(const QString& path) {
    // Without a window system there is no desktop to hand the document to.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The desktop's opener is asked by xdg-open; without it, or without a program for the
    // type, xdg-open would start and fail unseen.
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    if (!hasProgramFor(path))
        return false;
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void WindowMinimizer::showDesktop() {
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow* w : windows) {
        if (w->isVisible())
            w->showMinimized();
    }
}
