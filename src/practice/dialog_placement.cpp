#include "practice/dialog_placement.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

namespace Placement {

void makeFixedDialog(QDialog* dialog, int width, int height) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(width, height);
    dialog->setSizeGripEnabled(false);
}

void centreOnDesktop(QDialog* dialog) {
    QScreen* screen = dialog->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desk = screen->availableGeometry();
    // move() places the frame; centre the frame with its title bar.
    const QSize outer = dialog->frameGeometry().size();
    dialog->move(desk.x() + (desk.width() - outer.width()) / 2,
                 desk.y() + (desk.height() - outer.height()) / 2);
}

} // namespace Placement
