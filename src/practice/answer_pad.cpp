#include "practice/answer_pad.h"

#include "widgets/picture_button.h"
#include "widgets/vertical_label.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>

using namespace Question;

namespace {

// Option faces: a rounded key, light when up and sunken when down.
QPixmap optionFace(bool down) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 32);
    if (down) {
        g.setColorAt(0, QColor(120, 150, 200));
        g.setColorAt(1, QColor(190, 210, 240));
    } else {
        g.setColorAt(0, QColor(252, 252, 246));
        g.setColorAt(1, QColor(205, 212, 222));
    }
    p.setBrush(g);
    p.setPen(QPen(down ? QColor(40, 70, 130) : QColor(120, 128, 140), 1.2));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    return pm;
}

const char* const kPageNames[] = {"one", "many", "fill", "yn", "subjective", "pw"};

} // namespace

QString AnswerPad::HintText(int page) {
    switch (page) {
    case PageSingle:
        return QStringLiteral("选择一个选项作为正确答案");
    case PageMultiple:
        return QStringLiteral("选择两个或者多个选项作为正确答案");
    case PageFill:
        return QStringLiteral("填写正确答案，答案间用“,”隔开");
    case PageTrueFalse:
        return QStringLiteral("根据判断选择“正确”或者“错误”");
    case PageSubjective:
        return QStringLiteral("根据自己实际情况选择“会”或者“不会”");
    case PageMatching:
        return QStringLiteral("选择若干个选项作为正确答案");
    default:
        return {};
    }
}

QString AnswerPad::PageCaption(int page) {
    switch (page) {
    case PageSingle:
        return QStringLiteral("单选");
    case PageMultiple:
        return QStringLiteral("多选");
    case PageFill:
        return QStringLiteral("填空");
    case PageTrueFalse:
        return QStringLiteral("判断");
    case PageSubjective:
        return QStringLiteral("主观");
    case PageMatching:
        return QStringLiteral("不定项");
    default:
        return {};
    }
}

AnswerPad::AnswerPad(QWidget* parent, const ControlNames& names) : QStackedWidget(parent) {
    setObjectName(QStringLiteral("Notebook1"));
    setMouseTracking(true);
    for (int page = 0; page < PageCount; ++page) {
        QWidget* controls = nullptr;
        QWidget* w = makePage(page, &controls, names);
        addWidget(w);
    }
    setCurrentIndex(PageSingle);
}

PictureButton* AnswerPad::makeOption(QWidget* parent, const QString& caption, const QString& name) {
    static const QPixmap up = optionFace(false);
    static const QPixmap down = optionFace(true);
    auto* b = new PictureButton(caption, parent);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setFaces(up, down);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(32, 32);
    b->setMouseTracking(true);
    QFont f = b->font();
    f.setBold(true);
    f.setPointSize(11);
    b->setFont(f);
    return b;
}

QWidget* AnswerPad::makePage(int page, QWidget** controls, const ControlNames& names) {
    auto* w = new QWidget(this);
    w->setObjectName(QStringLiteral("Page_") + QString::fromLatin1(kPageNames[page]));
    w->setMouseTracking(true);
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(4);

    auto* side = new VerticalLabel(PageCaption(page), w);
    QFont small = side->font();
    small.setPointSize(7);
    side->setFont(small);
    side->setFixedWidth(14);
    side->setStyleSheet(QStringLiteral("color: #1d3f7a;"));
    side->setMouseTracking(true);
    if (page == PageSubjective) {
        side->setObjectName(names.name(Control::SubjectiveLabel));
        side->setCaption(names.caption(Control::SubjectiveLabel));
        Label8 = side;
    } else if (page == PageMatching) {
        side->setObjectName(names.name(Control::MatchingLabel));
        side->setCaption(names.caption(Control::MatchingLabel));
    } else {
        side->setObjectName(QStringLiteral("SideLabel_") + QString::fromLatin1(kPageNames[page]));
    }
    row->addWidget(side);

    auto* box = new QWidget(w);
    box->setMouseTracking(true);
    auto* boxRow = new QHBoxLayout(box);
    boxRow->setContentsMargins(0, 0, 0, 0);
    boxRow->setSpacing(3);
    row->addWidget(box, 1);
    *controls = box;

    const auto optionRow = [&](Options& options, const char* prefix) {
        box->setObjectName(QStringLiteral("fcBG_") + QString::fromLatin1(prefix));
        for (int i = 0; i < kOptionCount; ++i) {
            options[size_t(i)] =
                makeOption(box, QString(OptionLetter(i)),
                           QStringLiteral("fcBG_%1%2").arg(QString::fromLatin1(prefix)).arg(i + 1));
            boxRow->addWidget(options[size_t(i)]);
        }
        boxRow->addStretch(1);
    };

    switch (page) {
    case PageSingle:
        optionRow(fcBG_one, "one");
        oneGroup_ = new QButtonGroup(this);
        for (PictureButton* b : fcBG_one)
            oneGroup_->addButton(b);
        oneGroup_->setExclusive(true);
        break;
    case PageMultiple:
        optionRow(fcBG_many, "many");
        break;
    case PageMatching:
        optionRow(fcBG_pw, "pw");
        break;
    case PageFill:
        box->setObjectName(QStringLiteral("fcBG_fill"));
        FlatEdit1 = new QLineEdit(box);
        FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
        FlatEdit1->setMaxLength(kMaxAnswerLength);
        FlatEdit1->setFrame(true);
        boxRow->addWidget(FlatEdit1, 1);
        break;
    case PageTrueFalse:
        box->setObjectName(QStringLiteral("fcBG_yn"));
        fcBG_yn1 = makeOption(box, QStringLiteral("对"), QStringLiteral("fcBG_yn1"));
        fcBG_yn2 = makeOption(box, QStringLiteral("错"), QStringLiteral("fcBG_yn2"));
        fcBG_yn1->setFixedSize(48, 32);
        fcBG_yn2->setFixedSize(48, 32);
        boxRow->addWidget(fcBG_yn1);
        boxRow->addWidget(fcBG_yn2);
        boxRow->addStretch(1);
        ynGroup_ = new QButtonGroup(this);
        ynGroup_->addButton(fcBG_yn1);
        ynGroup_->addButton(fcBG_yn2);
        ynGroup_->setExclusive(true);
        break;
    case PageSubjective:
        box->setObjectName(QStringLiteral("fcBG_subjective"));
        FlatComboBox1 = new QComboBox(box);
        FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
        FlatComboBox1->addItem(QStringLiteral("不会"));
        FlatComboBox1->addItem(QStringLiteral("会"));
        FlatComboBox1->setCurrentIndex(-1);
        FlatComboBox1->setMinimumWidth(110);
        boxRow->addWidget(FlatComboBox1);
        boxRow->addStretch(1);
        break;
    default:
        break;
    }
    return w;
}

void AnswerPad::selectPage(int page) {
    if (page < 0 || page >= PageCount)
        return;
    setCurrentIndex(page);
}

Question::PadState AnswerPad::state(int page) const {
    PadState s;
    const auto readOptions = [&s](const Options& options) {
        s.visibleOptions = 0;
        for (int i = 0; i < kOptionCount; ++i) {
            // Options are shown from A on; the visible ones are the leading run.
            if (!options[size_t(i)]->isHidden())
                s.visibleOptions = i + 1;
            else
                break;
        }
        for (int i = 0; i < kOptionCount; ++i)
            s.pressed[size_t(i)] = options[size_t(i)]->isChecked();
    };
    switch (page) {
    case PageSingle:
        readOptions(fcBG_one);
        break;
    case PageMultiple:
        readOptions(fcBG_many);
        break;
    case PageMatching:
        readOptions(fcBG_pw);
        break;
    case PageFill:
        s.fillText = FlatEdit1->text();
        break;
    case PageTrueFalse:
        s.trueFalse = fcBG_yn1->isChecked() ? 1 : (fcBG_yn2->isChecked() ? 2 : 0);
        break;
    case PageSubjective:
        s.subjectiveIndex = FlatComboBox1->currentIndex();
        break;
    default:
        break;
    }
    return s;
}

QString AnswerPad::answerText(int page) const {
    return AnswerText(page, state(page));
}

void AnswerPad::releaseAll(QButtonGroup* group) {
    // An exclusive group keeps one button down; switching exclusivity off lets all go up.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

void AnswerPad::restore(int page, const QString& answer, int visibleOptions) {
    const PadState s = RestoredPad(page, answer, visibleOptions);
    const auto setOptions = [&s](const Options& options) {
        for (int i = 0; i < kOptionCount; ++i) {
            PictureButton* b = options[size_t(i)];
            b->setVisible(i < s.visibleOptions);
            b->setChecked(s.pressed[size_t(i)]);
        }
    };
    switch (page) {
    case PageSingle:
        releaseAll(oneGroup_);
        setOptions(fcBG_one);
        break;
    case PageMultiple:
        setOptions(fcBG_many);
        break;
    case PageMatching:
        setOptions(fcBG_pw);
        break;
    case PageFill:
        if (answer.isEmpty())
            FlatEdit1->clear();
        else
            FlatEdit1->setText(answer);
        break;
    case PageTrueFalse:
        releaseAll(ynGroup_);
        if (s.trueFalse == 1)
            fcBG_yn1->setChecked(true);
        else if (s.trueFalse == 2)
            fcBG_yn2->setChecked(true);
        break;
    case PageSubjective:
        FlatComboBox1->setCurrentIndex(-1);
        FlatComboBox1->setCurrentIndex(s.subjectiveIndex);
        break;
    default:
        break;
    }
}

void AnswerPad::pressOptionKey(int index) {
    if (index < 0 || index >= kOptionCount)
        return;
    if (page() == PageSingle)
        fcBG_one[size_t(index)]->setChecked(true);
    else if (page() == PageMultiple)
        fcBG_many[size_t(index)]->toggle();
}

void AnswerPad::setSubjectiveCaption(const QString& tabCaption) {
    Label8->setCaption(tabCaption.left(2));
}
