// Reads RTF into a QTextDocument.
//
// The reader is a single pass over the bytes with a stack of group states. What it collects
// (paragraphs of formatted runs, tables of such paragraphs, pictures) is kept in a small model and
// laid into the document at the end. Every quantity that comes from the input is bounded: group
// depth, numbers, table sizes, picture sizes and the amount of text, so hostile input yields a
// partial document and never a crash, a hang or a huge allocation.

#include "richtext/rtf_codec.h"
#include "richtext/rtf_codepage.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Rtf {

namespace {

constexpr int MaxDepth = 256;               // nested groups
constexpr int MaxKeywordLength = 32;        // letters of a control word
constexpr int MaxParameterDigits = 10;      // digits of a control word's number
constexpr qsizetype MaxTextChars = 4 << 20; // characters of text in one document
constexpr int MaxRuns = 1 << 20;            // differently formatted pieces of text
constexpr int MaxBlocks = 50000;            // paragraphs and table cells
constexpr int MaxFonts = 4096;
constexpr int MaxColors = 4096;
constexpr int MaxFontNameBytes = 256;
constexpr int MaxColumns = 64;
constexpr int MaxTableCells = 5000;              // rows x columns of one table
constexpr qsizetype MaxPictureBytes = 16 << 20;  // encoded bytes of one picture
constexpr qint64 MaxPixelsPerImage = 25'000'000; // decoded pixels of one picture
constexpr qint64 MaxPixelsPerDocument = 50'000'000;
constexpr int MaxImageSide = 20000;
constexpr int MaxDisplaySide = 10000; // shown size of a picture, in pixels
constexpr int MaxUnicodeSkip = 10;
constexpr int MaxImages = 1000;
constexpr int TwipsPerPixel = 15;

enum class Dest { Text, Skip, FontTable, ColorTable, Picture, Upr };

struct CharProps {
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false; // \v: text the word processor does not show either
    // \ab and \ai outside right-to-left text: the bold and italic of East Asian text.
    bool asianBold = false;
    bool asianItalic = false;
    int vertical = 0; // 1 superscript, -1 subscript
    int foreground = 0;
    int background = 0;
    bool operator==(const CharProps&) const = default;
};

struct ParaProps {
    Qt::Alignment alignment;
    bool inTable = false;
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
};

struct State {
    Dest dest = Dest::Text;
    Dest uprParent = Dest::Text; // destination restored by \ud inside \upr
    CharProps chr;
    ParaProps para;
    int unicodeSkip = 1;
    bool rightToLeft = false; // \rtlch: associated properties (\ab, \ai) are for RTL text
};

struct Run {
    QString text;
    CharProps props;
    int image = -1; // index into Reader::m_images when the run is a picture
};

struct Para {
    ParaProps props;
    std::vector<Run> runs;
};

struct Cell {
    std::vector<Para> paras;
};

struct Row {
    std::vector<Cell> cells;
    std::vector<int> boundaries; // \cellx, twips
};

struct Table {
    std::vector<Row> rows;
    int columns() const {
        size_t n = 0;
        for (const Row& r : rows)
            n = std::max(n, r.cells.size());
        return int(n);
    }
};

struct Item {
    bool isTable = false;
    Para para;
    Table table;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's code page
};

struct Picture {
    enum Kind { Unknown, Png, Jpeg, Metafile } kind = Unknown;
    QByteArray data;
    int nibble = -1;
    bool tooBig = false;
    int width = 0; // \picw, \pich
    int height = 0;
    int goalWidth = 0; // twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
};

struct Image {
    QImage image;
    int width = 0; // shown size, pixels
    int height = 0;
};

enum class Kw {
    Unknown,
    // document
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Upr,
    Ud,
    // destinations
    FontTable,
    ColorTable,
    Skip,
    Pict,
    KeepDest,
    // font table
    FontCharset,
    FontCodePage,
    // colour table
    Red,
    Green,
    Blue,
    // picture
    PngBlip,
    JpegBlip,
    Metafile,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    Bin,
    // character formatting
    Plain,
    Font,
    FontSize,
    Bold,
    Italic,
    Hidden,
    AsianBold,
    AsianItalic,
    RtlChars,
    LtrChars,
    Underline,
    UnderlineNone,
    Strike,
    Super,
    Sub,
    NoSuperSub,
    ForeColor,
    BackColor,
    // unicode
    U,
    Uc,
    // paragraphs
    Pard,
    Par,
    Line,
    Tab,
    Page,
    Sect,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    // special characters
    Bullet,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QmSpace,
    // tables
    TRowD,
    CellX,
    InTable,
    Cell,
    Row,
    NestCell,
    NestRow,
};

const std::unordered_map<std::string_view, Kw>& keywords() {
    static const std::unordered_map<std::string_view, Kw> map = {
        {"rtf", Kw::Rtf},
        {"ansi", Kw::Ansi},
        {"mac", Kw::Mac},
        {"pc", Kw::Pc},
        {"pca", Kw::Pca},
        {"ansicpg", Kw::AnsiCpg},
        {"deff", Kw::Deff},
        {"upr", Kw::Upr},
        {"ud", Kw::Ud},
        {"fonttbl", Kw::FontTable},
        {"colortbl", Kw::ColorTable},
        {"pict", Kw::Pict},
        // Destinations whose content is not shown.
        {"stylesheet", Kw::Skip},
        {"info", Kw::Skip},
        {"header", Kw::Skip},
        {"headerl", Kw::Skip},
        {"headerr", Kw::Skip},
        {"headerf", Kw::Skip},
        {"footer", Kw::Skip},
        {"footerl", Kw::Skip},
        {"footerr", Kw::Skip},
        {"footerf", Kw::Skip},
        {"footnote", Kw::Skip},
        {"pn", Kw::Skip},
        {"pnseclvl", Kw::Skip},
        {"fldinst", Kw::Skip},
        {"nonshppict", Kw::Skip},
        {"xe", Kw::Skip},
        {"tc", Kw::Skip},
        {"txe", Kw::Skip},
        {"rxe", Kw::Skip},
        {"bkmkstart", Kw::Skip},
        {"bkmkend", Kw::Skip},
        {"template", Kw::Skip},
        {"revtbl", Kw::Skip},
        {"listtable", Kw::Skip},
        {"listoverridetable", Kw::Skip},
        {"filetbl", Kw::Skip},
        {"private", Kw::Skip},
        {"do", Kw::Skip},
        {"objdata", Kw::Skip},
        {"objclass", Kw::Skip},
        {"objname", Kw::Skip},
        {"themedata", Kw::Skip},
        {"colorschememapping", Kw::Skip},
        {"datastore", Kw::Skip},
        {"latentstyles", Kw::Skip},
        {"rsidtbl", Kw::Skip},
        {"generator", Kw::Skip},
        {"author", Kw::Skip},
        {"operator", Kw::Skip},
        {"title", Kw::Skip},
        {"subject", Kw::Skip},
        {"keywords", Kw::Skip},
        {"comment", Kw::Skip},
        {"doccomm", Kw::Skip},
        {"ftnsep", Kw::Skip},
        {"ftnsepc", Kw::Skip},
        {"ftncn", Kw::Skip},
        {"aftnsep", Kw::Skip},
        {"aftnsepc", Kw::Skip},
        {"aftncn", Kw::Skip},
        {"annotation", Kw::Skip},
        {"atnid", Kw::Skip},
        {"atnauthor", Kw::Skip},
        {"atrfstart", Kw::Skip},
        {"atrfend", Kw::Skip},
        {"atnref", Kw::Skip},
        {"atndate", Kw::Skip},
        {"atnicn", Kw::Skip},
        {"pgdsctbl", Kw::Skip},
        {"picprop", Kw::Skip},
        {"blipuid", Kw::Skip},
        {"mmathPr", Kw::Skip},
        {"xmlnstbl", Kw::Skip},
        {"shpinst", Kw::Skip},
        {"userprops", Kw::Skip},
        {"docvar", Kw::Skip},
        {"background", Kw::Skip},
        {"falt", Kw::Skip},
        {"panose", Kw::Skip},
        {"fname", Kw::Skip},
        {"leveltext", Kw::Skip},
        {"levelnumbers", Kw::Skip},
        {"creatim", Kw::Skip},
        {"revtim", Kw::Skip},
        {"printim", Kw::Skip},
        {"buptim", Kw::Skip},
        {"nesttableprops", Kw::Skip},
        {"wgrffmtfilter", Kw::Skip},
        {"defchp", Kw::Skip},
        {"defpap", Kw::Skip},
        // Destinations whose content is shown even behind \*.
        {"shppict", Kw::KeepDest},
        {"fldrslt", Kw::KeepDest},
        {"listtext", Kw::KeepDest},
        {"pntext", Kw::KeepDest},
        {"result", Kw::KeepDest},
        {"shprslt", Kw::KeepDest},
        {"field", Kw::KeepDest},
        {"shp", Kw::KeepDest},
        {"object", Kw::KeepDest},
        {"fcharset", Kw::FontCharset},
        {"cpg", Kw::FontCodePage},
        {"red", Kw::Red},
        {"green", Kw::Green},
        {"blue", Kw::Blue},
        {"pngblip", Kw::PngBlip},
        {"jpegblip", Kw::JpegBlip},
        {"emfblip", Kw::Metafile},
        {"wmetafile", Kw::Metafile},
        {"macpict", Kw::Metafile},
        {"pmmetafile", Kw::Metafile},
        {"dibitmap", Kw::Metafile},
        {"wbitmap", Kw::Metafile},
        {"picw", Kw::PicW},
        {"pich", Kw::PicH},
        {"picwgoal", Kw::PicWGoal},
        {"pichgoal", Kw::PicHGoal},
        {"picscalex", Kw::PicScaleX},
        {"picscaley", Kw::PicScaleY},
        {"bin", Kw::Bin},
        {"plain", Kw::Plain},
        {"f", Kw::Font},
        {"fs", Kw::FontSize},
        {"b", Kw::Bold},
        {"i", Kw::Italic},
        {"v", Kw::Hidden},
        {"ab", Kw::AsianBold},
        {"ai", Kw::AsianItalic},
        {"rtlch", Kw::RtlChars},
        {"ltrch", Kw::LtrChars},
        {"ul", Kw::Underline},
        {"uld", Kw::Underline},
        {"uldash", Kw::Underline},
        {"uldashd", Kw::Underline},
        {"uldashdd", Kw::Underline},
        {"uldb", Kw::Underline},
        {"ulth", Kw::Underline},
        {"ulw", Kw::Underline},
        {"ulwave", Kw::Underline},
        {"ulhwave", Kw::Underline},
        {"ululdbwave", Kw::Underline},
        {"ulthd", Kw::Underline},
        {"ulthdash", Kw::Underline},
        {"ulldash", Kw::Underline},
        {"ulnone", Kw::UnderlineNone},
        {"strike", Kw::Strike},
        {"striked", Kw::Strike},
        {"super", Kw::Super},
        {"sub", Kw::Sub},
        {"nosupersub", Kw::NoSuperSub},
        {"cf", Kw::ForeColor},
        {"cb", Kw::BackColor},
        {"highlight", Kw::BackColor},
        {"chcbpat", Kw::BackColor},
        {"u", Kw::U},
        {"uc", Kw::Uc},
        {"pard", Kw::Pard},
        {"par", Kw::Par},
        {"line", Kw::Line},
        {"tab", Kw::Tab},
        {"page", Kw::Page},
        {"sect", Kw::Sect},
        {"ql", Kw::AlignLeft},
        {"qc", Kw::AlignCenter},
        {"qr", Kw::AlignRight},
        {"qj", Kw::AlignJustify},
        {"qd", Kw::AlignJustify},
        {"li", Kw::LeftIndent},
        {"ri", Kw::RightIndent},
        {"fi", Kw::FirstIndent},
        {"bullet", Kw::Bullet},
        {"lquote", Kw::LQuote},
        {"rquote", Kw::RQuote},
        {"ldblquote", Kw::LDblQuote},
        {"rdblquote", Kw::RDblQuote},
        {"emdash", Kw::EmDash},
        {"endash", Kw::EnDash},
        {"emspace", Kw::EmSpace},
        {"enspace", Kw::EnSpace},
        {"qmspace", Kw::QmSpace},
        {"trowd", Kw::TRowD},
        {"cellx", Kw::CellX},
        {"intbl", Kw::InTable},
        {"cell", Kw::Cell},
        {"row", Kw::Row},
        {"nestcell", Kw::NestCell},
        {"nestrow", Kw::NestRow},
    };
    return map;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

class Reader {
  public:
    explicit Reader(const QByteArray& in) : m_in(in) {}

    void run(QTextDocument* doc) {
        parse();
        finish();
        render(doc);
    }

  private:
    const QByteArray& m_in;
    qsizetype m_pos = 0;

    std::vector<State> m_stack; // enclosing groups; m_state is the innermost one
    State m_state;
    int m_overflow = 0; // groups opened beyond MaxDepth, all skipped
    bool m_ignorableNext = false;
    int m_skipChars = 0; // fallback characters after \uN still to skip
    char16_t m_highSurrogate = 0;

    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;
    QByteArray m_pendingBytes; // text bytes not yet decoded

    QHash<int, Font> m_fonts;
    int m_fontId = -1;
    int m_fontCodePage = 0;
    QByteArray m_fontNameBytes;
    QString m_fontName;

    std::vector<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;

    Picture m_picture;
    std::vector<Image> m_images;
    qint64 m_pixels = 0;

    Para m_para;
    Cell m_cell;
    Row m_row;
    bool m_rowOpen = false; // \trowd seen, \row not yet
    Table m_table;
    std::vector<Item> m_items;
    qsizetype m_chars = 0;
    int m_runs = 0;
    int m_blocks = 0;

    // One converter per code page for the whole document.
    std::unordered_map<int, QStringDecoder> m_decoders;

    QString decode(const QByteArray& bytes, int codePage) {
        if (bytes.isEmpty())
            return {};
        auto it = m_decoders.find(codePage);
        if (it == m_decoders.end()) {
            const QByteArray name = detail::encodingNameForCodePage(codePage);
            it = m_decoders
                     .emplace(codePage,
                              name.isEmpty() ? QStringDecoder() : QStringDecoder(name.constData()))
                     .first;
        }
        QStringDecoder& decoder = it->second;
        if (!decoder.isValid())
            return QString::fromLatin1(bytes); // unknown code page: no byte is lost
        decoder.resetState();
        return decoder.decode(bytes); // broken sequences come out as U+FFFD
    }

    // ---- parsing ----

    void parse() {
        const qsizetype n = m_in.size();
        while (m_pos < n) {
            const char c = m_in[m_pos];
            if (c == '{') {
                ++m_pos;
                openGroup();
            } else if (c == '}') {
                ++m_pos;
                if (!closeGroup())
                    return; // the document's own group is closed
            } else if (c == '\\') {
                ++m_pos;
                controlWord();
            } else {
                ++m_pos;
                if (uchar(c) < 0x20 && c != '\t')
                    continue; // line ends of the source and stray control bytes are no text
                if (m_skipChars > 0) {
                    --m_skipChars;
                    continue;
                }
                textByte(c);
            }
        }
    }

    Dest dest() const { return m_overflow > 0 ? Dest::Skip : m_state.dest; }

    void openGroup() {
        flushBytes();
        m_skipChars = 0;
        m_ignorableNext = false;
        if (m_overflow > 0 || int(m_stack.size()) >= MaxDepth) {
            ++m_overflow;
            return;
        }
        m_stack.push_back(m_state);
    }

    // False when the outermost group closes.
    bool closeGroup() {
        flushBytes();
        m_skipChars = 0;
        m_ignorableNext = false;
        if (m_overflow > 0) {
            --m_overflow;
            return true;
        }
        if (m_stack.empty())
            return false;
        const State inner = m_state;
        m_state = m_stack.back();
        m_stack.pop_back();
        if (inner.dest == Dest::FontTable)
            commitFont(); // an entry without the closing ';'
        if (inner.dest == Dest::Picture && m_state.dest != Dest::Picture)
            finishPicture();
        return !m_stack.empty();
    }

    void controlWord() {
        const qsizetype n = m_in.size();
        if (m_pos >= n)
            return;
        const char c = m_in[m_pos];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < n && ((m_in[m_pos] >= 'a' && m_in[m_pos] <= 'z') ||
                             (m_in[m_pos] >= 'A' && m_in[m_pos] <= 'Z')))
            ++m_pos;
        const qsizetype length = m_pos - start;
        bool hasParam = false;
        bool negative = false;
        qint64 value = 0;
        if (m_pos + 1 < n && m_in[m_pos] == '-' && m_in[m_pos + 1] >= '0' &&
            m_in[m_pos + 1] <= '9') {
            negative = true;
            ++m_pos;
        }
        int digits = 0;
        while (m_pos < n && m_in[m_pos] >= '0' && m_in[m_pos] <= '9') {
            if (digits < MaxParameterDigits)
                value = value * 10 + (m_in[m_pos] - '0');
            ++digits;
            hasParam = true;
            ++m_pos;
        }
        if (m_pos < n && m_in[m_pos] == ' ')
            ++m_pos;
        value = std::clamp<qint64>(negative ? -value : value, -2'000'000'000, 2'000'000'000);
        const int param = int(value);

        Kw kw = Kw::Unknown;
        if (length <= MaxKeywordLength) {
            const auto& map = keywords();
            const auto it = map.find(std::string_view(m_in.constData() + start, size_t(length)));
            if (it != map.end())
                kw = it->second;
        }

        if (kw == Kw::Bin) {
            // Binary data follows: it is never parsed as RTF.
            const qsizetype count = hasParam ? std::clamp<qsizetype>(param, 0, n - m_pos) : 0;
            if (m_skipChars == 0 && dest() == Dest::Picture)
                appendPictureBytes(m_in.mid(m_pos, count));
            m_pos += count;
            if (m_skipChars > 0)
                --m_skipChars;
            return;
        }
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        flushBytes();
        const bool ignorable = m_ignorableNext;
        m_ignorableNext = false;
        keyword(kw, hasParam, param, ignorable);
    }

    void controlSymbol(char c) {
        if (c == '\'') {
            const qsizetype n = m_in.size();
            if (m_pos + 1 < n && isHexDigit(m_in[m_pos]) && isHexDigit(m_in[m_pos + 1])) {
                const char byte = char(hexValue(m_in[m_pos]) * 16 + hexValue(m_in[m_pos + 1]));
                m_pos += 2;
                if (m_skipChars > 0) {
                    --m_skipChars;
                    return;
                }
                if (dest() == Dest::FontTable) {
                    if (m_fontNameBytes.size() < MaxFontNameBytes)
                        m_fontNameBytes += byte;
                } else if (dest() == Dest::Text) {
                    m_pendingBytes += byte;
                }
            }
            return;
        }
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            textByte(c);
            return;
        case '*':
            m_ignorableNext = true;
            return;
        case '~':
            flushBytes();
            appendChar(char16_t(0x00A0));
            return;
        case '_':
            flushBytes();
            appendChar(char16_t(0x2011));
            return;
        case '\r':
        case '\n':
            flushBytes();
            keyword(Kw::Par, false, 0, false);
            return;
        default: // \- optional hyphen, \: index entry, \| formula and unknown symbols
            return;
        }
    }

    void keyword(Kw kw, bool hasParam, int param, bool ignorable) {
        const Dest d = dest();
        if (d == Dest::Skip || d == Dest::Upr) {
            if (kw == Kw::Ud && d == Dest::Upr)
                m_state.dest = m_state.uprParent;
            return;
        }
        if (ignorable && (kw == Kw::Unknown || kw == Kw::Skip)) {
            m_state.dest = Dest::Skip;
            return;
        }
        switch (kw) {
        case Kw::Skip:
            m_state.dest = Dest::Skip;
            return;
        case Kw::Upr:
            m_state.uprParent = m_state.dest;
            m_state.dest = Dest::Upr;
            return;
        case Kw::Ansi:
            m_ansiCodePage = 1252;
            return;
        case Kw::Mac:
            m_ansiCodePage = 10000;
            return;
        case Kw::Pc:
            m_ansiCodePage = 437;
            return;
        case Kw::Pca:
            m_ansiCodePage = 850;
            return;
        case Kw::AnsiCpg:
            if (hasParam && param > 0)
                m_ansiCodePage = param;
            return;
        case Kw::Deff:
            m_defaultFont = param;
            return;
        case Kw::FontTable:
            if (d == Dest::Text)
                m_state.dest = Dest::FontTable;
            return;
        case Kw::ColorTable:
            if (d == Dest::Text) {
                m_state.dest = Dest::ColorTable;
                m_colors.clear();
            }
            return;
        case Kw::Pict:
            if (d == Dest::Text) {
                m_state.dest = Dest::Picture;
                m_picture = Picture();
            } else if (d != Dest::Picture) {
                m_state.dest = Dest::Skip;
            }
            return;
        case Kw::Uc:
            m_state.unicodeSkip = std::clamp(param, 0, MaxUnicodeSkip);
            return;
        case Kw::U:
            unicode(param);
            m_skipChars = m_state.unicodeSkip;
            return;
        default:
            break;
        }
        switch (d) {
        case Dest::FontTable:
            fontTableKeyword(kw, hasParam, param);
            return;
        case Dest::ColorTable:
            if (kw == Kw::Red)
                m_red = std::clamp(param, 0, 255);
            else if (kw == Kw::Green)
                m_green = std::clamp(param, 0, 255);
            else if (kw == Kw::Blue)
                m_blue = std::clamp(param, 0, 255);
            return;
        case Dest::Picture:
            pictureKeyword(kw, hasParam, param);
            return;
        case Dest::Text:
            textKeyword(kw, hasParam, param);
            return;
        default:
            return;
        }
    }

    void fontTableKeyword(Kw kw, bool hasParam, int param) {
        switch (kw) {
        case Kw::Font:
            commitFont();
            m_fontId = param;
            m_fontCodePage = 0;
            return;
        case Kw::FontCharset:
            if (m_fontCodePage == 0 && hasParam)
                m_fontCodePage = param == 2 ? 1252 : detail::codePageForCharset(param);
            return;
        case Kw::FontCodePage:
            if (hasParam && param > 0)
                m_fontCodePage = param;
            return;
        default:
            return;
        }
    }

    void pictureKeyword(Kw kw, bool hasParam, int param) {
        if (!hasParam)
            param = 0;
        switch (kw) {
        case Kw::PngBlip:
            m_picture.kind = Picture::Png;
            return;
        case Kw::JpegBlip:
            m_picture.kind = Picture::Jpeg;
            return;
        case Kw::Metafile:
            m_picture.kind = Picture::Metafile;
            return;
        case Kw::PicW:
            m_picture.width = std::clamp(param, 0, 1'000'000);
            return;
        case Kw::PicH:
            m_picture.height = std::clamp(param, 0, 1'000'000);
            return;
        case Kw::PicWGoal:
            m_picture.goalWidth = std::clamp(param, 0, MaxDisplaySide * TwipsPerPixel);
            return;
        case Kw::PicHGoal:
            m_picture.goalHeight = std::clamp(param, 0, MaxDisplaySide * TwipsPerPixel);
            return;
        case Kw::PicScaleX:
            m_picture.scaleX = std::clamp(param, 1, 1000);
            return;
        case Kw::PicScaleY:
            m_picture.scaleY = std::clamp(param, 1, 1000);
            return;
        default:
            return;
        }
    }

    void textKeyword(Kw kw, bool hasParam, int param) {
        CharProps& chr = m_state.chr;
        ParaProps& para = m_state.para;
        const bool on = !hasParam || param != 0;
        switch (kw) {
        case Kw::Plain:
            chr = CharProps();
            return;
        case Kw::Font:
            chr.font = hasParam ? param : -1;
            return;
        case Kw::FontSize:
            chr.halfPoints = hasParam ? std::clamp(param, 2, 3276) : 0;
            return;
        case Kw::Bold:
            chr.bold = on;
            return;
        case Kw::Italic:
            chr.italic = on;
            return;
        case Kw::Hidden:
            chr.hidden = on;
            return;
        case Kw::AsianBold:
            if (!m_state.rightToLeft)
                chr.asianBold = on;
            return;
        case Kw::AsianItalic:
            if (!m_state.rightToLeft)
                chr.asianItalic = on;
            return;
        case Kw::RtlChars:
            m_state.rightToLeft = true;
            return;
        case Kw::LtrChars:
            m_state.rightToLeft = false;
            return;
        case Kw::Underline:
            chr.underline = on;
            return;
        case Kw::UnderlineNone:
            chr.underline = false;
            return;
        case Kw::Strike:
            chr.strike = on;
            return;
        case Kw::Super:
            chr.vertical = 1;
            return;
        case Kw::Sub:
            chr.vertical = -1;
            return;
        case Kw::NoSuperSub:
            chr.vertical = 0;
            return;
        case Kw::ForeColor:
            chr.foreground = std::clamp(param, 0, MaxColors);
            return;
        case Kw::BackColor:
            chr.background = std::clamp(param, 0, MaxColors);
            return;
        case Kw::Pard:
            para = ParaProps();
            return;
        case Kw::AlignLeft:
            para.alignment = Qt::AlignLeft;
            return;
        case Kw::AlignCenter:
            para.alignment = Qt::AlignHCenter;
            return;
        case Kw::AlignRight:
            para.alignment = Qt::AlignRight;
            return;
        case Kw::AlignJustify:
            para.alignment = Qt::AlignJustify;
            return;
        case Kw::LeftIndent:
            para.leftIndent = std::clamp(param, -31680, 31680);
            return;
        case Kw::RightIndent:
            para.rightIndent = std::clamp(param, -31680, 31680);
            return;
        case Kw::FirstIndent:
            para.firstIndent = std::clamp(param, -31680, 31680);
            return;
        case Kw::InTable:
            para.inTable = true;
            return;
        case Kw::Par:
            endParagraph();
            return;
        case Kw::Page:
        case Kw::Sect:
            if (!m_para.runs.empty())
                endParagraph();
            return;
        case Kw::Line:
            appendChar(QChar::LineSeparator);
            return;
        case Kw::Tab:
            appendChar(u'\t');
            return;
        case Kw::Bullet:
            appendChar(char16_t(0x2022));
            return;
        case Kw::LQuote:
            appendChar(char16_t(0x2018));
            return;
        case Kw::RQuote:
            appendChar(char16_t(0x2019));
            return;
        case Kw::LDblQuote:
            appendChar(char16_t(0x201C));
            return;
        case Kw::RDblQuote:
            appendChar(char16_t(0x201D));
            return;
        case Kw::EmDash:
            appendChar(char16_t(0x2014));
            return;
        case Kw::EnDash:
            appendChar(char16_t(0x2013));
            return;
        case Kw::EmSpace:
            appendChar(char16_t(0x2003));
            return;
        case Kw::EnSpace:
            appendChar(char16_t(0x2002));
            return;
        case Kw::QmSpace:
            appendChar(char16_t(0x2005));
            return;
        case Kw::TRowD:
            m_row.boundaries.clear();
            m_rowOpen = true;
            return;
        case Kw::CellX:
            if (m_row.boundaries.size() < size_t(MaxColumns))
                m_row.boundaries.push_back(std::clamp(param, 0, 31680 * 4));
            return;
        case Kw::Cell:
            endCell();
            return;
        case Kw::Row:
            endRow();
            return;
        case Kw::NestCell:
            appendChar(u'\t');
            return;
        case Kw::NestRow:
            endParagraph();
            return;
        default:
            return;
        }
    }

    // ---- text ----

    void textByte(char c) {
        switch (dest()) {
        case Dest::Text:
            m_pendingBytes += c;
            return;
        case Dest::FontTable:
            if (c == ';')
                commitFont();
            else if (m_fontNameBytes.size() < MaxFontNameBytes)
                m_fontNameBytes += c;
            return;
        case Dest::ColorTable:
            if (c == ';')
                commitColor();
            return;
        case Dest::Picture:
            if (isHexDigit(c)) {
                if (m_picture.nibble < 0) {
                    m_picture.nibble = hexValue(c);
                } else {
                    appendPictureByte(char(m_picture.nibble * 16 + hexValue(c)));
                    m_picture.nibble = -1;
                }
            }
            return;
        default:
            return;
        }
    }

    int codePageOf(int fontIndex) const {
        const auto it = m_fonts.constFind(fontIndex < 0 ? m_defaultFont : fontIndex);
        if (it != m_fonts.constEnd() && it->codePage > 0)
            return it->codePage;
        return m_ansiCodePage;
    }

    void flushBytes() {
        if (m_pendingBytes.isEmpty())
            return;
        const QString text = decode(m_pendingBytes, codePageOf(m_state.chr.font));
        m_pendingBytes.clear();
        appendText(text);
    }

    void unicode(int value) {
        if (value < 0)
            value += 65536;
        if (value <= 0 || value > 0xFFFF)
            return;
        const char16_t unit = char16_t(value);
        if (dest() == Dest::FontTable) {
            flushFontNameBytes();
            if (m_fontName.size() < MaxFontNameBytes && !QChar::isSurrogate(unit))
                m_fontName += QChar(unit);
            return;
        }
        if (dest() != Dest::Text)
            return;
        if (QChar::isHighSurrogate(unit)) {
            if (m_highSurrogate) {
                m_highSurrogate = 0;
                appendChar(QChar::ReplacementCharacter);
            }
            m_highSurrogate = unit;
            return;
        }
        if (QChar::isLowSurrogate(unit)) {
            if (m_highSurrogate) {
                const QChar pair[2] = {QChar(m_highSurrogate), QChar(unit)};
                m_highSurrogate = 0;
                appendText(QString(pair, 2));
            } else {
                appendChar(QChar::ReplacementCharacter);
            }
            return;
        }
        appendChar(unit);
    }

    void appendChar(QChar c) { appendText(QString(c)); }

    void appendText(const QString& text) {
        if (dest() != Dest::Text || text.isEmpty() || m_state.chr.hidden)
            return;
        QString pieces = text;
        if (m_highSurrogate) {
            m_highSurrogate = 0;
            pieces.prepend(QChar(QChar::ReplacementCharacter));
        }
        if (m_chars + pieces.size() > MaxTextChars)
            return;
        m_chars += pieces.size();
        if (!m_para.runs.empty()) {
            Run& last = m_para.runs.back();
            if (last.image < 0 && (last.props == m_state.chr || m_runs >= MaxRuns)) {
                last.text += pieces;
                return;
            }
        }
        ++m_runs;
        m_para.runs.push_back(Run{pieces, m_state.chr, -1});
    }

    // ---- font and colour tables ----

    void flushFontNameBytes() {
        if (m_fontNameBytes.isEmpty())
            return;
        m_fontName += decode(m_fontNameBytes, m_fontCodePage > 0 ? m_fontCodePage : m_ansiCodePage);
        m_fontNameBytes.clear();
    }

    void commitFont() {
        flushFontNameBytes();
        const QString name = m_fontName.trimmed();
        m_fontName.clear();
        if (m_fontId < 0 || name.isEmpty())
            return;
        if (m_fonts.size() < MaxFonts || m_fonts.contains(m_fontId))
            m_fonts.insert(m_fontId, Font{name, m_fontCodePage});
    }

    void commitColor() {
        if (int(m_colors.size()) < MaxColors) {
            if (m_red < 0 && m_green < 0 && m_blue < 0)
                m_colors.push_back(QColor()); // "auto"
            else
                m_colors.push_back(
                    QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
        }
        m_red = m_green = m_blue = -1;
    }

    // ---- pictures ----

    void appendPictureByte(char byte) {
        if (m_picture.tooBig)
            return;
        if (m_picture.data.size() >= MaxPictureBytes) {
            m_picture.tooBig = true;
            m_picture.data = QByteArray();
            return;
        }
        m_picture.data += byte;
    }

    void appendPictureBytes(const QByteArray& bytes) {
        if (m_picture.tooBig)
            return;
        if (m_picture.data.size() + bytes.size() > MaxPictureBytes) {
            m_picture.tooBig = true;
            m_picture.data.clear();
            m_picture.data.squeeze();
            return;
        }
        m_picture.data += bytes;
    }

    void finishPicture() {
        Picture picture = std::move(m_picture);
        m_picture = Picture();
        if (picture.tooBig || picture.data.isEmpty() || picture.kind == Picture::Metafile ||
            int(m_images.size()) >= MaxImages)
            return; // a picture Qt cannot show: skipped, the text around it stays
        QBuffer buffer(&picture.data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, picture.kind == Picture::Png    ? QByteArray("png")
                                     : picture.kind == Picture::Jpeg ? QByteArray("jpeg")
                                                                     : QByteArray());
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > MaxImageSide || size.height() > MaxImageSide)
            return;
        const qint64 pixels = qint64(size.width()) * size.height();
        if (pixels > MaxPixelsPerImage || m_pixels + pixels > MaxPixelsPerDocument)
            return;
        QImage image;
        if (!reader.read(&image) || image.isNull())
            return;
        m_pixels += pixels;

        int width = picture.goalWidth > 0 ? picture.goalWidth / TwipsPerPixel : image.width();
        int height = picture.goalHeight > 0 ? picture.goalHeight / TwipsPerPixel : image.height();
        width = std::clamp(int(qint64(width) * picture.scaleX / 100), 1, MaxDisplaySide);
        height = std::clamp(int(qint64(height) * picture.scaleY / 100), 1, MaxDisplaySide);
        m_images.push_back(Image{image, width, height});
        m_para.runs.push_back(Run{QString(), m_state.chr, int(m_images.size()) - 1});
    }

    // ---- paragraphs and tables ----

    bool inTable() const { return m_state.para.inTable || m_rowOpen; }

    void endParagraph() {
        if (m_highSurrogate) {
            m_highSurrogate = 0;
            appendChar(QChar::ReplacementCharacter);
        }
        if (m_blocks >= MaxBlocks) {
            // Too many paragraphs: the rest continue the last one, line by line.
            appendChar(QChar::LineSeparator);
            return;
        }
        pushParagraph();
    }

    void pushParagraph() {
        ++m_blocks;
        m_para.props = m_state.para;
        if (inTable()) {
            m_cell.paras.push_back(std::move(m_para));
        } else {
            flushTable();
            Item item;
            item.para = std::move(m_para);
            m_items.push_back(std::move(item));
        }
        m_para = Para();
    }

    // force: at the end of the document, where the cell must be kept whatever the limits.
    void endCell(bool force = false) {
        if (m_blocks >= MaxBlocks && !force) {
            // Too many cells: the rest continue the last paragraph, separated by tabs.
            appendChar(u'\t');
            return;
        }
        if (!m_para.runs.empty() || m_cell.paras.empty()) {
            ++m_blocks;
            m_para.props = m_state.para;
            m_cell.paras.push_back(std::move(m_para));
            m_para = Para();
        }
        if (int(m_row.cells.size()) < MaxColumns) {
            m_row.cells.push_back(std::move(m_cell));
        } else {
            // Beyond the widest table a row may have: the cell's text joins the last cell.
            auto& last = m_row.cells.back().paras;
            for (Para& p : m_cell.paras)
                last.push_back(std::move(p));
        }
        m_cell = Cell();
    }

    void endRow(bool force = false) {
        if (!m_para.runs.empty() || !m_cell.paras.empty())
            endCell(force);
        m_rowOpen = false;
        if (m_row.cells.empty())
            return;
        const int columns = std::max(m_table.columns(), int(m_row.cells.size()));
        if (!m_table.rows.empty() && int(m_table.rows.size() + 1) * columns > MaxTableCells)
            pushTable(); // the rows that follow make another table
        std::vector<int> boundaries = m_row.boundaries;
        m_table.rows.push_back(std::move(m_row));
        m_row = Row();
        m_row.boundaries = std::move(boundaries); // the next row may reuse the definition
    }

    void flushTable() {
        if (!m_row.cells.empty() || !m_cell.paras.empty())
            endRow(true);
        m_rowOpen = false;
        m_row = Row();
        pushTable();
    }

    void pushTable() {
        if (m_table.rows.empty())
            return;
        Item item;
        item.isTable = true;
        item.table = std::move(m_table);
        m_items.push_back(std::move(item));
        m_table = Table();
    }

    void finish() {
        flushBytes();
        if (m_highSurrogate) {
            m_highSurrogate = 0;
            appendChar(QChar::ReplacementCharacter);
        }
        // A picture cut off by the end of the input still shows if its data is whole enough.
        if (m_overflow == 0 && m_state.dest == Dest::Picture) {
            m_state.dest = Dest::Text;
            finishPicture();
        }
        if (!m_para.runs.empty()) {
            const bool table = inTable();
            pushParagraph();
            if (table)
                endCell(true);
        }
        flushTable();
    }

    // ---- building the document ----

    QTextCharFormat charFormat(const CharProps& p) const {
        QTextCharFormat f;
        const auto font = m_fonts.constFind(p.font < 0 ? m_defaultFont : p.font);
        if (font != m_fonts.constEnd())
            f.setFontFamilies(QStringList{font->name});
        if (p.halfPoints > 0)
            f.setFontPointSize(p.halfPoints / 2.0);
        if (p.bold || p.asianBold)
            f.setFontWeight(QFont::Bold);
        if (p.italic || p.asianItalic)
            f.setFontItalic(true);
        if (p.underline)
            f.setFontUnderline(true);
        if (p.strike)
            f.setFontStrikeOut(true);
        if (p.vertical > 0)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (p.vertical < 0)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        if (p.foreground > 0 && p.foreground < int(m_colors.size()) &&
            m_colors[size_t(p.foreground)].isValid())
            f.setForeground(m_colors[size_t(p.foreground)]);
        if (p.background > 0 && p.background < int(m_colors.size()) &&
            m_colors[size_t(p.background)].isValid())
            f.setBackground(m_colors[size_t(p.background)]);
        return f;
    }

    static QTextBlockFormat blockFormat(const ParaProps& p) {
        QTextBlockFormat f;
        if (p.alignment)
            f.setAlignment(p.alignment);
        if (p.leftIndent > 0)
            f.setLeftMargin(double(p.leftIndent) / TwipsPerPixel);
        if (p.rightIndent > 0)
            f.setRightMargin(double(p.rightIndent) / TwipsPerPixel);
        if (p.firstIndent != 0)
            f.setTextIndent(double(p.firstIndent) / TwipsPerPixel);
        return f;
    }

    void writeRuns(QTextCursor& cursor, const Para& para, QTextDocument* doc) const {
        for (const Run& run : para.runs) {
            if (run.image >= 0) {
                const Image& image = m_images[size_t(run.image)];
                const QString name = QStringLiteral("rtfimage:%1").arg(run.image);
                doc->addResource(QTextDocument::ImageResource, QUrl(name), image.image);
                QTextImageFormat fmt;
                fmt.setName(name);
                fmt.setWidth(image.width);
                fmt.setHeight(image.height);
                cursor.insertImage(fmt);
            } else {
                cursor.insertText(run.text, charFormat(run.props));
            }
        }
    }

    void render(QTextDocument* doc) const {
        QTextCursor cursor(doc);
        bool fresh = true; // the cursor's block holds nothing yet
        for (const Item& item : m_items) {
            if (!item.isTable) {
                if (fresh)
                    cursor.setBlockFormat(blockFormat(item.para.props));
                else
                    cursor.insertBlock(blockFormat(item.para.props), QTextCharFormat());
                writeRuns(cursor, item.para, doc);
                fresh = false;
                continue;
            }
            const Table& table = item.table;
            const int rows = int(table.rows.size());
            const int columns = table.columns();
            if (rows == 0 || columns == 0)
                continue;
            QTextTableFormat tableFormat;
            tableFormat.setBorder(1);
            tableFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            tableFormat.setCellPadding(2);
            tableFormat.setCellSpacing(0);
            tableFormat.setColumnWidthConstraints(columnWidths(table, columns));
            QTextTable* qtable = cursor.insertTable(rows, columns, tableFormat);
            for (int r = 0; r < rows; ++r) {
                const Row& row = table.rows[size_t(r)];
                for (int c = 0; c < int(row.cells.size()) && c < columns; ++c) {
                    QTextCursor cellCursor = qtable->cellAt(r, c).firstCursorPosition();
                    bool first = true;
                    for (const Para& para : row.cells[size_t(c)].paras) {
                        if (first)
                            cellCursor.setBlockFormat(blockFormat(para.props));
                        else
                            cellCursor.insertBlock(blockFormat(para.props), QTextCharFormat());
                        first = false;
                        writeRuns(cellCursor, para, doc);
                    }
                }
            }
            cursor.setPosition(qtable->lastPosition() + 1);
            fresh = true;
        }
    }

    // Column widths from the \cellx boundaries of the widest row, as shares of the table.
    static QList<QTextLength> columnWidths(const Table& table, int columns) {
        for (const Row& row : table.rows) {
            if (int(row.boundaries.size()) != columns)
                continue;
            const int total = row.boundaries.back();
            bool valid = total > 0;
            for (int i = 1; i < columns && valid; ++i)
                valid = row.boundaries[size_t(i)] > row.boundaries[size_t(i - 1)];
            if (!valid || row.boundaries.front() <= 0)
                continue;
            QList<QTextLength> widths;
            int previous = 0;
            for (int b : row.boundaries) {
                widths.append(
                    QTextLength(QTextLength::PercentageLength, 100.0 * (b - previous) / total));
                previous = b;
            }
            return widths;
        }
        return {};
    }
};

bool looksLikeRtf(const QByteArray& data) {
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

// Plain text stored where RTF was expected: UTF-8, else the code page of the bank (936).
QString plainTextOf(const QByteArray& data) {
    qsizetype control = 0;
    for (char c : data) {
        const uchar u = uchar(c);
        if (u == 0)
            return {};
        if (u < 0x20 && u != '\t' && u != '\r' && u != '\n' && u != '\f')
            ++control;
    }
    if (control * 20 > data.size())
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    return detail::decode(data, 936);
}

} // namespace

bool read(const QByteArray& rtf, QTextDocument* doc) {
    if (!doc)
        return false;
    doc->clear();
    if (!looksLikeRtf(rtf)) {
        const QString text = plainTextOf(rtf);
        if (!text.isEmpty())
            doc->setPlainText(text);
        return false;
    }
    const qsizetype start = rtf.indexOf('{');
    const QByteArray body = start > 0 ? rtf.mid(start) : rtf;
    // Building the document is not an edit the user could undo; the undo stack would also hold
    // a copy of every insertion.
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    // The outermost group is opened by the parser like any other.
    Reader(body).run(doc);
    doc->setUndoRedoEnabled(undo);
    return true;
}

QString toPlainText(const QByteArray& rtf) {
    QTextDocument doc;
    read(rtf, &doc);
    return doc.toPlainText();
}

} // namespace Rtf
