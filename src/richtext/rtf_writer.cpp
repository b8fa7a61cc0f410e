// Writes a QTextDocument as RTF: \ansi\ansicpg936, a font and a colour table, character and
// paragraph formatting, tables and pictures (PNG).

#include "richtext/rtf_codec.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QVariant>

#include <cmath>
#include <vector>

namespace Rtf {

namespace {

// Twips per pixel at 96 logical pixels per inch.
constexpr int TwipsPerPixel = 15;
// Width of a table written without column widths: a page of A4 minus margins.
constexpr int TableWidthTwips = 9000;
const QString DefaultFontFamily = QStringLiteral("宋体");

class Writer {
  public:
    explicit Writer(const QTextDocument& doc) : m_doc(doc), m_gbk("GB18030") {
        m_fonts.push_back(DefaultFontFamily);
        m_colors.push_back(QColor()); // index 0: "auto"
    }

    QByteArray run() {
        if (!m_doc.isEmpty())
            writeFrame(m_doc.rootFrame());
        QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052\\uc2";
        out += "{\\fonttbl";
        for (int i = 0; i < int(m_fonts.size()); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset134 ";
            appendText(out, m_fonts[size_t(i)]);
            out += ";}";
        }
        out += "}\r\n{\\colortbl;";
        for (size_t i = 1; i < m_colors.size(); ++i) {
            const QColor& c = m_colors[i];
            out += "\\red" + QByteArray::number(c.red()) + "\\green" +
                   QByteArray::number(c.green()) + "\\blue" + QByteArray::number(c.blue()) + ";";
        }
        out += "}\r\n{\\*\\generator Tarnwick;}\\viewkind4\r\n";
        out += m_body;
        out += "}\r\n";
        return out;
    }

  private:
    const QTextDocument& m_doc;
    QStringEncoder m_gbk;
    std::vector<QString> m_fonts;
    std::vector<QColor> m_colors;
    QByteArray m_body;

    int fontIndex(const QString& family) {
        for (size_t i = 0; i < m_fonts.size(); ++i)
            if (m_fonts[i] == family)
                return int(i);
        m_fonts.push_back(family);
        return int(m_fonts.size()) - 1;
    }

    int colorIndex(const QColor& color) {
        const QColor rgb = color.toRgb();
        for (size_t i = 1; i < m_colors.size(); ++i)
            if (m_colors[i].rgb() == rgb.rgb())
                return int(i);
        m_colors.push_back(rgb);
        return int(m_colors.size()) - 1;
    }

    // Characters below 0x80 as they are (escaped where RTF needs it); others as \uN followed by
    // their GBK bytes (or "??" when GBK has no two-byte form), read under \uc2.
    void appendText(QByteArray& out, QStringView text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t ch = text[i].unicode();
            switch (ch) {
            case u'\\':
                out += "\\\\";
                continue;
            case u'{':
                out += "\\{";
                continue;
            case u'}':
                out += "\\}";
                continue;
            case u'\t':
                out += "\\tab ";
                continue;
            case u'\n':
            case 0x2028: // QChar::LineSeparator
                out += "\\line ";
                continue;
            case 0x2029: // QChar::ParagraphSeparator
                out += "\\par ";
                continue;
            case 0x00A0:
                out += "\\~";
                continue;
            case u'\r':
            case 0xFFFC: // object replacement without an image
                continue;
            default:
                break;
            }
            if (ch < 0x20)
                continue;
            if (ch < 0x80) {
                out += char(ch);
                continue;
            }
            out += "\\u" + QByteArray::number(ch > 32767 ? int(ch) - 65536 : int(ch));
            QByteArray fallback;
            if (!QChar::isSurrogate(ch)) {
                fallback = m_gbk.encode(text.mid(i, 1));
                m_gbk.resetState();
            }
            if (fallback.size() == 2 && uchar(fallback[0]) >= 0x81) {
                static const char hex[] = "0123456789abcdef";
                for (char b : fallback) {
                    out += "\\'";
                    out += hex[(uchar(b) >> 4) & 0xF];
                    out += hex[uchar(b) & 0xF];
                }
            } else {
                out += "??";
            }
        }
    }

    void writeFrame(QTextFrame* frame) {
        // QTextDocument keeps an empty block before a table that opens the document and after a
        // table that ends it; those blocks are not the author's paragraphs.
        std::vector<QTextFrame::iterator> items;
        for (auto it = frame->begin(); !it.atEnd(); ++it)
            items.push_back(it);
        for (size_t i = 0; i < items.size(); ++i) {
            const auto& it = items[i];
            if (QTextFrame* child = it.currentFrame()) {
                if (auto* table = qobject_cast<QTextTable*>(child))
                    writeTable(table);
                else
                    writeFrame(child);
                continue;
            }
            const QTextBlock block = it.currentBlock();
            const bool empty = block.length() <= 1;
            if (empty && frame == m_doc.rootFrame()) {
                const bool tableAfter = i + 1 < items.size() && items[i + 1].currentFrame();
                const bool tableBefore = i > 0 && items[i - 1].currentFrame();
                if ((i == 0 && tableAfter) || (i + 1 == items.size() && tableBefore))
                    continue;
            }
            writeBlock(block, false);
            m_body += "\\par\r\n";
        }
    }

    void writeParagraphFormat(const QTextBlockFormat& fmt, bool inTable) {
        m_body += "\\pard\\plain";
        if (inTable)
            m_body += "\\intbl";
        const Qt::Alignment align = fmt.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            m_body += "\\qc";
        else if (align & Qt::AlignJustify)
            m_body += "\\qj";
        else if (align & Qt::AlignRight)
            m_body += "\\qr";
        else if (align & Qt::AlignLeft)
            m_body += "\\ql";
        if (fmt.hasProperty(QTextFormat::BlockLeftMargin) && fmt.leftMargin() > 0)
            m_body += "\\li" + QByteArray::number(qRound(fmt.leftMargin() * TwipsPerPixel));
        if (fmt.hasProperty(QTextFormat::BlockRightMargin) && fmt.rightMargin() > 0)
            m_body += "\\ri" + QByteArray::number(qRound(fmt.rightMargin() * TwipsPerPixel));
        if (fmt.hasProperty(QTextFormat::TextIndent) && fmt.textIndent() != 0)
            m_body += "\\fi" + QByteArray::number(qRound(fmt.textIndent() * TwipsPerPixel));
        m_body += ' ';
    }

    void writeBlock(const QTextBlock& block, bool inTable) {
        writeParagraphFormat(block.blockFormat(), inTable);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat fmt = fragment.charFormat();
            if (fmt.isImageFormat()) {
                const QTextImageFormat image = fmt.toImageFormat();
                for (int k = 0; k < fragment.length(); ++k)
                    writeImage(image);
                continue;
            }
            m_body += '{';
            writeCharFormat(fmt);
            m_body += ' ';
            appendText(m_body, fragment.text());
            m_body += '}';
        }
    }

    void writeCharFormat(const QTextCharFormat& fmt) {
        const QStringList families = fmt.fontFamilies().toStringList();
        const QString family = families.isEmpty() ? QString() : families.first();
        m_body += "\\f" + QByteArray::number(family.isEmpty() ? 0 : fontIndex(family));
        if (fmt.hasProperty(QTextFormat::FontPointSize) && fmt.fontPointSize() > 0)
            m_body += "\\fs" + QByteArray::number(qBound(2, qRound(fmt.fontPointSize() * 2), 3276));
        if (fmt.fontWeight() >= QFont::DemiBold)
            m_body += "\\b";
        if (fmt.fontItalic())
            m_body += "\\i";
        if (fmt.fontUnderline())
            m_body += "\\ul";
        if (fmt.fontStrikeOut())
            m_body += "\\strike";
        if (fmt.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            m_body += "\\super";
        else if (fmt.verticalAlignment() == QTextCharFormat::AlignSubScript)
            m_body += "\\sub";
        if (fmt.hasProperty(QTextFormat::ForegroundBrush) &&
            fmt.foreground().style() != Qt::NoBrush)
            m_body += "\\cf" + QByteArray::number(colorIndex(fmt.foreground().color()));
        if (fmt.hasProperty(QTextFormat::BackgroundBrush) &&
            fmt.background().style() != Qt::NoBrush)
            m_body += "\\highlight" + QByteArray::number(colorIndex(fmt.background().color()));
    }

    void writeImage(const QTextImageFormat& fmt) {
        const QVariant resource = m_doc.resource(QTextDocument::ImageResource, QUrl(fmt.name()));
        QImage image;
        if (resource.canConvert<QImage>())
            image = resource.value<QImage>();
        if (image.isNull() && resource.typeId() == QMetaType::QByteArray)
            image.loadFromData(resource.toByteArray());
        if (image.isNull())
            return; // nothing to show; the document's text stays whole
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return;
        const int width = fmt.width() > 0 ? qRound(fmt.width()) : image.width();
        const int height = fmt.height() > 0 ? qRound(fmt.height()) : image.height();
        m_body += "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
                  QByteArray::number(image.height()) + "\\picwgoal" +
                  QByteArray::number(width * TwipsPerPixel) + "\\pichgoal" +
                  QByteArray::number(height * TwipsPerPixel) + "\r\n";
        const QByteArray hex = png.toHex();
        for (qsizetype pos = 0; pos < hex.size(); pos += 128) {
            m_body += hex.mid(pos, 128);
            m_body += "\r\n";
        }
        m_body += '}';
    }

    void writeCellContent(const QTextTableCell& cell) {
        // Every paragraph of a cell but the last ends with \par; the last one ends with \cell.
        std::vector<QTextBlock> blocks;
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            if (QTextFrame* nested = it.currentFrame()) {
                // A table inside a cell is written as its paragraphs.
                for (QTextBlock b = m_doc.findBlock(nested->firstPosition());
                     b.isValid() && b.position() <= nested->lastPosition(); b = b.next())
                    blocks.push_back(b);
                continue;
            }
            blocks.push_back(it.currentBlock());
        }
        if (blocks.empty()) {
            writeParagraphFormat(QTextBlockFormat(), true);
            m_body += "\\cell\r\n";
            return;
        }
        for (size_t i = 0; i < blocks.size(); ++i) {
            writeBlock(blocks[i], true);
            m_body += i + 1 == blocks.size() ? "\\cell\r\n" : "\\par\r\n";
        }
    }

    void writeTable(QTextTable* table) {
        const int rows = table->rows();
        const int columns = table->columns();
        if (rows <= 0 || columns <= 0)
            return;
        const int cellWidth = TableWidthTwips / columns;
        for (int r = 0; r < rows; ++r) {
            m_body += "\\trowd\\trgaph108\\trleft0";
            for (int c = 0; c < columns; ++c) {
                m_body += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                          "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx" +
                          QByteArray::number(cellWidth * (c + 1));
            }
            m_body += "\r\n";
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.isValid() && cell.row() == r && cell.column() == c) {
                    writeCellContent(cell);
                } else {
                    // Covered by a spanning cell: an empty cell keeps the grid.
                    writeParagraphFormat(QTextBlockFormat(), true);
                    m_body += "\\cell\r\n";
                }
            }
            m_body += "\\row\r\n";
        }
        m_body += "\\pard\\plain ";
    }
};

} // namespace

QByteArray write(const QTextDocument& doc) {
    return Writer(doc).run();
}

QByteArray fromPlainText(const QString& text) {
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(u'\r', u'\n');
    QTextDocument doc;
    doc.setPlainText(normalized);
    return write(doc);
}

} // namespace Rtf
