#include "text_width.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

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

QString toHalfWidth(const QString& text)
{
    thread_local std::unique_ptr<icu::Transliterator> t = makeTransliterator("Fullwidth-Halfwidth");
    return transliterate(text, t.get());
}

QString toFullWidth(const QString& text)
{
    thread_local std::unique_ptr<icu::Transliterator> t = makeTransliterator("Halfwidth-Fullwidth");
    return transliterate(text, t.get());
}
