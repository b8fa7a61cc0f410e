#pragma once

#include <QByteArray>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A real printer for tests: a CUPS server of this process's own, with one PDF queue that is the
// server's default destination. Everything the server keeps (configuration, spool, cache, state,
// logs, the PDFs it writes) lies in one temporary folder, removed with the object; the machine's
// CUPS set-up, /etc and the user's home are never written.
//
// Both ways to the PDF use the cups-pdf driver, the one a learner's PDF printer has: the job
// goes through the CUPS filters to PostScript, and Ghostscript turns that into the PDF, each page
// turned the way its text runs (so a landscape job gives a page shown landscape; a page without
// text stays as the filters laid it, portrait). They differ in
// who runs Ghostscript, chosen when the server starts:
//  - Route::CupsPdf: the cups-pdf backend. It reads its settings, the output folder among them,
//    from /etc/cups/cups-pdf.conf and nowhere else, and that file sends the PDFs into the job
//    owner's home. So the server runs in a mount namespace of its own in which a private folder
//    holding our cups-pdf.conf is bound over /etc/cups: the real /etc/cups is not changed, and
//    no other process sees the bind. This needs root (cups-pdf refuses to run otherwise) and a
//    bind that stays private; when the bind would be seen outside the namespace it is undone at
//    once and the route is not used.
//  - Route::FileDevice: the queue's device is a private file that receives the PostScript, and
//    waitForPdf() runs Ghostscript on it with the settings cups-pdf uses. For where the first
//    route is not possible.
// Route::Automatic tries the first and falls back to the second.
//
// Qt's print support must not have asked for printers before the constructor has run: the
// constructor points CUPS_SERVER at the server's socket, and the CUPS library reads that once per
// thread and keeps it. Create the PdfPrinter before the first QPrinter or QPrinterInfo call (for
// example in SetUp). Only one PdfPrinter may live at a time in a process; a later one reuses the
// socket path, so a test program can make one per test.
class PdfPrinter {
  public:
    enum class Route { Automatic, CupsPdf, FileDevice };

    explicit PdfPrinter(Route route = Route::Automatic);
    ~PdfPrinter();
    PdfPrinter(const PdfPrinter&) = delete;
    PdfPrinter& operator=(const PdfPrinter&) = delete;

    // The server runs and the queue takes jobs.
    bool ready() const { return ready_; }
    // Why the server or the queue could not be set up; empty when ready().
    QString whyNot() const { return whyNot_; }
    // Why Route::Automatic did not take the cups-pdf route; empty when it did.
    QString fallbackReason() const { return fallbackReason_; }
    QString printerName() const { return printerName_; }
    // The route the queue takes (Automatic only before the server was started).
    Route route() const { return route_; }
    // The folder the finished PDFs are kept in.
    QString outputDir() const;

    // Waits for the next PDF to be complete and answers its path; empty when none came in time.
    // Each PDF is answered once.
    QString waitForPdf(int timeoutMs);

    // The tail of the server's error log, for a failure message.
    QString serverLog() const;

  private:
    bool start(Route route, QString* why);
    bool startServer(Route route, QString* why);
    bool addQueue(Route route, QString* why);
    bool waitForScheduler(QString* why);
    bool runClient(const QString& program, const QStringList& args, QString* why);
    void stopServer();
    QString takeCompletePdf();

    std::unique_ptr<QTemporaryDir> dir_;
    QString socketPath_;
    QString printerName_;
    QString whyNot_;
    QString fallbackReason_;
    QByteArray previousServer_;
    bool hadServer_ = false;
    bool owner_ = false;
    Route route_ = Route::Automatic;
    bool ready_ = false;
    QProcess server_;
    QSet<QString> answered_;
    QHash<QString, qint64> lastSize_;
    int received_ = 0;
};

namespace PrintedPdf {

// The number of pages of the PDF at path (pdfinfo); -1 when it cannot be read.
int pageCount(const QString& path);
// Whether page 1 shows wider than high, its rotation taken into account (pdfinfo).
bool firstPageIsLandscape(const QString& path);
// Whether page 1, rendered (pdftoppm), has no pixel that is not white; also true when it cannot
// be rendered, so that a failure to render never passes for ink.
bool firstPageIsBlank(const QString& path);

} // namespace PrintedPdf
