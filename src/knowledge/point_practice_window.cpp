#include "knowledge/point_practice_window.h"

namespace {

using C = Control;

// The small layout for 800 x 600 screens.
const PracticeLayout kSmall = {
    QSize(774, 489),
    QRect(21, 4, 420, 17),
    QRect(21, 22, 150, 18),
    QRect(175, 22, 260, 18),
    QRect(),
    QRect(21, 42, 590, 384),
    QRect(613, 42, 8, 384),
    QRect(628, 38, 36, 18),
    QRect(668, 38, 90, 18),
    QRect(625, 62, 140, 38),
    QRect(628, 106, 137, 18),
    QRect(625, 127, 140, 103),
    QRect(628, 232, 137, 18),
    QRect(625, 252, 140, 112),
    QPoint(625, 368),
    383,
    QRect(628, 400, 65, 25),
    QRect(698, 400, 65, 25),
    QRect(96, 437, 265, 46),
    {{C::Settings, QRect(623, 5, 70, 25)},
     {C::Desktop, QRect(698, 5, 70, 25)},
     {C::PreviousQuestion, QRect(8, 436, 75, 47)},
     {C::NextQuestion, QRect(368, 436, 75, 47)},
     {C::Finish, QRect(463, 435, 100, 25)},
     {C::Answer, QRect(563, 435, 100, 25)},
     {C::Note, QRect(663, 435, 100, 25)},
     {C::Points, QRect(463, 461, 100, 25)},
     {C::Void, QRect(563, 461, 100, 25)},
     {C::Close, QRect(663, 461, 100, 25)}},
};

// The design layout, for every other screen.
const PracticeLayout kLarge = {
    QSize(905, 585),
    QRect(21, 4, 560, 18),
    QRect(21, 22, 160, 18),
    QRect(186, 22, 300, 18),
    QRect(),
    QRect(21, 42, 684, 455),
    QRect(709, 42, 10, 455),
    QRect(748, 44, 36, 18),
    QRect(788, 44, 100, 18),
    QRect(745, 68, 140, 40),
    QRect(748, 114, 137, 18),
    QRect(745, 135, 140, 103),
    QRect(748, 240, 137, 18),
    QRect(745, 260, 140, 141),
    QPoint(745, 410),
    432,
    QRect(748, 464, 65, 25),
    QRect(818, 464, 65, 25),
    QRect(107, 520, 276, 50),
    {{C::Settings, QRect(743, 13, 70, 25)},
     {C::Desktop, QRect(818, 13, 70, 25)},
     {C::PreviousQuestion, QRect(21, 519, 75, 47)},
     {C::NextQuestion, QRect(391, 520, 75, 47)},
     {C::Finish, QRect(600, 519, 100, 25)},
     {C::Answer, QRect(700, 519, 100, 25)},
     {C::Note, QRect(800, 519, 100, 25)},
     {C::Points, QRect(600, 544, 100, 25)},
     {C::Void, QRect(700, 544, 100, 25)},
     {C::Close, QRect(800, 544, 100, 25)}},
};

PracticeWindowSetup pointSetup() {
    PracticeWindowSetup s;
    s.objectName = QStringLiteral("FrmRuleLxxt");
    s.names = &ControlNames::KnowledgePoint();
    s.config = PracticeConfig::KnowledgePoint();
    s.small = &kSmall;
    s.large = &kLarge;
    s.explanation = false;
    s.hintIsChapterHeading = false;
    return s;
}

} // namespace

TFrmRuleLxxt::TFrmRuleLxxt(QWidget* owner) : PracticeWindow(pointSetup(), owner) {}

void TFrmRuleLxxt::epEfTrBtn7Click() {
    closeWindow();
}

void TFrmRuleLxxt::epEfTrBtnwinClick() {
    showDesktop();
}
