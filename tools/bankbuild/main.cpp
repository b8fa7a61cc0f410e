// bankbuild SOURCE-FOLDER BANK-FILE: turns the bank's human-readable source into the bank file.
#include "bank_writer.h"

#include "store/database.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    // Rich text is laid out through Qt Gui; no display is needed for that.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: bankbuild SOURCE-FOLDER BANK-FILE\n");
        return 2;
    }
    try {
        buildBankFile(args[1], args[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bankbuild: %s\n", e.what());
        return 1;
    }
    return 0;
}
