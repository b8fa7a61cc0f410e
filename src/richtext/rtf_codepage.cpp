#include "richtext/rtf_codepage.h"

#include <QStringDecoder>

namespace Rtf::detail {

int codePageForCharset(int charset) {
    switch (charset) {
    case 128:
        return 932; // Shift-JIS
    case 129:
        return 949; // Hangul
    case 130:
        return 1361; // Johab
    case 134:
        return 936; // GB2312 / GBK
    case 136:
        return 950; // Big5
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 77:
        return 10000;
    default:
        return 0;
    }
}

QByteArray encodingNameForCodePage(int codePage) {
    switch (codePage) {
    case 936:
    case 54936:
        return "GB18030"; // a superset of GBK, itself a superset of GB2312
    case 950:
        return "Big5";
    case 932:
        return "Shift_JIS";
    case 949:
        return "windows-949";
    case 874:
        return "windows-874";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    case 20127:
        return "US-ASCII";
    case 28591:
        return "ISO-8859-1";
    default:
        if (codePage >= 1250 && codePage <= 1258)
            return "windows-" + QByteArray::number(codePage);
        return {};
    }
}

QString decode(const QByteArray& bytes, int codePage) {
    if (bytes.isEmpty())
        return {};
    const QByteArray name = encodingNameForCodePage(codePage);
    if (!name.isEmpty()) {
        QStringDecoder decoder(name.constData());
        if (decoder.isValid())
            return decoder.decode(bytes); // broken sequences come out as U+FFFD
    }
    return QString::fromLatin1(bytes);
}

} // namespace Rtf::detail
