#pragma once

#include "bank_source.h"

class Database;
class QDateTime;

// Checks the source records and writes them, with their counters, into an empty database that
// already holds the bank schema. Throws SourceError naming the place of the first fault.
void writeBank(const QVector<SourceRecord>& records, Database& db);

// Checks the records of an upgrade against the bank it is meant for and writes them into an
// empty database that holds the bank schema (without its lock). The records may refer to the
// bank's rows but bring new ones only, no @type or @plan, and exactly one @upgrade: a new upgrade
// id (sjbs) for a product (cpbs) the bank is of. Counters count the upgrade's own questions; a
// question's xx continues after the highest the bank has in its chapter. The bank is only read.
// Throws SourceError naming the place of the first fault.
void writeUpgrade(const QVector<SourceRecord>& records, Database& bank, Database& db);

// Builds a complete bank file (schema, lock, rows) from a source folder. The file is written
// beside its final name and moved there only when complete. An old file there that holds a
// learner's progress is kept aside first (keepAsideIfItHoldsProgress); a stale write-ahead log
// beside it is removed.
void buildBankFile(const QString& sourceFolder, const QString& outFile);

// Builds an upgrade file for the bank bankFile (opened read-only, never written) from a source
// folder: the bank's tables but its lock, holding the new rows and one tab_sj row. Like a bank
// file, it is written beside its final name and moved there only when complete.
void buildUpgradeFile(const QString& bankFile, const QString& sourceFolder, const QString& outFile);

// Banks beside the program once held the learner's own answers. When bankFile holds any (a log
// row or an answered question), it is made one self-contained file and renamed to
// "<bankFile>.progress-<yyyyMMdd-HHmmss>", which the program adopts as the learner's bank at its
// first start. Answers the new name, or an empty text when nothing was kept.
QString keepAsideIfItHoldsProgress(const QString& bankFile, const QDateTime& now);

// The RTF of a source text: one paragraph per line, **words** in bold.
QByteArray sourceTextToRtf(const QString& text);
