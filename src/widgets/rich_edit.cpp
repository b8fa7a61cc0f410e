#include "widgets/rich_edit.h"

#include "platform/dialogs.h"
#include "richtext/rtf_codec.h"

#include <QBuffer>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <QUuid>

#include <algorithm>
#include <cctype>
#include <functional>
#include <vector>

namespace {

// Where the platforms put RTF: X11 passes the owner's target names through (LibreOffice offers
// text/rtf and text/richtext, both RTF), Windows names the format "Rich Text Format".
const QStringList& rtfFormats() {
    static const QStringList formats{
        QStringLiteral("text/rtf"),
        QStringLiteral("application/rtf"),
        QStringLiteral("text/richtext"),
        QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\""),
    };
    return formats;
}

// The first RTF the source carries. text/richtext may also be the old mail format, hence the
// look at the content.
QByteArray rtfOf(const QMimeData* source) {
    for (const QString& format : rtfFormats()) {
        if (!source->hasFormat(format))
            continue;
        const QByteArray data = source->data(format);
        if (data.trimmed().startsWith("{\\rtf"))
            return data;
    }
    return {};
}

// A picture of a paste: an image to carry over, nothing (left out), or a refusal of the paste.
struct Picture {
    QImage image;
    bool tooBig = false;
};

Picture refused() {
    return Picture{QImage(), true};
}

bool tooManyPixels(const QSize& size) {
    return size.isValid() &&
           qint64(size.width()) * size.height() > RichEdit::MaxPastedPicturePixels;
}

// Encoded picture data: checked before it is decoded.
Picture fromBytes(const QByteArray& bytes) {
    if (bytes.size() > RichEdit::MaxPastedPictureBytes)
        return refused();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (tooManyPixels(reader.size()))
        return refused();
    // Formats that cannot tell their size before decoding still stay within the pixel limit.
    reader.setAllocationLimit(int(RichEdit::MaxPastedPicturePixels * 4 / (1024 * 1024)) + 1);
    QImage image;
    if (!reader.read(&image))
        return {};
    return Picture{image};
}

Picture fromFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    if (info.size() > RichEdit::MaxPastedPictureBytes)
        return refused();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromBytes(file.readAll());
}

// data:[<type>][;base64],<payload>
Picture fromDataUri(const QString& uri) {
    const qsizetype comma = uri.indexOf(u',');
    if (comma < 0)
        return {};
    const bool base64 = uri.left(comma).endsWith(QLatin1String(";base64"), Qt::CaseInsensitive);
    const QStringView payload = QStringView(uri).mid(comma + 1);
    // Refused before decoding: base64 carries three bytes in four characters.
    if ((base64 ? payload.size() / 4 * 3 : payload.size() / 3) > RichEdit::MaxPastedPictureBytes)
        return refused();
    const QByteArray text = payload.toLatin1();
    return fromBytes(base64 ? QByteArray::fromBase64(text) : QByteArray::fromPercentEncoding(text));
}

// A picture an HTML paste names: embedded data or a file on this machine. Everything else
// would have to be downloaded or cannot be found, and is left out.
Picture fromHtmlSource(const QString& src) {
    if (src.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return fromDataUri(src);
    if (QDir::isAbsolutePath(src) && !src.startsWith(QLatin1String("//")))
        return fromFile(src);
    const QUrl url(src);
    if (url.isLocalFile())
        return fromFile(url.toLocalFile());
    return {};
}

Picture fromImage(const QImage& image) {
    if (image.isNull())
        return {};
    if (tooManyPixels(image.size()))
        return refused();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    if (png.size() > RichEdit::MaxPastedPictureBytes)
        return refused();
    return Picture{image};
}

// Checks every PNG and JPEG picture of an RTF text (the kinds the codec keeps) before the codec
// decodes any: its encoded size and the pixel size its header declares. Only the data of the
// \pict group itself counts; nested groups such as \blipuid are not picture data.
bool rtfPicturesFit(const QByteArray& rtf) {
    if (rtf.isEmpty())
        return true;
    const qsizetype n = rtf.size();
    const char* p = rtf.constData();
    int depth = 0;
    int pictDepth = -1; // depth of the open \pict group, -1 outside one
    bool blip = false;
    QByteArray data;
    int nibble = -1;
    auto pictureFits = [&] {
        if (!blip || data.isEmpty())
            return true;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return !tooManyPixels(QImageReader(&buffer).size());
    };
    for (qsizetype i = 0; i < n;) {
        const char c = p[i];
        if (c == '{') {
            ++depth;
            ++i;
        } else if (c == '}') {
            if (depth == pictDepth) {
                if (!pictureFits())
                    return false;
                pictDepth = -1;
                data.clear();
            }
            --depth;
            ++i;
        } else if (c == '\\') {
            qsizetype j = i + 1;
            if (j < n && std::isalpha(uchar(p[j]))) {
                while (j < n && std::isalpha(uchar(p[j])))
                    ++j;
                const QByteArrayView word(p + i + 1, j - i - 1);
                const qsizetype digits = j;
                if (j < n && p[j] == '-')
                    ++j;
                while (j < n && std::isdigit(uchar(p[j])))
                    ++j;
                const qint64 param =
                    j > digits ? QByteArrayView(p + digits, j - digits).toLongLong() : 0;
                if (j < n && p[j] == ' ')
                    ++j;
                if (word == "pict" && pictDepth < 0) {
                    pictDepth = depth;
                    blip = false;
                    nibble = -1;
                } else if (pictDepth >= 0 && (word == "pngblip" || word == "jpegblip")) {
                    blip = true;
                } else if (word == "bin" && param > 0) {
                    // Raw bytes follow the keyword.
                    const qsizetype count = qsizetype(std::min<qint64>(param, n - j));
                    if (blip && depth == pictDepth) {
                        if (data.size() + count > RichEdit::MaxPastedPictureBytes)
                            return false;
                        data.append(p + j, count);
                    }
                    j += count;
                }
                i = j;
            } else {
                // A control symbol; \'hh carries two hex digits that are text, not picture data.
                i += (j < n && p[j] == '\'') ? 4 : 2;
            }
        } else {
            if (blip && depth == pictDepth && std::isxdigit(uchar(c))) {
                const int value = std::isdigit(uchar(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
                if (nibble < 0) {
                    nibble = value;
                } else {
                    if (data.size() >= RichEdit::MaxPastedPictureBytes)
                        return false;
                    data += char(nibble * 16 + value);
                    nibble = -1;
                }
            }
            ++i;
        }
    }
    return pictDepth < 0 || pictureFits();
}

// The document a paste is built in. It never loads a resource by itself: every picture is
// resolved, checked and carried over explicitly.
class ScratchDocument : public QTextDocument {
  protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

QString uniquePictureName() {
    return QStringLiteral("pasted:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

using Resolver = std::function<Picture(const QString& name)>;

// Resolves every picture of scratch through resolve: a refused one refuses the paste (answers
// false, target untouched), one left out is removed from scratch, the others are added to target
// under fresh names and scratch's pictures renamed to them.
bool carryPictures(QTextDocument& scratch, QTextDocument* target, const Resolver& resolve) {
    struct Spot {
        int position;
        QTextImageFormat format;
    };
    std::vector<Spot> spots;
    QHash<QString, Picture> pictures;
    for (QTextBlock block = scratch.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            const QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (!pictures.contains(format.name())) {
                Picture picture = resolve(format.name());
                if (picture.tooBig)
                    return false;
                pictures.insert(format.name(), std::move(picture));
            }
            for (int i = 0; i < fragment.length(); ++i)
                spots.push_back(Spot{fragment.position() + i, format});
        }
    }

    QHash<QString, QString> names; // scratch's name -> the name in target
    QTextCursor cursor(&scratch);
    // Backwards, so a removal leaves the positions still to visit as they are.
    for (auto spot = spots.rbegin(); spot != spots.rend(); ++spot) {
        cursor.setPosition(spot->position);
        cursor.setPosition(spot->position + 1, QTextCursor::KeepAnchor);
        const QString name = spot->format.name();
        const Picture& picture = pictures[name];
        if (picture.image.isNull()) {
            cursor.removeSelectedText();
            continue;
        }
        QString& targetName = names[name];
        if (targetName.isEmpty()) {
            targetName = uniquePictureName();
            target->addResource(QTextDocument::ImageResource, QUrl(targetName), picture.image);
        }
        QTextImageFormat format = spot->format;
        format.setName(targetName);
        cursor.setCharFormat(format);
    }
    return true;
}

const QString& refusalText() {
    static const QString text = QStringLiteral("粘贴的图片太大（超过10MB），请缩小后再粘贴！");
    return text;
}

} // namespace

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent) {}

RichEdit::~RichEdit() = default;

bool RichEdit::canInsertFromMimeData(const QMimeData* source) const {
    if (source && acceptRichText()) {
        if (source->hasImage())
            return true;
        for (const QString& format : rtfFormats())
            if (source->hasFormat(format))
                return true;
    }
    return QTextEdit::canInsertFromMimeData(source);
}

void RichEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !acceptRichText()) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    ScratchDocument scratch;
    Resolver resolve;
    const QByteArray rtf = rtfOf(source);
    if (!rtf.isEmpty()) {
        if (!rtfPicturesFit(rtf)) {
            Dialogs::messageBox(QStringLiteral("提示"), refusalText(), Dialogs::Icon::Information);
            return;
        }
        Rtf::read(rtf, &scratch);
        // The codec added its pictures to scratch; they were checked above.
        resolve = [&scratch](const QString& name) {
            return Picture{
                scratch.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>()};
        };
    } else if (source->hasHtml()) {
        scratch.setHtml(source->html());
        resolve = fromHtmlSource;
    } else if (source->hasImage()) {
        const QString name = QStringLiteral("image");
        QTextCursor(&scratch).insertImage(name);
        const QImage image = source->imageData().value<QImage>();
        resolve = [image](const QString&) { return fromImage(image); };
    } else {
        QTextEdit::insertFromMimeData(source);
        return;
    }

    if (!carryPictures(scratch, document(), resolve)) {
        Dialogs::messageBox(QStringLiteral("提示"), refusalText(), Dialogs::Icon::Information);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertFragment(QTextDocumentFragment(&scratch));
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData* RichEdit::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return QTextEdit::createMimeDataFromSelection();
    const QTextDocumentFragment fragment = cursor.selection();
    QTextDocument selection;
    QTextCursor(&selection).insertFragment(fragment);
    // The fragment names its pictures; the RTF needs the pictures themselves.
    for (QTextBlock block = selection.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QUrl name(format.toImageFormat().name());
            selection.addResource(QTextDocument::ImageResource, name,
                                  document()->resource(QTextDocument::ImageResource, name));
        }
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), Rtf::write(selection));
    data->setHtml(fragment.toHtml());
    data->setText(fragment.toPlainText());
    return data;
}
