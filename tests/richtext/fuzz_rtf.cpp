// libFuzzer target for the RTF reader: every input must read without crash, hang or huge
// allocation, and what was read must write and read again.

#include "richtext/rtf_codec.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    Rtf::read(input, &doc);
    const QByteArray again = Rtf::write(doc);
    QTextDocument second;
    Rtf::read(again, &second);
    return 0;
}
