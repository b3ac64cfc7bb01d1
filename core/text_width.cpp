#include "text_width.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

std::unique_ptr<icu::Transliterator> makeTransliterator(const char* id)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        return nullptr;
    return t;
}

QString transliterate(const QString& text, icu::Transliterator* t)
{
    if (!t || text.isEmpty())
        return text;
    icu::UnicodeString s(reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
    t->transliterate(s);
    return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

} // namespace

namespace {
// Half-width forms code page 932 lacks, back to the full-width forms it has.
QString keepEncodable(QString text)
{
    for (QChar& c : text) {
        switch (c.unicode()) {
        case 0x00A5: c = QChar(0xFFE5); break; // YEN SIGN
        case 0x00AF: c = QChar(0xFFE3); break; // MACRON
        case 0x00A6: c = QChar(0xFFE4); break; // BROKEN BAR
        case 0x00A2: c = QChar(0xFFE0); break; // CENT SIGN
        case 0x00A3: c = QChar(0xFFE1); break; // POUND SIGN
        case 0x00AC: c = QChar(0xFFE2); break; // NOT SIGN
        default: break;
        }
    }
    return text;
}

bool isDashLike(char16_t c)
{
    switch (c) {
    case 0x2010: // HYPHEN
    case 0x2011: // NON-BREAKING HYPHEN
    case 0x2012: // FIGURE DASH
    case 0x2013: // EN DASH
    case 0x2014: // EM DASH
    case 0x2015: // HORIZONTAL BAR
    case 0x2212: // MINUS SIGN
    case 0x30FC: // KATAKANA-HIRAGANA PROLONGED SOUND MARK (typed in kana mode)
    case 0xFF70: // its half-width form
    case 0xFE63: // SMALL HYPHEN-MINUS
    case 0xFF0D: // FULLWIDTH HYPHEN-MINUS
        return true;
    default: return false;
    }
}

// Digits, signs, point and spaces as ASCII; everything else as it was.
QString numberText(const QString& text)
{
    QString t = text;
    for (QChar& c : t) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            c = QChar(char16_t(u'0' + (u - 0xFF10)));
        else if (u == 0xFF0B)
            c = u'+';
        else if (u == 0xFF0E)
            c = u'.';
        else if (u == 0x3000)
            c = u' ';
        else if (isDashLike(u))
            c = u'-';
    }
    return t.trimmed();
}
} // namespace

QString toHalfWidth(const QString& text)
{
    thread_local std::unique_ptr<icu::Transliterator> t = makeTransliterator("Fullwidth-Halfwidth");
    return keepEncodable(transliterate(text, t.get()));
}

QString toFullWidth(const QString& text)
{
    thread_local std::unique_ptr<icu::Transliterator> t = makeTransliterator("Halfwidth-Fullwidth");
    return transliterate(text, t.get());
}

QString toHalfWidthNumber(const QString& text)
{
    QString t = toHalfWidth(text);
    for (QChar& c : t)
        if (isDashLike(c.unicode()))
            c = u'-';
    return t;
}

qint64 typedNumber(const QString& text, qint64 min, qint64 max)
{
    const QString t = numberText(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        negative = t[i++] == u'-';
    qint64 v = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i)
        v = std::min<qint64>(v * 10 + (t[i].unicode() - u'0'), qint64(1) << 40);
    return std::clamp<qint64>(negative ? -v : v, min, max);
}

std::optional<qint64> typedWholeNumber(const QString& text)
{
    const QString t = numberText(text);
    qsizetype i = (t.startsWith(u'-') || t.startsWith(u'+')) ? 1 : 0;
    if (i >= t.size() || t.size() > 19)
        return std::nullopt;
    for (qsizetype j = i; j < t.size(); ++j)
        if (t[j] < u'0' || t[j] > u'9')
            return std::nullopt;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

double typedDecimal(const QString& text)
{
    const QString t = numberText(text);
    qsizetype i = (t.startsWith(u'-') || t.startsWith(u'+')) ? 1 : 0;
    bool point = false;
    qsizetype digits = 0;
    for (; i < t.size(); ++i) {
        if (t[i] >= u'0' && t[i] <= u'9')
            ++digits;
        else if (t[i] == u'.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return 0;
    bool ok = false;
    const double v = t.left(i).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}
