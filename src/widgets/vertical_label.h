#pragma once

#include <QLabel>

// A side label that writes its caption one character per line (the answer pad's page names).
class VerticalLabel : public QLabel {
    Q_OBJECT

  public:
    explicit VerticalLabel(QWidget* parent = nullptr);
    explicit VerticalLabel(const QString& caption, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const { return caption_; }

  private:
    QString caption_;
};
