#include "bank_source.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

QString SourceRecord::where(const QString& key) const {
    const int l = key.isEmpty() ? line : fieldLines.value(key, line);
    return file + QLatin1Char(':') + QString::number(l);
}

QVector<SourceRecord> parseSource(const QString& text, const QString& file) {
    static const QRegularExpression fieldLine(
        QStringLiteral("^([A-Za-z][A-Za-z0-9_]*)\\s*:\\s?(.*)$"));
    QVector<SourceRecord> records;
    const QStringList lines = text.split(QLatin1Char('\n'));
    SourceRecord* current = nullptr;
    QString blockKey;
    QStringList block;

    const auto fail = [&](int line, const QString& what) {
        throw SourceError(
            (file + QLatin1Char(':') + QString::number(line) + QStringLiteral(": ") + what)
                .toStdString());
    };
    const auto endBlock = [&]() {
        if (blockKey.isEmpty())
            return;
        while (!block.isEmpty() && block.last().isEmpty())
            block.removeLast();
        current->fields.insert(blockKey, block.join(QLatin1Char('\n')));
        blockKey.clear();
        block.clear();
    };

    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int lineNo = i + 1;
        if (!blockKey.isEmpty()) {
            if (line.startsWith(QLatin1String("  "))) {
                block << line.mid(2).trimmed();
                continue;
            }
            if (line.trimmed().isEmpty()) {
                block << QString();
                continue;
            }
            endBlock();
        }
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (trimmed.startsWith(QLatin1Char('@'))) {
            SourceRecord r;
            r.kind = trimmed.mid(1).trimmed();
            r.file = file;
            r.line = lineNo;
            records.push_back(r);
            current = &records.last();
            continue;
        }
        if (!current)
            fail(lineNo, QStringLiteral("a field before the first @record"));
        const auto m = fieldLine.match(line);
        if (!m.hasMatch())
            fail(lineNo, QStringLiteral("expected 'key: value', found '%1'").arg(trimmed));
        const QString key = m.captured(1);
        const QString value = m.captured(2).trimmed();
        if (current->fields.contains(key))
            fail(lineNo, QStringLiteral("field '%1' given twice").arg(key));
        current->fieldLines.insert(key, lineNo);
        if (value == QLatin1String("|")) {
            blockKey = key;
            block.clear();
        } else {
            current->fields.insert(key, value);
        }
    }
    if (!blockKey.isEmpty())
        endBlock();
    return records;
}

QVector<SourceRecord> readSourceFolder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).fileName() != QLatin1String("CMakeLists.txt"))
            files << path;
    }
    std::sort(files.begin(), files.end());
    if (files.isEmpty())
        throw SourceError(("no *.txt source files in " + folder).toStdString());
    QVector<SourceRecord> all;
    for (const QString& path : files) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw SourceError(("cannot read " + path).toStdString());
        const QByteArray bytes = f.readAll();
        const QString rel =
            path.mid(folder.size()).remove(QRegularExpression(QStringLiteral("^/+")));
        all += parseSource(QString::fromUtf8(bytes), rel);
    }
    return all;
}
