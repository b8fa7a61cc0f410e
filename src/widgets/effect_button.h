#pragma once

#include <QColor>
#include <QPushButton>

// The flat caption buttons of the windows: no frame, a black caption that turns blue while the
// mouse is over the button, grey while the button is disabled. Pressing shifts the caption by one
// pixel.
class EffectButton : public QPushButton {
    Q_OBJECT

  public:
    explicit EffectButton(QWidget* parent = nullptr);
    explicit EffectButton(const QString& caption, QWidget* parent = nullptr);
    // A button with caption, named name (its objectName, by which tests find it).
    static EffectButton* Make(QWidget* parent, const char* name, const QString& caption);

    // The caption colour for the current state.
    QColor captionColor() const;
    bool isHovered() const { return hovered_; }

    static QColor normalColor() { return Qt::black; }
    static QColor hoverColor() { return QColor(0, 0, 255); }
    static QColor disabledColor() { return QColor(128, 128, 128); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool hovered_ = false;
};
