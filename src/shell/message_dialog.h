#pragma once

#include "platform/dialogs.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QStackedWidget;

// The program's own message dialog, created once at start-up and reused for every message.
class TFrmDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TFrmDlg(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;              // background
    QLabel* Image2 = nullptr;              // title strip
    QLabel* Label1 = nullptr;              // title text
    QStackedWidget* epNoteBook1 = nullptr; // 0 notice, 1 warning, 2 error
    QLabel* fcLabel1 = nullptr;            // message text
    QPushButton* fcShapeBtn1 = nullptr;    // result 1, left
    QPushButton* fcShapeBtn3 = nullptr;    // result 3, middle
    QPushButton* fcShapeBtn2 = nullptr;    // result 2, right

    int designWidth() const { return designWidth_; }

    // Everything ShowDlg sets before the dialog is shown.
    void Prepare(const QString& title, const QString& text, int buttons, const QString& mode,
                 int picture);
    // Prepare, then show modally; the result of the button that closed the dialog.
    int Execute(const QString& title, const QString& text, int buttons, const QString& mode,
                int picture);

  public Q_SLOTS:
    void FormCreate();
    void fcShapeBtn1Click() { done(1); }
    void fcShapeBtn2Click() { done(2); }
    void fcShapeBtn3Click() { done(3); }
    // Escape and the window system's close request do not close the dialog: only its buttons do.
    void reject() override {}

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void centreOnDesktop();
    void layoutToWidth();
    int designWidth_ = 787;
};

// ShowDlg (platform/dialogs.h) shows this dialog once the shell has registered it.

// The platform's file pickers behind Dialogs::openFileName / saveFileName.
void installFilePickers();

inline TFrmDlg* FrmDlg = nullptr;
