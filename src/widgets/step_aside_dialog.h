#pragma once

#include <QDialog>

// A modal window that steps aside while a window it opens runs (the chapter browser during a
// practice, the exam history during a review): it hides, the other window runs, and it comes back
// in the same modal run. Hiding a dialog ends its modal run, so exec() runs again after such a
// hide; the program's end, or closing the window, ends it for good.
class StepAsideDialog : public QDialog {
    Q_OBJECT

  public:
    using QDialog::QDialog;

    int exec() override;
    void done(int result) override;

  protected:
    // Hides the window (the modal run stops waiting on it) and runs the other window.
    void stepAside();
    // Brings the window back after stepAside(): in a modal run the run shows it again, else it
    // is shown here. Nothing happens while the program is ending.
    void comeBack();

    bool inExec() const { return inExec_; }

  private:
    bool inExec_ = false;
    bool resume_ = false;
};
