#include "practice/explanation_window.h"

#include "platform/screen_cursor.h"
#include "practice/dialog_placement.h"
#include "widgets/db_rich_view.h"
#include "widgets/effect_button.h"

#include <QShowEvent>

#include <exception>

TFrmJx::TFrmJx(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmJx"));
    setWindowTitle(QStringLiteral("解析"));
    Placement::makeFixedDialog(this, 596, 359);

    Re = new DbRichView(this);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setGeometry(4, 4, 588, 317);

    epEfTrBtn1 = new EffectButton(QStringLiteral("关闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setGeometry(260, 327, 75, 25);
    connect(epEfTrBtn1, &QAbstractButton::clicked, this, &TFrmJx::epEfTrBtn1Click);
}

void TFrmJx::BindExplanation(Dataset* /*dataset*/, Dataset* dataSource, const QString& field) {
    try {
        Re->bind(dataSource, field);
    } catch (const std::exception&) {
        // The explanation cannot be shown: the window opens empty.
        Re->unbind();
    }
}

void TFrmJx::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmJx::FormShow() {
    ScreenCursor::normal();
    Re->setReadOnly(true);
    Placement::centreOnDesktop(this);
}

void TFrmJx::epEfTrBtn1Click() {
    close();
}
