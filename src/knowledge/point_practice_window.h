#pragma once

#include "practice/practice_window.h"

// The practice over every question of one knowledge point, opened by the knowledge-point browser.
// The chapter practice in everything but its names, texts and layout: the set holds new, answered
// and voided questions alike, 解析 is hidden, there is no 修改本题, and the hint board keeps the
// knowledge point's heading the opener writes there.
class TFrmRuleLxxt : public PracticeWindow {
    Q_OBJECT

  public:
    explicit TFrmRuleLxxt(QWidget* owner = nullptr);

  public Q_SLOTS:
    void epEfTrBtn7Click();   // 关闭
    void epEfTrBtnwinClick(); // 桌面
};
