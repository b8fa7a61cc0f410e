#pragma once

// Code pages of RTF documents: \ansicpgN, \cpgN and the Windows character sets of \fcharsetN.

#include <QByteArray>
#include <QString>

namespace Rtf::detail {

// The Windows code page a font character set stands for; 0 when the set names no code page
// (ANSI/default/symbol: the document's own code page applies).
int codePageForCharset(int charset);

// The converter name Qt knows a Windows code page by; empty when there is none.
QByteArray encodingNameForCodePage(int codePage);

// Decodes bytes in a Windows code page; code pages Qt cannot convert fall back to Latin-1 so no
// byte is lost.
QString decode(const QByteArray& bytes, int codePage);

} // namespace Rtf::detail
