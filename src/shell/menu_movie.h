#pragma once

#include <QStringList>
#include <QWidget>

class QSvgRenderer;

// The menu movie: plays an animated SVG scaled to the widget with its proportions kept, on white.
// Every element whose id is "cmd-" followed by a command text is a menu button: a click on it
// sends that command through FSCommand, and the pointer turns into a hand over it.
class TMenuMovie : public QWidget {
    Q_OBJECT

  public:
    explicit TMenuMovie(QWidget* parent = nullptr);

    // Loads the movie; false when the file is missing or not a drawable SVG (nothing is shown).
    bool setMovie(const QString& file);
    QString movie() const { return movie_; }
    bool isValid() const;

    void play();
    void stop();
    bool isPlaying() const { return playing_; }

    // The command texts of the movie's buttons, in the order of the file.
    QStringList commands() const { return commands_; }
    // The command of the topmost button under a point of the widget, or empty.
    QString commandAt(const QPointF& pos) const;
    // Where a command's button lies in widget coordinates (empty when unknown).
    QRectF buttonRect(const QString& command) const;
    // The part of the widget the movie is drawn into.
    QRectF movieRect() const;

    static constexpr int kDefaultFramesPerSecond = 30;

  Q_SIGNALS:
    void FSCommand(const QString& command, const QString& args);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void readButtonIds(const QString& file);
    QRectF viewBox() const;

    QSvgRenderer* renderer_;
    QString movie_;
    QStringList commands_; // without the "cmd-" prefix
    QString pressed_;
    bool playing_ = false;
};
