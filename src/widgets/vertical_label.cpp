#include "widgets/vertical_label.h"

VerticalLabel::VerticalLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setWordWrap(false);
}

VerticalLabel::VerticalLabel(const QString& caption, QWidget* parent) : VerticalLabel(parent) {
    setCaption(caption);
}

void VerticalLabel::setCaption(const QString& caption) {
    caption_ = caption;
    QStringList lines;
    // One character per line; a surrogate pair stays one character.
    for (int i = 0; i < caption.size(); ++i) {
        if (caption.at(i).isHighSurrogate() && i + 1 < caption.size()) {
            lines << caption.mid(i, 2);
            ++i;
        } else if (!caption.at(i).isSpace()) {
            lines << caption.mid(i, 1);
        }
    }
    setText(lines.join(QLatin1Char('\n')));
}
