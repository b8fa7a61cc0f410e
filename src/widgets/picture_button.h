#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A button drawn from face pictures stretched over the whole button, with its caption centred on
// the face. It shows the down face while it is pressed or checked, the hover face (when one is
// set) while the mouse is over it, else the up face. Checkable buttons work in a QButtonGroup as a
// radio group. The tag is a whole number the owner keeps on the button (a record number, a type
// code).
class PictureButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit PictureButton(QWidget* parent = nullptr);
    explicit PictureButton(const QString& caption, QWidget* parent = nullptr);

    void setFaces(const QPixmap& up, const QPixmap& down);
    void setHoverFace(const QPixmap& hover);
    QPixmap upFace() const { return up_; }
    QPixmap downFace() const { return down_; }

    // The face painted now.
    QPixmap currentFace() const;
    bool showsDownFace() const { return isDown() || isChecked(); }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Caption colour for enabled and disabled states.
    void setCaptionColor(const QColor& color);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    QPixmap up_;
    QPixmap down_;
    QPixmap hover_;
    QColor caption_ = Qt::black;
    int tag_ = 0;
    bool hovered_ = false;
};
