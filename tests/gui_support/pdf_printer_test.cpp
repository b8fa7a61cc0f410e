#include "pdf_printer.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include <iostream>
#include <memory>

#include <gtest/gtest.h>

namespace {

const int kPdfTimeoutMs = 60000;

// Prints one page with a frame and a line of text on printer; answers whether the job was handed
// to the server.
bool printPage(const QPrinterInfo& info, const QString& docName,
               QPageLayout::Orientation orientation = QPageLayout::Landscape) {
    QPrinter printer(info);
    if (!printer.isValid())
        return false;
    printer.setDocName(docName);
    printer.setPageOrientation(orientation);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    painter.setPen(QPen(Qt::black, 4));
    painter.drawRect(page.adjusted(page.width() / 10, page.height() / 10, -page.width() / 10,
                                   -page.height() / 10));
    QFont font = painter.font();
    font.setPointSize(28);
    painter.setFont(font);
    painter.drawText(page, Qt::AlignCenter, "Tarnwick score chart");
    return painter.end();
}

std::string routeName(PdfPrinter::Route route) {
    switch (route) {
    case PdfPrinter::Route::CupsPdf:
        return "CupsPdf";
    case PdfPrinter::Route::FileDevice:
        return "FileDevice";
    case PdfPrinter::Route::Automatic:
        break;
    }
    return "Automatic";
}

} // namespace

// How test names and failure messages show a route.
void PrintTo(PdfPrinter::Route route, std::ostream* out) {
    *out << routeName(route);
}

namespace {

class PdfPrinterTest : public testing::TestWithParam<PdfPrinter::Route> {
  protected:
    void SetUp() override {
        printer_ = std::make_unique<PdfPrinter>(GetParam());
        if (!printer_->ready())
            GTEST_SKIP() << "no private CUPS server: " << printer_->whyNot().toStdString();
        if (!printer_->fallbackReason().isEmpty())
            std::cout << "cups-pdf not used: " << printer_->fallbackReason().toStdString() << "\n";
    }

    std::unique_ptr<PdfPrinter> printer_;
};

TEST_P(PdfPrinterTest, IsTheDefaultAndListedPrinter) {
    EXPECT_EQ(QPrinterInfo::defaultPrinter().printerName(), printer_->printerName());
    QStringList names;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        names << info.printerName();
    EXPECT_TRUE(names.contains(printer_->printerName())) << names.join(", ").toStdString();
}

TEST_P(PdfPrinterTest, LandscapePageArrivesAsOneInkedLandscapePdf) {
    ASSERT_TRUE(printPage(QPrinterInfo::defaultPrinter(), "chart"));
    const QString pdf = printer_->waitForPdf(kPdfTimeoutMs);
    ASSERT_FALSE(pdf.isEmpty()) << printer_->serverLog().toStdString();
    EXPECT_TRUE(pdf.startsWith(printer_->outputDir() + "/")) << pdf.toStdString();
    EXPECT_EQ(PrintedPdf::pageCount(pdf), 1);
    EXPECT_TRUE(PrintedPdf::firstPageIsLandscape(pdf));
    EXPECT_FALSE(PrintedPdf::firstPageIsBlank(pdf));
}

TEST_P(PdfPrinterTest, PortraitPageArrivesPortrait) {
    ASSERT_TRUE(printPage(QPrinterInfo::defaultPrinter(), "portrait", QPageLayout::Portrait));
    const QString pdf = printer_->waitForPdf(kPdfTimeoutMs);
    ASSERT_FALSE(pdf.isEmpty()) << printer_->serverLog().toStdString();
    EXPECT_FALSE(PrintedPdf::firstPageIsLandscape(pdf));
    EXPECT_FALSE(PrintedPdf::firstPageIsBlank(pdf));
}

TEST_P(PdfPrinterTest, EachJobIsAnsweredOnce) {
    ASSERT_TRUE(printPage(QPrinterInfo::defaultPrinter(), "first"));
    const QString first = printer_->waitForPdf(kPdfTimeoutMs);
    ASSERT_FALSE(first.isEmpty()) << printer_->serverLog().toStdString();
    ASSERT_TRUE(printPage(QPrinterInfo::defaultPrinter(), "second"));
    const QString second = printer_->waitForPdf(kPdfTimeoutMs);
    ASSERT_FALSE(second.isEmpty()) << printer_->serverLog().toStdString();
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_TRUE(printer_->waitForPdf(1500).isEmpty());
}

TEST_P(PdfPrinterTest, LeavesTheMachinesCupsAloneAndCleansUp) {
    // The private cups-pdf settings are seen by the server only.
    EXPECT_FALSE(QFileInfo::exists("/etc/cups/tarnwick-private-cups"));
    const QString out = printer_->outputDir();
    ASSERT_TRUE(QFileInfo(out).isDir());
    printer_.reset();
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_TRUE(QPrinterInfo::availablePrinters().isEmpty() ||
                QPrinterInfo::defaultPrinter().printerName() != "tarnwick-pdf");
}

// Automatic takes the cups-pdf backend where the machine allows its private settings (and says
// why not where it falls back, as in a chroot whose root is no mount point); FileDevice runs
// everywhere.
INSTANTIATE_TEST_SUITE_P(Routes, PdfPrinterTest,
                         testing::Values(PdfPrinter::Route::Automatic,
                                         PdfPrinter::Route::FileDevice),
                         [](const testing::TestParamInfo<PdfPrinter::Route>& info) {
                             return routeName(info.param);
                         });

TEST(PdfPrinterOnePerProcess, ASecondOneSaysWhyNot) {
    PdfPrinter first(PdfPrinter::Route::FileDevice);
    PdfPrinter second(PdfPrinter::Route::FileDevice);
    EXPECT_FALSE(second.ready());
    EXPECT_FALSE(second.whyNot().isEmpty());
}

// The checks on a printed PDF, over PDFs written here without a printer.
class PrintedPdfTest : public testing::Test {
  protected:
    QString write(const QString& name, QPageLayout::Orientation orientation, int pages, bool ink) {
        const QString path = dir_.filePath(name);
        QPdfWriter writer(path);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(10, 10, 10, 10)));
        QPainter painter(&writer);
        for (int i = 0; i < pages; ++i) {
            if (i > 0)
                writer.newPage();
            if (ink)
                painter.fillRect(QRect(0, 0, writer.width() / 3, writer.height() / 3), Qt::black);
        }
        painter.end();
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(PrintedPdfTest, CountsPages) {
    EXPECT_EQ(PrintedPdf::pageCount(write("three.pdf", QPageLayout::Portrait, 3, true)), 3);
    EXPECT_EQ(PrintedPdf::pageCount(write("one.pdf", QPageLayout::Portrait, 1, true)), 1);
    EXPECT_EQ(PrintedPdf::pageCount(dir_.filePath("missing.pdf")), -1);
}

TEST_F(PrintedPdfTest, TellsLandscapeFromPortrait) {
    EXPECT_TRUE(PrintedPdf::firstPageIsLandscape(write("l.pdf", QPageLayout::Landscape, 1, true)));
    EXPECT_FALSE(PrintedPdf::firstPageIsLandscape(write("p.pdf", QPageLayout::Portrait, 1, true)));
    // A portrait sheet turned a quarter, as cups-pdf writes a landscape job.
    QFile turned(dir_.filePath("turned.pdf"));
    ASSERT_TRUE(turned.open(QIODevice::WriteOnly));
    turned.write("%PDF-1.4\n1 0 obj <</Type /Catalog /Pages 2 0 R>> endobj\n"
                 "2 0 obj <</Type /Pages /Kids [3 0 R] /Count 1>> endobj\n"
                 "3 0 obj <</Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Rotate 90>> endobj\n"
                 "trailer <</Root 1 0 R>>\n%%EOF\n");
    turned.close();
    EXPECT_TRUE(PrintedPdf::firstPageIsLandscape(turned.fileName()));
}

TEST_F(PrintedPdfTest, TellsInkFromAnEmptyPage) {
    EXPECT_FALSE(PrintedPdf::firstPageIsBlank(write("ink.pdf", QPageLayout::Portrait, 1, true)));
    EXPECT_TRUE(PrintedPdf::firstPageIsBlank(write("empty.pdf", QPageLayout::Portrait, 1, false)));
    QFile junk(dir_.filePath("junk.pdf"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a pdf");
    junk.close();
    EXPECT_TRUE(PrintedPdf::firstPageIsBlank(junk.fileName()));
}

} // namespace
