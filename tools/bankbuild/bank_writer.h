#pragma once

#include "bank_source.h"

class Database;

// Checks the source records and writes them, with their counters, into an empty database that
// already holds the bank schema. Throws SourceError naming the place of the first fault.
void writeBank(const QVector<SourceRecord>& records, Database& db);

// Builds a complete bank file (schema, lock, rows) from a source folder. The file is written
// beside its final name and moved there only when complete.
void buildBankFile(const QString& sourceFolder, const QString& outFile);

// The RTF of a source text: one paragraph per line, **words** in bold.
QByteArray sourceTextToRtf(const QString& text);
