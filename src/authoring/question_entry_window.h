#pragma once

#include "authoring/question_form.h"

#include <QString>

class EffectButton;
class QPushButton;
class RichEdit;

// Question entry: the learner adds own questions to one chapter. Each save writes one question
// (its key, type, chapter and knowledge points, its text and explanation as rich text) and raises
// the question counters of its chapter levels and knowledge points, in one transaction; the window
// stays open, cleared for the next question.
//
// The opener sets ChapterCode (a chapter's C1), shows the window modally and reads SavedCount
// when it closes.
class TFrmInPut : public QuestionForm {
    Q_OBJECT

  public:
    explicit TFrmInPut(QWidget* owner = nullptr);
    ~TFrmInPut() override;

    // Opens the window over owner for the chapter and answers the number of questions saved.
    static int EnterQuestions(QWidget* owner, const QString& chapterCode);

    QString ChapterCode;
    int SavedCount = 0;

    // Controls, named as the window's design names them.
    RichEdit* Re1 = nullptr; // question text
    RichEdit* Re2 = nullptr; // explanation
    // The picture buttons and their captioned twins.
    EffectButton* SpeedButton1 = nullptr; // 设置
    EffectButton* SpeedButton2 = nullptr; // 使用说明
    EffectButton* SpeedButton3 = nullptr; // 清除
    EffectButton* SpeedButton4 = nullptr; // 保存
    EffectButton* SpeedButton7 = nullptr; // 关闭
    QPushButton* epBtn_Config = nullptr;
    QPushButton* epBtn_help = nullptr;
    QPushButton* epBtn_Clear = nullptr;
    QPushButton* epBtn_Save = nullptr;
    QPushButton* epBtn_Close = nullptr;

  public Q_SLOTS:
    void FormCreate();
    void FormShow();
    void epBtn_SaveClick();
    void epBtn_ClearClick();
    void epBtn_helpClick();
    void epBtn_ConfigClick();
    void epBtn_CloseClick();
    void SpeedButton6Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void LayOut();
};
