// The score chart over the sample bank's two charted chapters (1203 合同 and 4101 第一章): what
// each chart shows, the options, saving the chart as a picture, printing without a printer or
// with a failing one, and printing for real on a CUPS server's PDF printer.
#include "gui_bank_test.h"
#include "pdf_printer.h"

#include "progress/chart_page.h"
#include "progress/chart_printer.h"
#include "progress/chart_window.h"
#include "widgets/effect_button.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QPieSeries>
#include <QPieSlice>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <set>
#include <stdexcept>

namespace {

// A printer that is missing, or present and failing, as the test sets it.
class PrinterFake : public ChartPrinter {
  public:
    bool present = false;
    bool fails = false;
    int printed = 0;
    bool hasPrinter() override { return present; }
    void printLandscape(const Drawing& draw) override {
        if (fails)
            throw std::runtime_error("paper jam");
        QImage page(1100, 800, QImage::Format_RGB32);
        QPainter p(&page);
        draw(p, page.rect());
        ++printed;
    }
};

class ChartWindowTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        // 第一章: 7 questions, 3 done, 20 answers of which 6 wrong; 合同: no questions yet.
        sql(QStringLiteral("update tab_kmmc set C3=7, C4=3, D1=20, D2=6 where C1='4101'"));
        sql(QStringLiteral("update tab_kmmc set C3=0, C4=0, D1=4, D2=1 where C1='1203'"));
        ChartPrinter::set(&printer);
    }
    void tearDownWindows() override {
        window.reset();
        ChartPrinter::set(nullptr);
    }
    void open() {
        window = std::make_unique<Tfrmchart>();
        window->show();
        QCoreApplication::processEvents();
    }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // Distinct colours among the picture's pixels, sampled on a grid.
    static int colours(const QImage& image) {
        std::set<QRgb> seen;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4)
                seen.insert(image.pixel(x, y));
        return int(seen.size());
    }

    PrinterFake printer;
    std::unique_ptr<Tfrmchart> window;
};

} // namespace

TEST_F(ChartWindowTest, OpensOnTheFrequencyChartOfTheChartedChapters) {
    open();
    EXPECT_EQ(window->windowTitle(), "成绩统计图");
    EXPECT_EQ(window->Notebook1->currentIndex(), Tfrmchart::FrequencyPage);
    EXPECT_TRUE(window->radioGroup1Item(1)->isChecked());
    EXPECT_EQ(window->DBChart1->chart()->title(), "频 度 统 计 图");
    ASSERT_NE(window->Series1, nullptr);
    // Both chapters are on it, 合同 first as the query returns it, also the one without questions.
    ASSERT_EQ(window->Series1->count(), 2);
    EXPECT_EQ(window->Series1->at(0), 4);
    EXPECT_EQ(window->Series1->at(1), 20);
    EXPECT_EQ(window->Series4->at(1), 6);
    EXPECT_EQ(window->Series1->color(), QColor(0, 128, 0));
    EXPECT_EQ(window->Series4->color(), QColor(255, 0, 0));
    EXPECT_EQ(window->Series1->label(), "已做题次 24");
    EXPECT_TRUE(window->DBChart1->barLabels());
    EXPECT_EQ(window->DBChart1->chart()->legend()->alignment(), Qt::AlignTop);
    for (QCheckBox* box : {window->CheckBox1, window->CheckBox2, window->CheckBox3})
        EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(window->DBChart1->depth());
}

TEST_F(ChartWindowTest, DistributionAndProgressChartsWithTheirColoursAndTotal) {
    open();
    click(window->radioGroup1Item(0));
    EXPECT_EQ(window->Notebook1->currentIndex(), Tfrmchart::DistributionPage);
    ASSERT_NE(window->Series2, nullptr);
    ASSERT_EQ(window->Series2->count(), 2);
    EXPECT_EQ(window->Series2->slices().at(1)->value(), 7);
    EXPECT_TRUE(window->Series2->slices().at(1)->label().startsWith("第一章"));
    EXPECT_EQ(window->Series2->slices().at(0)->color(), QColor(255, 0, 0));
    EXPECT_EQ(window->Series2->slices().at(1)->color(), Tfrmchart::PointColor(1));
    EXPECT_EQ(window->Label2->text(), "7");

    EXPECT_TRUE(window->Label2->isVisible());

    click(window->radioGroup1Item(2));
    EXPECT_EQ(window->Notebook1->currentIndex(), Tfrmchart::ProgressPage);
    ASSERT_NE(window->Series3, nullptr);
    // 合同 has no questions and stays off the progress chart; 3 of 7 done is 42 (not 43).
    ASSERT_EQ(window->Series3->count(), 1);
    EXPECT_EQ(window->Series3->barSets().at(0)->at(0), 42);
    EXPECT_EQ(window->Series3->barSets().at(0)->color(), Tfrmchart::PointColor(1));
}

TEST_F(ChartWindowTest, PointColoursReadTheValueWithRedInTheLowByte) {
    EXPECT_EQ(Tfrmchart::PointColor(0), QColor(255, 0, 0));
    // 255 + 80000 = 80255 = 0x01397F.
    EXPECT_EQ(Tfrmchart::PointColor(1), QColor(0x7F, 0x39, 0x01));
    // Far along, the value wraps within 24 bits instead of overflowing.
    const quint32 v = quint32(255 + 80000LL * 300) & 0xFFFFFFu;
    EXPECT_EQ(Tfrmchart::PointColor(300), QColor(v & 0xFF, (v >> 8) & 0xFF, v >> 16));
}

TEST_F(ChartWindowTest, NoChartedChapterGivesEmptyChartsAndATotalOfZero) {
    sql(QStringLiteral("update tab_kmmc set C7=null"));
    open();
    EXPECT_EQ(window->Series1->count(), 0);
    click(window->radioGroup1Item(0));
    EXPECT_EQ(window->Series2->count(), 0);
    EXPECT_EQ(window->Label2->text(), "0");
    click(window->radioGroup1Item(2));
    EXPECT_EQ(window->Series3->count(), 0);
    EXPECT_TRUE(dialogs->requests.isEmpty());
}

TEST_F(ChartWindowTest, LegendOptionsActOnTheChartOnShowAndATypeChangeResetsThem) {
    open();
    QLegend* legend = window->DBChart1->chart()->legend();
    click(window->radioGroup2Item(3));
    EXPECT_EQ(legend->alignment(), Qt::AlignRight);
    click(window->CheckBox2);
    EXPECT_FALSE(legend->isVisible());
    EXPECT_FALSE(window->RadioGroup2->isEnabled());
    click(window->CheckBox2);
    EXPECT_TRUE(legend->isVisible());
    EXPECT_TRUE(window->RadioGroup2->isEnabled());
    click(window->CheckBox3);
    EXPECT_FALSE(window->DBChart1->barLabels());
    click(window->CheckBox1);
    EXPECT_FALSE(window->DBChart1->depth());

    // Another chart type puts every option back: legend on top, all three ticked.
    click(window->radioGroup1Item(0));
    EXPECT_TRUE(window->radioGroup2Item(0)->isChecked());
    EXPECT_TRUE(window->CheckBox1->isChecked() && window->CheckBox3->isChecked());
    EXPECT_TRUE(window->DBChart2->depth());
    EXPECT_TRUE(window->Series2->slices().at(0)->isLabelVisible());
    EXPECT_EQ(window->DBChart2->chart()->legend()->alignment(), Qt::AlignTop);

    // With the legend at the bottom the total moves up 30 pixels, however often it is chosen.
    const int top = window->Label1->y();
    click(window->radioGroup2Item(1));
    click(window->radioGroup2Item(1));
    EXPECT_EQ(window->DBChart2->chart()->legend()->alignment(), Qt::AlignBottom);
    EXPECT_EQ(window->Label1->y(), top - 30);
    EXPECT_EQ(window->Label2->y(), top - 30);
    click(window->radioGroup2Item(2));
    EXPECT_EQ(window->Label1->y(), top);
}

TEST_F(ChartWindowTest, PrintingWithoutAPrinterOrWithAFailingOne) {
    open();
    click(window->epFocusButton1);
    ASSERT_EQ(dialogs->requests.size(), 1);
    EXPECT_EQ(dialogs->last().title, "提示");
    EXPECT_EQ(dialogs->last().text, "没有发现打印机！");
    EXPECT_EQ(printer.printed, 0);

    printer.present = true;
    click(window->epFocusButton1);
    EXPECT_EQ(printer.printed, 1);
    EXPECT_EQ(dialogs->requests.size(), 1);

    printer.fails = true;
    click(window->epFocusButton1);
    EXPECT_EQ(dialogs->last().title, "错误");
    EXPECT_EQ(dialogs->last().text, "打印时发生错误！");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ChartWindowTest, SavesTheChartOnShowAsAPictureOfItsSize) {
    QTemporaryDir dir;
    open();
    dialogs->choosePath(dir.filePath(QStringLiteral("频度")));
    click(window->epFocusButton3);
    ASSERT_FALSE(dialogs->requests.isEmpty());
    EXPECT_TRUE(dialogs->requests.first().filter.contains("Bitmaps图片 (*.bmp)"));
    // A name without a suffix becomes a bitmap.
    const QImage bitmap(dir.filePath(QStringLiteral("频度.bmp")));
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_EQ(bitmap.size(), window->DBChart1->size());
    EXPECT_GT(colours(bitmap), 20); // bars, legend, axes and the gradient: not blank

    click(window->radioGroup1Item(0));
    dialogs->choosePath(dir.filePath(QStringLiteral("分布.png")));
    click(window->epFocusButton3);
    const QImage png(dir.filePath(QStringLiteral("分布.png")));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), window->DBChart2->size());
    // The pie's first slice is pure red.
    bool red = false;
    for (int y = 0; y < png.height() && !red; y += 2)
        for (int x = 0; x < png.width() && !red; x += 2)
            red = png.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(red);
    const qsizetype asked = dialogs->requests.size();

    // Cancelled: nothing happens. A folder that is not there: the program's message.
    click(window->epFocusButton3);
    EXPECT_EQ(dialogs->requests.size(), asked + 1);
    dialogs->choosePath(dir.filePath(QStringLiteral("没有/图.bmp")));
    click(window->epFocusButton3);
    EXPECT_EQ(dialogs->last().text, "无法保存文件！");
    EXPECT_EQ(dialogs->last().title, "错误");
}

namespace {

// The chart printed through the program's own printing on a private CUPS server with a PDF
// printer, the only printer this process sees.
class ChartPrintTest : public GuiBankTest {
  protected:
    void setUpWindows() override {
        server = std::make_unique<PdfPrinter>();
        sql(QStringLiteral("update tab_kmmc set C3=7, C4=3, D1=20, D2=6 where C1='4101'"));
    }
    void tearDownWindows() override {
        window.reset();
        server.reset();
    }
    std::unique_ptr<PdfPrinter> server;
    std::unique_ptr<Tfrmchart> window;
};

} // namespace

TEST_F(ChartPrintTest, PrintsTheChartOnShowAsOneLandscapePage) {
    if (!server->ready())
        GTEST_SKIP() << "no CUPS server could be started: " << server->whyNot().toStdString();
    window = std::make_unique<Tfrmchart>();
    window->show();
    QCoreApplication::processEvents();
    QTest::mouseClick(window->epFocusButton1, Qt::LeftButton);
    EXPECT_TRUE(dialogs->requests.isEmpty()) << dialogs->texts().join(' ').toStdString();
    const QString pdf = server->waitForPdf(60000);
    ASSERT_FALSE(pdf.isEmpty()) << server->serverLog().toStdString();
    EXPECT_EQ(PrintedPdf::pageCount(pdf), 1);
    EXPECT_TRUE(PrintedPdf::firstPageIsLandscape(pdf));
    EXPECT_FALSE(PrintedPdf::firstPageIsBlank(pdf));
    // A second print, of another chart, comes out landscape too: the orientation put back
    // after the first does not leak into the next.
    QTest::mouseClick(window->radioGroup1Item(0), Qt::LeftButton);
    QTest::mouseClick(window->epFocusButton1, Qt::LeftButton);
    const QString second = server->waitForPdf(60000);
    ASSERT_FALSE(second.isEmpty()) << server->serverLog().toStdString();
    EXPECT_TRUE(PrintedPdf::firstPageIsLandscape(second));
    EXPECT_FALSE(PrintedPdf::firstPageIsBlank(second));
}
