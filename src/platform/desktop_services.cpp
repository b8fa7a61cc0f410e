#include "platform/desktop_services.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>
#include <QWindow>

void DesktopDocumentOpener::open(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void WindowMinimizer::showDesktop() {
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow* w : windows) {
        if (w->isVisible())
            w->showMinimized();
    }
}
