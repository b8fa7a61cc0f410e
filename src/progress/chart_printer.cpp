#include "progress/chart_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <memory>
#include <stdexcept>

namespace {

// The system's printers through Qt's print support. The printer object lives as long as the
// program, as the system's printer settings do, so its orientation outlives one print and is
// put back after each.
class SystemPrinter : public ChartPrinter {
  public:
    bool hasPrinter() override { return !target().isNull(); }

    void printLandscape(const Drawing& draw) override {
        const QPrinterInfo info = target();
        if (info.isNull())
            throw std::runtime_error("no printer");
        if (!printer_ || printer_->printerName() != info.printerName())
            printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        const QPageLayout::Orientation previous = printer_->pageLayout().orientation();
        printer_->setPageOrientation(QPageLayout::Landscape);
        bool printed = false;
        {
            QPainter painter;
            if (painter.begin(printer_.get())) {
                draw(painter, printer_->pageLayout().paintRectPixels(printer_->resolution()));
                printed = painter.end();
            }
        }
        printed = printed && printer_->printerState() != QPrinter::Error;
        printer_->setPageOrientation(previous);
        if (!printed)
            throw std::runtime_error("the page could not be printed");
    }

  private:
    // The default printer, or the first one when the system names no default.
    static QPrinterInfo target() {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
            if (!all.isEmpty())
                info = all.first();
        }
        return info;
    }

    std::unique_ptr<QPrinter> printer_;
};

ChartPrinter* installed = nullptr;

} // namespace

ChartPrinter& ChartPrinter::current() {
    if (installed)
        return *installed;
    static SystemPrinter system;
    return system;
}

void ChartPrinter::set(ChartPrinter* printer) {
    installed = printer;
}
