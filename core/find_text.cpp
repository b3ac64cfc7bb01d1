#include "find_text.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace find_text {

namespace {

// NFKC widens half-width kana (joining ﾀﾞ into ダ) and narrows full-width
// letters and digits; the rest brings both kana forms and both cases together.
icu::Transliterator* comparisonTransliterator()
{
    thread_local std::unique_ptr<icu::Transliterator> t = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createInstance(
            icu::UnicodeString::fromUTF8("NFKC; Katakana-Hiragana; Lower"), UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            made.reset();
        return made;
    }();
    return t.get();
}

} // namespace

QString comparisonForm(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            out.append(c);
    }
    if (out.isEmpty())
        return out;
    if (icu::Transliterator* t = comparisonTransliterator()) {
        icu::UnicodeString s(reinterpret_cast<const UChar*>(out.utf16()), int32_t(out.size()));
        t->transliterate(s);
        out = QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
    } else {
        out = out.normalized(QString::NormalizationForm_KC).toLower();
    }
    return out;
}

Matcher::Matcher(const QString& typed) : m_key(comparisonForm(typed))
{
}

bool Matcher::matches(const QString& text) const
{
    return !m_key.isEmpty() && comparisonForm(text).contains(m_key);
}

bool Matcher::matchesAny(const QStringList& texts) const
{
    for (const QString& t : texts) {
        if (matches(t))
            return true;
    }
    return false;
}

bool Matcher::matches(const RowKeys& keys) const
{
    if (matchesAny(keys.texts))
        return true;
    for (const QString& code : keys.codes) {
        if (!m_key.isEmpty() && comparisonForm(code).startsWith(m_key))
            return true;
    }
    return false;
}

int findRow(int count, int start, bool forward, const std::function<bool(int)>& matches)
{
    if (count <= 0)
        return -1;
    int row = start < 0 ? (forward ? 0 : count - 1) : start % count;
    for (int step = 0; step < count; ++step) {
        if (matches(row))
            return row;
        row = forward ? (row + 1) % count : (row + count - 1) % count;
    }
    return -1;
}

} // namespace find_text
