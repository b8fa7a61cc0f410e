// Hostile and damaged input: deep nesting, huge numbers, oversized pictures and tables, truncation.
// Each case must give a best-effort document quickly, keeping the text it can.

#include "richtext/rtf_codec.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

namespace {

QString readText(const QByteArray& rtf) {
    QTextDocument doc;
    Rtf::read(rtf, &doc);
    return doc.toPlainText();
}

TEST(RtfHostile, DeepNestingIsBounded) {
    const int depth = 100000;
    const QByteArray rtf =
        "{\\rtf1 a" + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "c}";
    QElapsedTimer timer;
    timer.start();
    const QString text = readText(rtf);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(text.startsWith(u'a'));
    EXPECT_TRUE(text.endsWith(u'c')) << "the groups below the limit close properly";
}

TEST(RtfHostile, NestingWithinTheLimitKeepsText) {
    const QByteArray rtf =
        "{\\rtf1 a" + QByteArray(200, '{') + "deep" + QByteArray(200, '}') + "c}";
    EXPECT_EQ(readText(rtf), QStringLiteral("adeepc"));
}

TEST(RtfHostile, HugeNumbersAreClamped) {
    const QByteArray rtf =
        "{\\rtf1\\uc99999999999999 \\u99999999999999999999 a\\fs999999999999 b"
        "\\fs-5 c\\cf2147483647 d\\f-2147483648 e\\cellx99999999999\\li-999999 f"
        "{\\pict\\pngblip\\picw2147483647\\pich-2147483647\\picscalex99999999 00}"
        "\\uc1\\u-99999999 ?g}";
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(rtf, &doc));
    // \uc is clamped to a small skip count, so the text after the \u is not swallowed whole.
    EXPECT_TRUE(doc.toPlainText().contains(QStringLiteral("g")));
    EXPECT_TRUE(doc.toPlainText().contains(QStringLiteral("f")));
}

TEST(RtfHostile, HugeBinCountStopsAtEndOfInput) {
    EXPECT_EQ(readText("{\\rtf1 a\\bin999999999999 xyz"), QStringLiteral("a"));
    EXPECT_EQ(readText("{\\rtf1 a{\\pict\\pngblip\\bin2147483647 xyz"), QStringLiteral("a"));
    EXPECT_EQ(readText("{\\rtf1 a\\bin-5 b}"), QStringLiteral("ab"));
}

quint32 crc32Of(const QByteArray& data) {
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= uchar(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose header claims a picture far larger than any screen.
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray ihdr("IHDR");
    auto be32 = [](QByteArray& out, quint32 v) {
        out += char(v >> 24);
        out += char(v >> 16);
        out += char(v >> 8);
        out += char(v);
    };
    be32(ihdr, width);
    be32(ihdr, height);
    ihdr += QByteArray("\x08\x06\x00\x00\x00", 5);
    be32(png, 13);
    png += ihdr;
    be32(png, crc32Of(ihdr));
    png += QByteArray(64, '\0');
    return png;
}

TEST(RtfHostile, OversizedPictureIsSkipped) {
    QElapsedTimer timer;
    timer.start();
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip " + pngClaiming(60000, 60000).toHex() + "}b}";
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(rtf, &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("ab"));
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(RtfHostile, OversizedPictureDataIsDropped) {
    // 20 MB of hex: over the limit for one picture; the text around it stays.
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip " + QByteArray(40 << 20, 'a') + "}b}";
    EXPECT_EQ(readText(rtf), QStringLiteral("ab"));
}

TEST(RtfHostile, ManyParagraphsKeepTheirText) {
    QByteArray rtf = "{\\rtf1 ";
    const int count = 60000;
    for (int i = 0; i < count; ++i)
        rtf += "x\\par ";
    rtf += "}";
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(rtf, &doc));
    EXPECT_LE(doc.blockCount(), 50001);
    EXPECT_EQ(doc.toPlainText().count(u'x'), count);
}

TEST(RtfHostile, WideAndLongTablesAreBounded) {
    QByteArray wide = "{\\rtf1\\trowd\\pard\\intbl ";
    for (int i = 0; i < 200; ++i)
        wide += "c" + QByteArray::number(i) + "\\cell ";
    wide += "\\row}";
    QTextDocument doc;
    ASSERT_TRUE(Rtf::read(wide, &doc));
    int cells = 0;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f)) {
            EXPECT_LE(t->columns(), 64);
            cells += t->rows() * t->columns();
        }
    EXPECT_GT(cells, 0);
    EXPECT_TRUE(doc.toPlainText().contains(QStringLiteral("c199")));

    QByteArray lng = "{\\rtf1 ";
    for (int i = 0; i < 6000; ++i)
        lng += "\\trowd\\cellx100\\pard\\intbl r\\cell\\row ";
    lng += "}";
    ASSERT_TRUE(Rtf::read(lng, &doc));
    int total = 0;
    for (QTextFrame* f : doc.rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f)) {
            EXPECT_LE(t->rows() * t->columns(), 5000);
            total += t->rows();
        }
    EXPECT_EQ(total, 6000);
}

TEST(RtfHostile, EveryPrefixOfASampleReads) {
    QFile file(QStringLiteral(RTF_SAMPLES_DIR "/word_gbk.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const QString full = readText(whole);
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        const QString text = readText(whole.left(n));
        ASSERT_LE(text.size(), full.size() + 1) << n;
    }
}

TEST(RtfHostile, RegressionCorpusReads) {
    const QDir dir(QStringLiteral(RTF_CORPUS_DIR));
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QTextDocument doc;
        Rtf::read(file.readAll(), &doc);
        // Whatever was read can be written and read again.
        QTextDocument again;
        Rtf::read(Rtf::write(doc), &again);
        EXPECT_EQ(again.toPlainText().count(QChar::ObjectReplacementCharacter),
                  doc.toPlainText().count(QChar::ObjectReplacementCharacter));
    }
}

} // namespace
