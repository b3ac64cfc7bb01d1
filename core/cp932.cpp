#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace cp932 {

namespace {
constexpr const char* kCodecName = "windows-31j";

bool isAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}
} // namespace

QString mapLookAlikes(const QString& text)
{
    if (isAscii(text))
        return text;
    QString out = text;
    for (QChar& c : out) {
        switch (c.unicode()) {
        case 0x301C: c = QChar(0xFF5E); break; // WAVE DASH -> FULLWIDTH TILDE
        case 0x2212: c = QChar(0xFF0D); break; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x2016: c = QChar(0x2225); break; // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x00A2: c = QChar(0xFFE0); break; // CENT
        case 0x00A3: c = QChar(0xFFE1); break; // POUND
        case 0x00AC: c = QChar(0xFFE2); break; // NOT SIGN
        case 0x2014: c = QChar(0x2015); break; // EM DASH -> HORIZONTAL BAR
        default: break;
        }
    }
    return out;
}

// ICU's table for this code page rotates three control characters (bytes
// 0x1A, 0x1C and 0x7F); Windows maps every byte below 0x80 to itself, and so
// must we, both ways.
static void undoControlRotation(QString& text)
{
    for (QChar& c : text) {
        switch (c.unicode()) {
        case 0x1C: c = QChar(0x1A); break;
        case 0x7F: c = QChar(0x1C); break;
        case 0x1A: c = QChar(0x7F); break;
        default: break;
        }
    }
}

static void applyControlRotation(QString& text)
{
    for (QChar& c : text) {
        switch (c.unicode()) {
        case 0x1A: c = QChar(0x1C); break;
        case 0x1C: c = QChar(0x7F); break;
        case 0x7F: c = QChar(0x1A); break;
        default: break;
        }
    }
}

std::optional<QString> decode(const QByteArray& bytes)
{
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    undoControlRotation(text);
    return text;
}

namespace {
// One converter per thread: opening a converter costs far more than using it.
// Its error flag cannot be cleared, so a converter that met an unencodable
// character is thrown away.
thread_local std::optional<QStringEncoder> t_encoder;

QStringEncoder& encoder()
{
    if (!t_encoder || t_encoder->hasError())
        t_encoder.emplace(kCodecName, QStringConverter::Flag::Stateless);
    return *t_encoder;
}

bool encodesAlone(const QString& text)
{
    // A lone character is not always reported by the converter's error flag
    // (it may substitute instead), so it must also come back as it went in.
    QStringEncoder e(kCodecName, QStringConverter::Flag::Stateless);
    const QByteArray bytes = e.encode(text);
    if (e.hasError())
        return false;
    QStringDecoder d(kCodecName, QStringConverter::Flag::Stateless);
    const QString back = d.decode(bytes);
    return !d.hasError() && back == text;
}
} // namespace

bool encode(const QString& text, QByteArray& out, QString* bad)
{
    if (isAscii(text)) {
        out += text.toLatin1();
        return true;
    }
    QString rotated = text;
    applyControlRotation(rotated);
    QStringEncoder& e = encoder();
    QByteArray bytes = e.encode(rotated);
    if (!e.hasError()) {
        out += bytes;
        return true;
    }
    if (bad) {
        // Name the first character (or surrogate pair) that fails on its own.
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
            const QString one = text.mid(i, len);
            if (!encodesAlone(one)) {
                *bad = one;
                break;
            }
            i += len - 1;
        }
    }
    return false;
}

bool canEncode(const QString& text)
{
    QByteArray scratch;
    return encode(text, scratch);
}

} // namespace cp932
