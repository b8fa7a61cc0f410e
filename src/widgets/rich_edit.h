#pragma once

#include <QTextEdit>
#include <QtGlobal>

class QMimeData;

// The rich-text editor of every pane the learner writes into. Pasting keeps what a word processor
// or a web page put on the clipboard, in this order of preference: RTF (read by the bank's own
// codec, so it looks as it will once stored), HTML, a bare picture, plain text. Pictures become
// resources of this editor's document under names no other paste uses. Pictures the program
// cannot get without downloading (http, https) are left out; the rest of the paste stays.
//
// A paste carrying a picture larger than MaxPastedPictureBytes, or one that would decode to more
// than MaxPastedPicturePixels, is refused as a whole with a message: nothing of it is inserted.
//
// Copying puts RTF on the clipboard beside HTML and text, so pictures travel between the
// program's editors and into word processors.
class RichEdit : public QTextEdit {
    Q_OBJECT

  public:
    // Encoded size of one picture as the paste carries it; a bare picture counts as PNG, the form
    // the codec stores it in.
    static constexpr qint64 MaxPastedPictureBytes = 10 * 1024 * 1024;
    // Decoded size of one picture, so a small file cannot unpack into a huge image.
    static constexpr qint64 MaxPastedPicturePixels = 50'000'000;

    explicit RichEdit(QWidget* parent = nullptr);
    ~RichEdit() override;

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
};
