#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QTimer;

// The progress window shown while a long database step runs; created once at start-up.
//
// A caller shows it (Begin), changes the stage text between the steps of its work (Stage) and
// hides it when done (End). The text is never reset between uses: every caller sets its own.
class TFrmProgress : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmProgress(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QFrame* epBevel1 = nullptr;
    QTimer* Timer1 = nullptr; // 100 ms, disabled

    // Shows the window (not modally) with the stage text, painted before the work starts.
    void Begin(const QString& stageText);
    // A new stage text, painted at once.
    void Stage(const QString& stageText);
    void End();

  protected:
    void showEvent(QShowEvent* event) override;
};

inline TFrmProgress* FrmProgress = nullptr;
