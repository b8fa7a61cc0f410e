#include "practice/note_window.h"

#include "platform/dialogs.h"
#include "platform/input_methods.h"
#include "practice/dialog_placement.h"
#include "store/app_state.h"
#include "store/dataset.h"
#include "widgets/db_memo.h"
#include "widgets/effect_button.h"

#include <QShowEvent>

#include <exception>

TFrmBj::TFrmBj(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmBj"));
    setWindowTitle(QStringLiteral("笔记"));
    Placement::makeFixedDialog(this, 392, 353);

    DBMemo1 = new DbMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setGeometry(7, 6, 377, 305);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    epEfTrBtn1 = new EffectButton(QStringLiteral("关  闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setGeometry(158, 320, 75, 25);
    connect(epEfTrBtn1, &QAbstractButton::clicked, this, &TFrmBj::epEfTrBtn1Click);
}

TFrmBj::~TFrmBj() {
    Dataset* ds = DBMemo1->dataset();
    DBMemo1->unbind();
    if (!closedOnce_ && ds && ds->state() == Dataset::State::Edit) {
        try {
            ds->cancel();
        } catch (const std::exception&) {
        }
    }
}

QStringList TFrmBj::preferredInputMethods() {
    return {QStringLiteral("智能ABC输入法"), QStringLiteral("五笔字型输入法")};
}

void TFrmBj::BindNote(Dataset* dataSource, const QString& field) {
    if (!dataSource)
        throw DbError("no dataset for the note");
    dataSource->edit();
    DBMemo1->bind(dataSource, field);
}

void TFrmBj::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Choosing the input method asks the platform; an error there is reported, the note opens.
    if (!event->spontaneous())
        Dialogs::guarded([this] { FormShow(); });
}

void TFrmBj::FormShow() {
    const QString chosen = InputMethods::choose(preferredInputMethods());
    if (!chosen.isEmpty())
        DBMemo1->setInputMethod(chosen);
    Placement::centreOnDesktop(this);
    DBMemo1->setFocus();
}

void TFrmBj::epEfTrBtn1Click() {
    close();
}

void TFrmBj::FormCloseQuery(bool& canClose) {
    canClose = true;
    Dataset* ds = DBMemo1->dataset();
    if (!ds) {
        App::NoteHasContent = !DBMemo1->toPlainText().trimmed().isEmpty();
        return;
    }
    const QString field = DBMemo1->field();
    const QString typed = DBMemo1->toPlainText();
    try {
        RowEditGuard edit(*ds);
        DBMemo1->writeBack();
        edit.post();
        App::NoteHasContent = !DBMemo1->toPlainText().trimmed().isEmpty();
    } catch (const std::exception& e) {
        ++saveFailures_;
        // The guard left the dataset as the file holds it; the memo keeps what was typed.
        DBMemo1->setPlainText(typed);
        Dialogs::reportError(QString::fromUtf8(e.what()));
        if (saveFailures_ == 1) {
            canClose = false;
            return;
        }
        bool stored = false;
        try {
            stored = ds->active() && ds->hasField(field) && !ds->text(field).trimmed().isEmpty();
        } catch (const std::exception&) {
        }
        App::NoteHasContent = stored;
    }
}

void TFrmBj::done(int result) {
    if (closing_)
        return;
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose)
        return;
    closing_ = true;
    closedOnce_ = true;
    QDialog::done(result);
    closing_ = false;
}
