#pragma once

#include <QString>

// Opens a document with the program the desktop associates with it. The result is not reported:
// a document that cannot be opened is quietly ignored.
class DocumentOpener {
  public:
    virtual ~DocumentOpener() = default;
    virtual void open(const QString& path) = 0;
};

class DesktopDocumentOpener : public DocumentOpener {
  public:
    void open(const QString& path) override;
};

// Shows the desktop: the program's own windows step out of the way.
class DesktopControl {
  public:
    virtual ~DesktopControl() = default;
    virtual void showDesktop() = 0;
};

class WindowMinimizer : public DesktopControl {
  public:
    void showDesktop() override;
};
