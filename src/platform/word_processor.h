#pragma once

#include <QString>

// The desktop's word processor, which takes a document the program wrote.
class WordProcessor {
  public:
    virtual ~WordProcessor() = default;
    // Opens the document in the word processor: as a new, unsaved document based on it where the
    // word processor allows that, else as the file itself. False when no program on this machine
    // could be started for it.
    virtual bool openAsNewDocument(const QString& path) = 0;
};

// LibreOffice Writer when it is installed (it opens the file as an untitled document), else the
// program the desktop associates with OpenDocument text.
class DesktopWordProcessor : public WordProcessor {
  public:
    bool openAsNewDocument(const QString& path) override;

    // The LibreOffice program on the search path, or empty.
    static QString findOffice();
};
