// bankbuild SOURCE-FOLDER BANK-FILE: turns the bank's human-readable source into the bank file.
// bankbuild --upgrade BANK-FILE SOURCE-FOLDER UPGRADE-FILE: turns the source of new rows into an
// upgrade file for that bank.
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
    const bool upgrade = args.size() == 5 && args[1] == QLatin1String("--upgrade");
    if (!upgrade && (args.size() != 3 || args[1].startsWith(QLatin1String("--")))) {
        std::fprintf(stderr,
                     "usage: bankbuild SOURCE-FOLDER BANK-FILE\n"
                     "         builds the bank file from its source\n"
                     "       bankbuild --upgrade BANK-FILE SOURCE-FOLDER UPGRADE-FILE\n"
                     "         builds an upgrade file of new rows for BANK-FILE (only read)\n");
        return 2;
    }
    try {
        if (upgrade)
            buildUpgradeFile(args[2], args[3], args[4]);
        else
            buildBankFile(args[1], args[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bankbuild: %s\n", e.what());
        return 1;
    }
    return 0;
}
