#include "widgets/document_viewer.h"

#include "widgets/effect_button.h"

#include "platform/desktop_services.h"
#include "platform/platform_services.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// The pages draw their title in white on a band the reader cannot paint (HTML5 sections have no
// background in Qt's rich text); in the reader the title takes the ink of the headings.
const char kReaderStyle[] =
    "<style>body header h1 { color: #1d3557; } body header p { color: #7a5c1e; }"
    "</style>";

// Reads the pages as the browser would and adds the reader's style.
class PageBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        QVariant data = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource || data.typeId() != QMetaType::QByteArray)
            return data;
        QString html = QString::fromUtf8(data.toByteArray());
        const qsizetype head = html.indexOf(QLatin1String("</head>"), 0, Qt::CaseInsensitive);
        if (head >= 0)
            html.insert(head, QLatin1String(kReaderStyle));
        return html;
    }
};

bool isPage(const QUrl& url) {
    const QString suffix = QFileInfo(url.path()).suffix().toLower();
    return suffix == QLatin1String("htm") || suffix == QLatin1String("html");
}

} // namespace

DocumentViewer::DocumentViewer(const QString& path, QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint |
                         Qt::WindowMinimizeButtonHint) {
    setObjectName(QStringLiteral("DocumentViewer"));
    setModal(true);

    Browser = new PageBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenLinks(false);
    BackButton = EffectButton::Make(this, "BackButton", QStringLiteral("后退"));
    ForwardButton = EffectButton::Make(this, "ForwardButton", QStringLiteral("前进"));
    CloseButton = EffectButton::Make(this, "CloseButton", QStringLiteral("关闭"));
    for (EffectButton* b : {BackButton, ForwardButton, CloseButton}) {
        b->setAutoDefault(false);
        b->setFixedSize(72, 26);
    }
    BackButton->setEnabled(false);
    ForwardButton->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(8, 4, 8, 4);
    bar->addWidget(BackButton);
    bar->addWidget(ForwardButton);
    bar->addStretch(1);
    bar->addWidget(CloseButton);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(bar);
    column->addWidget(Browser, 1);

    connect(Browser, &QTextBrowser::anchorClicked, this, &DocumentViewer::FollowLink);
    connect(Browser, &QTextBrowser::backwardAvailable, BackButton, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ForwardButton, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::sourceChanged, this, &DocumentViewer::showTitle);
    connect(BackButton, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(ForwardButton, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    // Pictures and the other pages are found beside the page.
    Browser->setSearchPaths({QFileInfo(path).absolutePath()});
    Browser->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    resize(760, 540);
}

void DocumentViewer::showTitle() {
    const QString title = Browser->documentTitle().trimmed();
    setWindowTitle(title.isEmpty() ? QFileInfo(Browser->source().path()).completeBaseName()
                                   : title);
}

void DocumentViewer::FollowLink(const QUrl& link) {
    const QUrl target = Browser->source().resolved(link);
    // A jump within the page on show, or another page of the program's.
    if (target.isLocalFile() && (isPage(target) || link.toString().startsWith(QLatin1Char('#')))) {
        if (QFileInfo::exists(target.toLocalFile())) {
            Browser->setSource(target);
            return;
        }
    }
    external_ = target;
    if (target.isLocalFile()) {
        if (QFileInfo::exists(target.toLocalFile()))
            Platform::documents().open(target.toLocalFile());
        return;
    }
    QDesktopServices::openUrl(target);
}

void ShowDocument(QWidget* owner, const QString& path) {
    if (!QFileInfo::exists(path))
        return;
    if (Platform::documents().open(path))
        return;
    DocumentViewer viewer(path, owner);
    // Maximised, and as large as the desktop also where no window manager maximises it.
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        viewer.setGeometry(screen->availableGeometry());
    viewer.setWindowState(Qt::WindowMaximized);
    viewer.exec();
}
