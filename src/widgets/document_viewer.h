#pragma once

#include <QDialog>
#include <QUrl>

class EffectButton;
class QTextBrowser;

// The program's own reader for the pages it delivers (the manual, the regulations, the bookshop
// page), used where the desktop has no program for them. Links between the pages and to their
// anchors stay in the reader; a link to anything else (a web address, another kind of file) goes
// to the desktop.
class DocumentViewer : public QDialog {
    Q_OBJECT

  public:
    explicit DocumentViewer(const QString& path, QWidget* owner = nullptr);

    QTextBrowser* Browser = nullptr;
    EffectButton* BackButton = nullptr;    // 后退
    EffectButton* ForwardButton = nullptr; // 前进
    EffectButton* CloseButton = nullptr;   // 关闭

    // Follows a link as a click on it would.
    void FollowLink(const QUrl& link);
    // The link last handed to the desktop (for the window's hint line and for tests).
    const QUrl& lastExternalLink() const { return external_; }

  private:
    void showTitle();

    QUrl external_;
};

// Opens a document of the program folder with the desktop's program, or in a DocumentViewer over
// owner (maximised, modal) when the desktop has none. A document that does not exist is ignored.
void ShowDocument(QWidget* owner, const QString& path);
