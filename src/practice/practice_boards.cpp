#include "practice/practice_boards.h"

#include "practice/practice_session.h"
#include "practice/question_parts.h"

#include "store/dataset.h"
#include "widgets/effect_button.h"
#include "widgets/picture_button.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

using namespace Question;

namespace {

// A board's grid and its radio group, named after the board.
QButtonGroup* makeBoard(QWidget* board, const QString& name, int hSpacing, int vSpacing) {
    board->setObjectName(name);
    auto* grid = new QGridLayout(board);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(hSpacing);
    grid->setVerticalSpacing(vSpacing);
    grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* group = new QButtonGroup(board);
    group->setObjectName(name + QStringLiteral("Group"));
    group->setExclusive(true);
    return group;
}

void releaseAll(QButtonGroup* group) {
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(exclusive);
}

} // namespace

// ---------------------------------------------------------------------------------------------

TypeBoard::TypeBoard(const ControlNames& names, QWidget* parent)
    : QWidget(parent), group_(makeBoard(this, names.name(Control::TypeBoard), 2, 1)) {
    connect(group_, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* b, bool checked) {
        if (!checked)
            return;
        PictureButton* old = current_;
        current_ = static_cast<PictureButton*>(b);
        Q_EMIT changed(old, current_);
    });
}

bool TypeBoard::loadFaces(const QString& programFolder) {
    return LoadPictures(programFolder, TypeTabPictures(), faces_);
}

PictureButton* TypeBoard::addTab(const QString& caption, int tag) {
    auto* t = new PictureButton(caption, this);
    t->setObjectName(objectName() + QStringLiteral("_%1").arg(tag));
    t->setCheckable(true);
    t->setTag(tag);
    t->setFocusPolicy(Qt::NoFocus);
    t->setFaces(faces_.value(0), faces_.value(1));
    t->setFixedSize(68, 26);
    const int n = int(tabs_.size());
    static_cast<QGridLayout*>(layout())->addWidget(t, n / 2, n % 2);
    group_->addButton(t);
    tabs_ << t;
    return t;
}

void TypeBoard::fill(Dataset* types, const std::function<bool(int)>& hasQuestions) {
    if (!types->active())
        types->open();
    types->sort(QStringLiteral("A1"), Qt::AscendingOrder);
    types->first();

    for (PictureButton* t : tabs_) {
        group_->removeButton(t);
        delete t;
    }
    tabs_.clear();
    current_ = nullptr;
    addTab(QStringLiteral("任意"), 0);
    while (!types->eof() && types->recNo() > 0) {
        const int code = int(types->whole(QStringLiteral("A1")));
        PictureButton* t = addTab(types->text(QStringLiteral("B1")).trimmed(), code);
        if (!hasQuestions(code))
            t->setEnabled(false);
        if (types->recNo() >= types->recordCount())
            break;
        types->next();
    }
}

PictureButton* TypeBoard::tab(int tag) const {
    for (PictureButton* t : tabs_) {
        if (t->tag() == tag)
            return t;
    }
    return nullptr;
}

void TypeBoard::press(PictureButton* tab) {
    if (!tab)
        return;
    if (tab->isChecked())
        release();
    tab->setChecked(true);
}

void TypeBoard::release() {
    releaseAll(group_);
    current_ = nullptr;
}

void TypeBoard::refuse(PictureButton* tab, PictureButton* previous) {
    tab->setEnabled(false);
    if (previous && previous != tab)
        previous->setChecked(true);
    else
        release();
}

// ---------------------------------------------------------------------------------------------

QuestionBoard::QuestionBoard(const ControlNames& names, const QuestionFaces& faces, QWidget* parent,
                             Shape shape)
    : QWidget(parent), faces_(faces),
      group_(makeBoard(this, names.name(Control::QuestionBoard), 0, shape.byColumn ? 0 : 4)) {
    auto* grid = static_cast<QGridLayout*>(layout());
    QFont f = font();
    f.setPointSize(8);
    constexpr int kColumns = 5;
    const int rows = (shape.count + kColumns - 1) / kColumns;
    for (int i = 0; i < shape.count; ++i) {
        auto* b = new PictureButton(QString::number(i + 1), this);
        b->setObjectName(names.questionButton(i + 1));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(shape.buttonSize);
        b->setFont(f);
        b->setEnabled(false);
        buttons_ << b;
        group_->addButton(b, i);
        if (shape.byColumn)
            grid->addWidget(b, i % rows, i / rows);
        else
            grid->addWidget(b, i / kColumns, i % kColumns);
    }
    connect(group_, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool checked) {
        if (checked)
            Q_EMIT buttonPressed();
    });
}

void QuestionBoard::releaseAll() {
    ::releaseAll(group_);
}

PictureButton* QuestionBoard::button(int number) const {
    if (number < 1 || number > count())
        return nullptr;
    return buttons_[number - 1];
}

PictureButton* QuestionBoard::pressedButton() const {
    return static_cast<PictureButton*>(group_->checkedButton());
}

void QuestionBoard::fill(int start, int count,
                         const std::function<std::optional<Face>(int)>& faceOf) {
    for (int i = 0; i < int(buttons_.size()); ++i) {
        PictureButton* b = buttons_[i];
        const int recNo = start + i;
        const std::optional<Face> face = i < count ? faceOf(recNo) : std::nullopt;
        b->setEnabled(face.has_value());
        b->setTag(face ? recNo : 0);
        const Face f = face.value_or(Face::Unanswered);
        faces_.set(b, f, f);
    }
}

void QuestionBoard::press(int number) {
    PictureButton* b = button(number);
    if (!b)
        return;
    if (b->isChecked())
        ::releaseAll(group_);
    b->setChecked(true);
}

void QuestionBoard::setDownFace(int recNo, Face face) const {
    if (PictureButton* b = button(ButtonOfRecord(recNo)))
        faces_.setDown(b, face);
}

void QuestionBoard::setUpFace(int recNo, Face face) const {
    if (PictureButton* b = button(ButtonOfRecord(recNo)))
        faces_.setUp(b, face);
}

// ---------------------------------------------------------------------------------------------

GroupCounters::GroupCounters(const ControlNames& names, QWidget* parent) {
    using C = Control;
    for (auto [slot, role] : {std::pair{&first_[0], C::GroupsText},
                              {&first_[1], C::Groups},
                              {&first_[2], C::GroupsUnit},
                              {&first_[3], C::Questions},
                              {&first_[4], C::QuestionsUnit},
                              {&second_[0], C::GroupText},
                              {&second_[1], C::Group},
                              {&second_[2], C::GroupUnit}})
        *slot = NamedLabel(parent, names, role);
    groups_ = first_[1];
    questions_ = first_[3];
    group_ = second_[1];
    for (QLabel* l : {groups_, questions_, group_}) {
        l->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
        l->setAlignment(Qt::AlignCenter);
    }
    previous_ = NamedButton(parent, names, C::PreviousGroup);
    next_ = NamedButton(parent, names, C::NextGroup);
}

void GroupCounters::show(const PracticeSession& session) const {
    groups_->setText(QString::number(session.groupTotal()));
    questions_->setText(QString::number(session.totalAtFirstGroup()));
    group_->setText(QString::number(session.groupNumber()));
    previous_->setEnabled(session.previousGroupEnabled());
    next_->setEnabled(session.nextGroupEnabled());
}

void GroupCounters::place(QPoint first, int secondTop, const QRect& previous,
                          const QRect& next) const {
    // In the 140-pixel column; the second line is indented under the first.
    const auto row = [](const auto& labels, const auto& widths, int left, int top) {
        for (size_t i = 0; i < labels.size(); ++i) {
            labels[i]->setGeometry(left, top, widths[i], 18);
            left += widths[i];
        }
    };
    row(first_, std::array{16, 26, 16, 34, 34}, first.x(), first.y());
    row(second_, std::array{16, 26, 16}, first.x() + 32, secondTop);
    previous_->setGeometry(previous);
    next_->setGeometry(next);
}

void PaintBoards(QPainter& p, const QRect& boards, const QRect& pane) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(140, 120, 80), 1));
    p.setBrush(QColor(255, 252, 240, 150));
    p.drawRoundedRect(boards, 6, 6);
    p.setBrush(Qt::NoBrush);
    p.drawRect(pane.adjusted(-1, -1, 0, 0));
}
