#pragma once

#include <QStringList>
#include <QWidget>

class QTimer;

// The scrolling text inside the pause panel: its lines move upward and come round again.
class RunningText : public QWidget {
    Q_OBJECT

  public:
    RunningText(const QStringList& lines, QWidget* parent);
    void start();
    void stop();
    bool isRunning() const;
    int offset() const { return offset_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int lineHeight() const;
    QStringList lines_;
    QTimer* timer_;
    int offset_ = 0;
};

// The pause panel that covers the question while the exam is paused: it grows over the
// question pane in steps of 15 pixels and then starts its text (suiPanel1Pop), and shrinks the
// same way, stops the text and hides (suiPanel1Push).
class PausePanel : public QWidget {
    Q_OBJECT

  public:
    explicit PausePanel(QWidget* parent);

    RunningText* epRunPanel1 = nullptr;

    // The slogan lines, in order.
    static QStringList Slogan();

    // Covers target (in the parent's coordinates), growing step by step.
    void expand(const QRect& target);
    // Shrinks away step by step, then hides.
    void collapse();
    // Hidden at once, the text stopped.
    void collapseNow();
    bool isExpanded() const { return expanded_; }

  Q_SIGNALS:
    void suiPanel1Pop();
    void suiPanel1Push();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QRect target_;
    bool expanded_ = false;
};
