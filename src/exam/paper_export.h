#pragma once

// A graded paper as a word-processor document, without widgets: the questions grouped by type
// under numbered headings, then, on a new page, the answer section with every question's key,
// explanation and knowledge points. The document is written as OpenDocument text, which the
// exam window hands to the desktop's word processor.

#include <QString>

class QTextDocument;
class TDM1;

namespace PaperExport {

// "一、" .. "五、" for 1 .. 5, "--" for any other number.
QString ChineseOrdinal(int n);

// The name (B1) of a question type in the type table of an exam kind (0 is taken as 1), or
// "未知题型" when the table has no row for the code.
QString TypeName(TDM1& dm, int kind, int typeCode);

// Fills doc (cleared first) with the document of the paper table (a paper table's name, else
// Paper::BadPaperName), its questions in paper order (type code, then id), the type headings
// from the type table of the kind. Rich-text fields keep their formatting and pictures; every
// picture becomes a resource of doc under a name of its own. Engine failures pass as DbError.
void BuildDocument(TDM1& dm, const QString& table, const QString& title, int kind,
                   QTextDocument* doc);

// "导出试卷" in the user's cache folder: where the exam window writes its documents.
QString OutputFolder();

// The title as a file name: characters no file name may hold become "_", an empty result
// becomes "试卷".
QString FileBaseName(const QString& title);

// Writes doc as OpenDocument text into folder (made when missing) as "<FileBaseName>.odt".
// A file of that name is replaced unless a word processor holds it open (or it cannot be
// removed); then "<name>(2).odt", "(3)" ... is taken. Answers the file written, or the empty
// text when it could not be written (nothing half-written stays).
QString WriteOdt(const QTextDocument& doc, const QString& title, const QString& folder);

} // namespace PaperExport
