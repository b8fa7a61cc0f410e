#pragma once

#include "platform/background_music.h"
#include "store/time_text.h"

#include <QSize>
#include <QWidget>

class QDialog;
class TMenuMovie;

// The main form: fills the screen with the menu movie, owns the background music, loads the
// answer-time table and runs the menu's commands. Closing it ends the program.
class TFrmStart : public QWidget {
    Q_OBJECT

  public:
    explicit TFrmStart(QWidget* parent = nullptr);

    TMenuMovie* ShockwaveFlash1 = nullptr;

    // Plays (play yes) or stops (play no) the background music; the MIDI player is the platform's
    // music service (Platform::music()).
    void PlayMusic(const QString& file, bool play);

    // Runs the daily-plan check of "quit"; closes the form unless the learner cancels.
    void QuitWithPlanCheck();

  public Q_SLOTS:
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose() {}
    void ShockwaveFlash1FSCommand(const QString& command, const QString& args);

  protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void loadAnswerTimes();
    void openCommandWindow(const QString& command);
    void runExamCommand(const QString& command, int kind);
    void openDocument(const QString& relativeName);
};

inline TFrmStart* FrmStart = nullptr;

// "800" when the screen is 800 wide or 600 high, otherwise "1024".
QString ScreenModeFor(const QSize& screen);

// True when the screen's horizontal logical pixels per inch are 96.
bool IsSmallFonts();

// Re-lays the settings window for the answer times only ("sztime"): the music controls are
// hidden and the time editors and the close button move up.
void RelayoutConfigForAnswerTimes(QWidget* config);
