#include "authoring/question_form.h"

#include "authoring/point_picker.h"

#include "platform/dialogs.h"
#include "platform/screen_cursor.h"
#include "store/app_state.h"
#include "store/data_module.h"
#include "widgets/effect_button.h"
#include "widgets/window_art.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>

using Authoring::Ttx;

QuestionForm::QuestionForm(const Setup& setup, QWidget* owner) : QDialog(owner), setup_(setup) {
    setModal(true);

    LabelOptions = WindowArt::MakeLabel(this, "LabelOptions", QString());
    LabelAnswer = WindowArt::MakeLabel(this, "LabelAnswer", QString());
    LabelType = WindowArt::MakeLabel(this, "LabelType", QString());
    LabelPoints = WindowArt::MakeLabel(this, "LabelPoints", QStringLiteral("对应考点："));

    SE_Num = new QSpinBox(this);
    SE_Num->setObjectName(QStringLiteral("SE_Num"));
    SE_Num->setRange(Authoring::kMinOptions, Authoring::kMaxOptions);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(100);
    // Typed letters become upper case, as keys are written.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int at = Edit1->cursorPosition();
        Edit1->setText(upper);
        Edit1->setCursorPosition(at);
    });

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(setup_.typedTypes);
    if (setup_.typedTypes)
        ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { Dialogs::guarded([this] { ComboBox1Change(); }); });

    BtnAddFg = new QPushButton(QStringLiteral("添加考点"), this);
    BtnAddFg->setObjectName(QStringLiteral("BtnAddFg"));
    BtnAddFg->setAutoDefault(false);
    connect(BtnAddFg, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &QuestionForm::BtnAddFgClick));

    ListBox1 = WindowArt::MakeList(this, "ListBox1");
    ListBox1->setToolTip(QStringLiteral("点击\"Delete\"键可以删除考点"));
    ListBox1->installEventFilter(this);
    ListBox2 = new QListWidget(this);
    ListBox2->setObjectName(QStringLiteral("ListBox2"));
    ListBox2->setGeometry(-400, -400, 100, 40); // out of view
    ListBox2->hide();
}

QuestionForm::~QuestionForm() = default;

void QuestionForm::fillTypes() {
    types_ = Authoring::LoadTypeList(*DM1);
    const QSignalBlocker quiet(ComboBox1);
    ComboBox1->clear();
    for (const Ttx& t : types_)
        ComboBox1->addItem(t.name);
    ComboBox1->setCurrentIndex(types_.isEmpty() ? -1 : 0);
}

const Ttx* QuestionForm::selectedType() const {
    const int row = setup_.typedTypes ? Authoring::FindType(types_, ComboBox1->currentText())
                                      : ComboBox1->currentIndex();
    return row >= 0 && row < types_.size() ? &types_[row] : nullptr;
}

void QuestionForm::applySubjectiveRule() {
    const Ttx* t = selectedType();
    if (!t || !Authoring::IsSubjectiveType(*t))
        return;
    SE_Num->setValue(1);
    Edit1->setText(QStringLiteral("1"));
    SE_Num->setEnabled(false);
    Edit1->setEnabled(false);
}

void QuestionForm::ComboBox1Change() {
    SE_Num->setEnabled(true);
    Edit1->setEnabled(true);
    const Ttx* t = selectedType();
    if (!t)
        return;
    if (Authoring::IsSubjectiveType(*t))
        applySubjectiveRule();
    else if (setup_.choiceClearsAnswer)
        Edit1->clear();
}

QStringList QuestionForm::pointIds() const {
    QStringList ids;
    for (int i = 0; i < ListBox2->count(); ++i)
        ids << ListBox2->item(i)->text();
    return ids;
}

void QuestionForm::clearPoints() {
    ListBox1->clear();
    ListBox2->clear();
}

void QuestionForm::addPointLine(const QString& line, const QString& id) {
    auto* item = new QListWidgetItem(line, ListBox1);
    item->setToolTip(line); // the lines are wider than the list
    ListBox2->addItem(id);
}

void QuestionForm::BtnAddFgClick() {
    if (ListBox1->count() >= Authoring::kMaxPoints) {
        Dialogs::messageBox(QStringLiteral("提示"), setup_.pointLimitText,
                            Dialogs::Icon::Information);
        return;
    }
    App::ChosenPointCount = ListBox1->count();
    TFrmSelectFG picker(this);
    picker.setPage(0);
    picker.setOpener(setup_.pickerTag, ListBox2);
    if (picker.exec() == QDialog::Accepted) {
        const int before = ListBox1->count();
        picker.AddPickedPoints(ListBox1, ListBox2);
        for (int i = before; i < ListBox1->count(); ++i)
            ListBox1->item(i)->setToolTip(ListBox1->item(i)->text());
    }
}

void QuestionForm::ListBox1KeyDown(int key) {
    if (key != Qt::Key_Delete || ListBox1->count() == 0)
        return;
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    delete ListBox1->takeItem(row);
    if (row < ListBox2->count())
        delete ListBox2->takeItem(row);
}

bool QuestionForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        ListBox1KeyDown(Qt::Key_Delete);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void QuestionForm::showUsage() {
    TFrmSelectFG usage(this);
    usage.setPage(1);
    usage.exec();
}

void QuestionForm::tell(const QString& text, bool warning) {
    Dialogs::messageBox(QStringLiteral("提示"), text,
                        warning ? Dialogs::Icon::Warning : Dialogs::Icon::Information);
}

bool QuestionForm::checkInputs(QTextEdit* text, Checked& out) {
    if (text->toPlainText().trimmed().isEmpty()) {
        tell(QStringLiteral("请填写试题内容！"));
        text->setFocus();
        return false;
    }
    if (Edit1->text().trimmed().isEmpty()) {
        tell(QStringLiteral("请填写试题答案！"));
        Edit1->setFocus();
        return false;
    }
    const Ttx* type = selectedType();
    if (!type) {
        const QString typed = ComboBox1->currentText().trimmed();
        // A name that is no type would file the question under no type at all: no tab and no
        // paper would ever show it.
        tell(setup_.typedTypes && !typed.isEmpty()
                 ? QStringLiteral("没有名为“%1”的题型，请从列表中选择题型！").arg(typed)
                 : QStringLiteral("请选择题型！"));
        ComboBox1->setFocus();
        return false;
    }
    const Authoring::AnswerCheck answer = Authoring::CheckAnswer(
        Edit1->text(), SE_Num->value(), type->code.toInt(), Authoring::IsSubjectiveType(*type));
    if (!answer.refusal.isEmpty()) {
        tell(answer.refusal);
        Edit1->setEnabled(true);
        Edit1->setFocus();
        return false;
    }
    out.type = *type;
    out.answer = answer.answer;
    return true;
}

bool QuestionForm::runSave(const std::function<void()>& write,
                           const std::function<void()>& afterFailure) {
    QString failure;
    ScreenCursor::hourglass();
    try {
        write();
    } catch (const Authoring::MissingPoint& missing) {
        const QStringList ids = pointIds();
        const int row = ids.indexOf(missing.id);
        const bool named =
            row >= 0 && row < ListBox1->count() && !ListBox1->item(row)->text().isEmpty();
        failure = QStringLiteral("考点“%1”已不在题库中，请选中它按[Delete]键去掉后再保存！")
                      .arg(named ? ListBox1->item(row)->text() : missing.id);
    } catch (const std::length_error&) {
        failure = QStringLiteral("试题内容太大，无法保存！请减少图片后再保存。");
    } catch (const std::exception&) {
        failure = QStringLiteral("保存试题出现错误！");
    }
    ScreenCursor::normal();
    if (failure.isEmpty())
        return true;
    if (afterFailure)
        afterFailure();
    tell(failure);
    return false;
}

EffectButton* QuestionForm::makeCommand(const char* name, const QString& caption) {
    auto* b = new EffectButton(caption, this);
    b->setObjectName(QLatin1String(name));
    return b;
}

QString QuestionForm::paneStyle() {
    return QStringLiteral("QTextEdit { background: white; border: 1px solid #b9c4d4; }");
}

void QuestionForm::paintBody(QPainter& p) const {
    WindowArt::PaintPaper(p, rect());
}
