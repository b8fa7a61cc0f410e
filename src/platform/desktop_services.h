#pragma once

#include <QString>

// Opens a document with the program the desktop associates with it.
class DocumentOpener {
  public:
    virtual ~DocumentOpener() = default;
    // False when the desktop has no program for the document (or none could be started); the
    // caller then shows it another way.
    virtual bool open(const QString& path) = 0;
};

class DesktopDocumentOpener : public DocumentOpener {
  public:
    bool open(const QString& path) override;

    // True when the desktop names a program for the file's type. Without the desktop's MIME
    // tools this cannot be known, and the answer is yes.
    static bool hasProgramFor(const QString& path);
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
