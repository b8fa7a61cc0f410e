#pragma once

#include <QHash>
#include <QString>
#include <QVector>

#include <stdexcept>

// A fault in the bank's source, with the place it was found.
class SourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One record of the source: "@kind" and its fields.
struct SourceRecord {
    QString kind;
    QHash<QString, QString> fields; // block fields keep their lines joined by "\n"
    QHash<QString, int> fieldLines;
    QString file;
    int line = 0;

    QString where(const QString& key = {}) const;
    QString value(const QString& key) const { return fields.value(key); }
    bool has(const QString& key) const { return fields.contains(key); }
};

// Reads every *.txt file under folder (recursively, in path order).
QVector<SourceRecord> readSourceFolder(const QString& folder); // CMakeLists.txt is not source

// Reads one file's text; file names the place in error messages.
QVector<SourceRecord> parseSource(const QString& text, const QString& file);
