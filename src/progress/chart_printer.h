#pragma once

#include <QRect>

#include <functional>

class QPainter;

// Printing one page on the system's default printer. The program prints through Qt's print
// support; a test puts its own printer in place with set() and restores the real one with nullptr
// (the caller keeps ownership of what it sets).
class ChartPrinter {
  public:
    virtual ~ChartPrinter() = default;

    // Whether the system has a printer to print on.
    virtual bool hasPrinter() = 0;
    // Prints one landscape page on the default printer: draw paints it, given the painter and
    // the page's printable area in its device pixels. The printer's orientation is put back
    // afterwards. Throws std::runtime_error when the page cannot be printed.
    using Drawing = std::function<void(QPainter& painter, const QRect& page)>;
    virtual void printLandscape(const Drawing& draw) = 0;

    static ChartPrinter& current();
    static void set(ChartPrinter* printer);
};
