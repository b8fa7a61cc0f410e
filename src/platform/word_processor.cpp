#include "platform/word_processor.h"

#include "platform/desktop_services.h"
#include "platform/platform_services.h"

#include <QProcess>
#include <QStandardPaths>

QString DesktopWordProcessor::findOffice() {
    for (const char* name : {"soffice", "libreoffice", "lowriter"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool DesktopWordProcessor::openAsNewDocument(const QString& path) {
    const QString office = findOffice();
    // -n: the file serves as the template of a new document, so the learner's first save asks
    // for a name instead of overwriting the exported file.
    if (!office.isEmpty() &&
        QProcess::startDetached(office, {QStringLiteral("--writer"), QStringLiteral("-n"), path}))
        return true;
    return Platform::documents().open(path);
}
