#pragma once

// RTF <-> QTextDocument codec for the rich-text columns of the question bank
// (question texts, explanations, knowledge-point texts).

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace Rtf {

// Reads RTF into doc (cleared first). Best effort: what cannot be shown is skipped without losing
// the text. Returns false only when the input is not RTF at all; then doc holds the input as plain
// text if it looks like text (UTF-8, else code page 936), else it stays empty.
bool read(const QByteArray& rtf, QTextDocument* doc);

// RTF (\ansi\ansicpg936) that word processors open with text, character formatting, alignment,
// tables and pictures intact.
QByteArray write(const QTextDocument& doc);

// One paragraph per line of text ("\n", "\r\n" or "\r" end a line).
QByteArray fromPlainText(const QString& text);

// Convenience: read + QTextDocument::toPlainText.
QString toPlainText(const QByteArray& rtf);

} // namespace Rtf
