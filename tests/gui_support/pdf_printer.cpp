#include "pdf_printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <optional>
#include <utility>

#include <unistd.h>

namespace {

const char* const kQueue = "tarnwick-pdf";
const char* const kCupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
const char* const kCupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
// Lies in the folder bound over /etc/cups; seen through another process's root it tells that the
// bind reached beyond our mount namespace.
const char* const kBindMarker = "tarnwick-private-cups";
// The file the FileDevice queue writes each job's PostScript into; made into a PDF and taken
// away as soon as it is complete.
const char* const kIncoming = "incoming.ps";

bool alivePrinter = false;

QString findTool(const QString& name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
    return path;
}

bool writeFile(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(text.toUtf8()) >= 0;
}

QString tail(const QString& path, int maxChars) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(f.readAll());
    return text.right(maxChars).trimmed();
}

void pause(int ms) {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
    QThread::msleep(ms);
}

// Runs a tool to its end; answers its standard output, or nothing when it failed.
std::optional<QString> runTool(const QString& name, const QStringList& args,
                               int timeoutMs = 30000) {
    const QString program = findTool(name);
    if (program.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return std::nullopt;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

} // namespace

PdfPrinter::PdfPrinter(Route route) {
    if (alivePrinter) {
        whyNot_ = "another PdfPrinter is alive in this process";
        return;
    }
    alivePrinter = true;
    owner_ = true;
    previousServer_ = qgetenv("CUPS_SERVER");
    hadServer_ = qEnvironmentVariableIsSet("CUPS_SERVER");

    // One socket path per process: the CUPS library keeps the first server it was pointed at.
    socketPath_ = QDir::tempPath() +
                  QStringLiteral("/tarnwick-cups-%1.sock").arg(QCoreApplication::applicationPid());
    printerName_ = QString::fromLatin1(kQueue);

    QString why;
    if (route == Route::CupsPdf || route == Route::Automatic) {
        if (start(Route::CupsPdf, &why)) {
            ready_ = true;
            return;
        }
        stopServer();
        if (route == Route::CupsPdf) {
            whyNot_ = why;
            return;
        }
        fallbackReason_ = why;
    }
    why.clear();
    if (start(Route::FileDevice, &why)) {
        ready_ = true;
        return;
    }
    stopServer();
    whyNot_ = fallbackReason_.isEmpty() ? why : why + " (cups-pdf route: " + fallbackReason_ + ")";
}

PdfPrinter::~PdfPrinter() {
    stopServer();
    if (owner_) {
        if (hadServer_)
            qputenv("CUPS_SERVER", previousServer_);
        else
            qunsetenv("CUPS_SERVER");
        alivePrinter = false;
    }
}

QString PdfPrinter::outputDir() const {
    return dir_ ? dir_->filePath("out") : QString();
}

QString PdfPrinter::serverLog() const {
    if (!dir_)
        return {};
    return tail(dir_->filePath("log/cupsd.out"), 2000) + "\n" +
           tail(dir_->filePath("log/error_log"), 4000);
}

bool PdfPrinter::start(Route route, QString* why) {
    route_ = route;
    for (const char* tool : {"cupsd", "lpadmin", "lpstat"}) {
        if (findTool(tool).isEmpty()) {
            *why = QStringLiteral("%1 is not installed (packages cups, cups-client)").arg(tool);
            return false;
        }
    }
    if (!QFileInfo::exists(kCupsPdfPpd) || findTool("gs").isEmpty()) {
        *why = "cups-pdf is not installed (package printer-driver-cups-pdf)";
        return false;
    }
    if (route == Route::CupsPdf) {
        if (geteuid() != 0) {
            *why = "the cups-pdf backend runs only for a server started as root";
            return false;
        }
        if (!QFileInfo::exists(kCupsPdfBackend)) {
            *why = "cups-pdf is not installed (package printer-driver-cups-pdf)";
            return false;
        }
        if (!QFileInfo(QStringLiteral("/etc/cups")).isDir() || findTool("unshare").isEmpty() ||
            findTool("mount").isEmpty()) {
            *why = "no /etc/cups, unshare or mount to give cups-pdf a private configuration";
            return false;
        }
    }
    // The socket path must fit in a sockaddr_un.
    if (socketPath_.toLocal8Bit().size() > 100) {
        *why = "the temporary folder's path is too long for the server's socket: " + socketPath_;
        return false;
    }

    dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/tarnwick-cups-XXXXXX");
    if (!dir_->isValid()) {
        *why = "cannot make a temporary folder: " + dir_->errorString();
        return false;
    }
    // The filters run as the server's unprivileged user and must reach the spool below.
    QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                            QFile::ExeOther);
    for (const char* sub :
         {"etc", "spool", "cache", "state", "log", "out", "etc-cups", "cups-pdf-spool"}) {
        if (!QDir(dir_->path()).mkpath(sub)) {
            *why = QStringLiteral("cannot make %1 in %2").arg(sub, dir_->path());
            return false;
        }
    }
    qputenv("CUPS_SERVER", socketPath_.toLocal8Bit());
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    return startServer(route, why) && waitForScheduler(why) && addQueue(route, why);
}

bool PdfPrinter::startServer(Route route, QString* why) {
    const QDir d(dir_->path());
    QFile::remove(socketPath_);
    // TempDir is left at its default, RequestRoot/tmp, which the server makes with the rights its
    // filters need.
    QString files = QStringLiteral("ServerRoot %1\n"
                                   "RequestRoot %2\n"
                                   "CacheDir %3\n"
                                   "StateDir %4\n"
                                   "ErrorLog %5/error_log\n"
                                   "AccessLog %5/access_log\n"
                                   "PageLog %5/page_log\n"
                                   "Printcap %4/printcap\n")
                        .arg(d.filePath("etc"), d.filePath("spool"), d.filePath("cache"),
                             d.filePath("state"), d.filePath("log"));
    if (route == Route::FileDevice)
        files += "FileDevice Yes\n";
    // Nothing is shared or announced; anyone who reaches the socket may print and administer.
    const QString server = QStringLiteral("LogLevel info\n"
                                          "Listen %1\n"
                                          "Browsing Off\n"
                                          "BrowseLocalProtocols none\n"
                                          "DefaultShared No\n"
                                          "WebInterface No\n"
                                          "ErrorPolicy abort-job\n"
                                          "<Location />\n"
                                          "  Order allow,deny\n"
                                          "  Allow all\n"
                                          "</Location>\n"
                                          "<Policy default>\n"
                                          "  <Limit All>\n"
                                          "    Order deny,allow\n"
                                          "  </Limit>\n"
                                          "</Policy>\n")
                               .arg(socketPath_);
    // Every job's PDF into our folder, named with the job's number so that none overwrites
    // another, whoever the job's owner is.
    const QString cupsPdf =
        QStringLiteral("Out %1\n"
                       "AnonDirName %1\n"
                       "Spool %2\n"
                       "Log %3\n"
                       "Label 2\n"
                       "Grp root\n")
            .arg(d.filePath("out"), d.filePath("cups-pdf-spool"), d.filePath("log"));
    const QString filesConf = d.filePath("cups-files.conf");
    const QString serverConf = d.filePath("cupsd.conf");
    if (!writeFile(filesConf, files) || !writeFile(serverConf, server) ||
        !writeFile(d.filePath("etc-cups/cups-pdf.conf"), cupsPdf) ||
        !writeFile(d.filePath(QStringLiteral("etc-cups/") + kBindMarker), "")) {
        *why = "cannot write the server's configuration in " + d.path();
        return false;
    }

    const QStringList cupsd{findTool("cupsd"), "-f", "-c", serverConf, "-s", filesConf};
    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.setStandardOutputFile(d.filePath("log/cupsd.out"));
    server_.setWorkingDirectory(d.path());
    if (route == Route::CupsPdf) {
        // In a mount namespace of its own, our folder is bound over /etc/cups, where cups-pdf
        // looks for its settings. The namespace's mounts are made private first; where that is
        // not possible (a chroot whose root is no mount point), the bind is checked from this
        // process's view of /etc/cups and undone at once if it shows there.
        const QString script = QStringLiteral(
            "mount --make-rprivate / 2>/dev/null\n"
            "mount --bind \"$1\" /etc/cups || exit 97\n"
            "if [ -e \"/proc/$3/root/etc/cups/$2\" ]; then umount /etc/cups; exit 98; fi\n"
            "shift 3\n"
            "exec \"$@\"\n");
        QStringList args{"--mount",
                         "--propagation",
                         "unchanged",
                         "--",
                         "/bin/sh",
                         "-c",
                         script,
                         "sh",
                         d.filePath("etc-cups"),
                         kBindMarker,
                         QString::number(QCoreApplication::applicationPid())};
        args += cupsd;
        server_.start(findTool("unshare"), args);
    } else {
        server_.start(cupsd.first(), cupsd.mid(1));
    }
    if (!server_.waitForStarted(10000)) {
        *why = "cannot start the CUPS server: " + server_.errorString();
        return false;
    }
    return true;
}

bool PdfPrinter::waitForScheduler(QString* why) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        if (server_.state() == QProcess::NotRunning) {
            const int code = server_.exitCode();
            if (route_ == Route::CupsPdf && code == 97)
                *why = "cannot bind a private folder over /etc/cups in a mount namespace: " +
                       tail(dir_->filePath("log/cupsd.out"), 500);
            else if (route_ == Route::CupsPdf && code == 98)
                *why = "a bind over /etc/cups would be seen outside the server's mount namespace "
                       "(shared mounts)";
            else
                *why = QStringLiteral("the CUPS server stopped at once (exit code %1): %2")
                           .arg(code)
                           .arg(serverLog());
            return false;
        }
        if (QFileInfo::exists(socketPath_)) {
            QProcess lpstat;
            lpstat.start(findTool("lpstat"), {"-r"});
            if (lpstat.waitForFinished(5000)) {
                const QString out = QString::fromLocal8Bit(lpstat.readAllStandardOutput());
                if (out.contains("is running") && !out.contains("not running"))
                    return true;
            } else {
                lpstat.kill();
                lpstat.waitForFinished();
            }
        }
        pause(100);
    }
    *why = "the CUPS server did not answer within 20 s: " + serverLog();
    return false;
}

bool PdfPrinter::runClient(const QString& program, const QStringList& args, QString* why) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(findTool(program), args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        *why = program + " did not finish";
        return false;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *why = QStringLiteral("%1 %2 failed: %3")
                   .arg(program, args.join(' '), QString::fromLocal8Bit(p.readAll()).trimmed());
        return false;
    }
    return true;
}

bool PdfPrinter::addQueue(Route route, QString* why) {
    // Both routes use the cups-pdf driver, so the job passes the same filters to PostScript.
    const QString device =
        route == Route::CupsPdf ? "cups-pdf:/" : "file://" + QDir(outputDir()).filePath(kIncoming);
    if (!runClient("lpadmin",
                   {"-p", printerName_, "-E", "-v", device, "-P", kCupsPdfPpd, "-o",
                    "printer-error-policy=abort-job"},
                   why))
        return false;
    // Poppler's PostScript keeps the page's text as text, so that Ghostscript can turn each page
    // the way its text runs: a landscape job, which the filters lay sideways on the portrait
    // sheet, comes out as a page shown landscape (/Rotate 90). (Set on its own: given together
    // with -P, the option does not stay.)
    return runClient("lpadmin", {"-p", printerName_, "-o", "pdftops-renderer-default=pdftops"},
                     why) &&
           runClient("lpadmin", {"-d", printerName_}, why);
}

void PdfPrinter::stopServer() {
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(10000)) {
            server_.kill();
            server_.waitForFinished();
        }
    }
    if (!socketPath_.isEmpty())
        QFile::remove(socketPath_);
    dir_.reset();
    lastSize_.clear();
    answered_.clear();
}

QString PdfPrinter::takeCompletePdf() {
    QDir out(outputDir());
    const QFileInfoList files =
        out.entryInfoList({"*.pdf", kIncoming}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo& info : files) {
        const QString path = info.absoluteFilePath();
        if (answered_.contains(path))
            continue;
        // Complete once it ends in the trailer and has not grown since the last look.
        const qint64 size = info.size();
        const qint64 before = lastSize_.value(path, -1);
        lastSize_[path] = size;
        if (size == 0 || size != before)
            continue;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly) || !f.seek(qMax<qint64>(0, size - 64)) ||
            !f.readAll().contains("%%EOF"))
            continue;
        f.close();
        QString answer = path;
        if (info.fileName() == kIncoming) {
            // What cups-pdf does with the PostScript, with its Ghostscript settings; the next job
            // writes the same file again.
            answer = out.filePath(QStringLiteral("job-%1.pdf").arg(received_ + 1));
            const QString temp = answer + ".part";
            if (!runTool("gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
                                "-dCompatibilityLevel=1.4", "-dAutoRotatePages=/PageByPage",
                                "-sOutputFile=" + temp, path}) ||
                !QFile::rename(temp, answer))
                continue;
            QFile::remove(path);
            lastSize_.remove(path);
        }
        ++received_;
        answered_.insert(answer);
        return answer;
    }
    return {};
}

QString PdfPrinter::waitForPdf(int timeoutMs) {
    if (!ready_)
        return {};
    QElapsedTimer timer;
    timer.start();
    do {
        const QString pdf = takeCompletePdf();
        if (!pdf.isEmpty())
            return pdf;
        pause(100);
    } while (timer.elapsed() < timeoutMs);
    return {};
}

namespace PrintedPdf {

namespace {

// pdfinfo's answer for page 1, or empty.
QString firstPageInfo(const QString& path) {
    return runTool("pdfinfo", {"-f", "1", "-l", "1", path}).value_or(QString());
}

} // namespace

int pageCount(const QString& path) {
    const auto m = QRegularExpression(R"(^Pages:\s+(\d+)\s*$)", QRegularExpression::MultilineOption)
                       .match(firstPageInfo(path));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

bool firstPageIsLandscape(const QString& path) {
    const QString info = firstPageInfo(path);
    const auto size = QRegularExpression(R"(^Page\s+1 size:\s+([\d.]+) x ([\d.]+))",
                                         QRegularExpression::MultilineOption)
                          .match(info);
    if (!size.hasMatch())
        return false;
    const auto rot =
        QRegularExpression(R"(^Page\s+1 rot:\s+(\d+))", QRegularExpression::MultilineOption)
            .match(info);
    double width = size.captured(1).toDouble();
    double height = size.captured(2).toDouble();
    if (rot.hasMatch() && rot.captured(1).toInt() % 180 == 90)
        std::swap(width, height);
    return width > height;
}

bool firstPageIsBlank(const QString& path) {
    QTemporaryDir tmp;
    if (!tmp.isValid())
        return true;
    const QString prefix = tmp.filePath("page");
    if (!runTool("pdftoppm",
                 {"-f", "1", "-l", "1", "-r", "36", "-gray", "-singlefile", path, prefix}))
        return true;
    QImage page(prefix + ".pgm");
    if (page.isNull())
        return true;
    page = page.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < page.height(); ++y) {
        const uchar* line = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x) {
            if (line[x] < 250)
                return false;
        }
    }
    return true;
}

} // namespace PrintedPdf
