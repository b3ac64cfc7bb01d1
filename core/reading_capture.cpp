#include "reading_capture.h"

#include "text_width.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace {
bool isKana(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x309F) || (u >= 0x30A0 && u <= 0x30FF) || u == 0x30FC;
}
} // namespace

QString readingKana(const QString& kana)
{
    thread_local std::unique_ptr<icu::Transliterator> toKatakana = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(
            icu::Transliterator::createInstance(icu::UnicodeString("Hiragana-Katakana"), UTRANS_FORWARD, status));
        return U_FAILURE(status) ? nullptr : std::move(t);
    }();
    QString katakana = kana;
    if (toKatakana) {
        icu::UnicodeString s(reinterpret_cast<const UChar*>(kana.utf16()), int32_t(kana.size()));
        toKatakana->transliterate(s);
        katakana = QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
    }
    return toHalfWidth(katakana);
}

void ReadingCapture::begin(const QString& reading, const QString& name)
{
    m_reading = reading;
    m_name = name;
    m_lastKana.clear();
    m_ended = false;
}

void ReadingCapture::clear()
{
    m_reading.clear();
    m_name.clear();
    m_lastKana.clear();
    m_ended = false;
}

void ReadingCapture::compositionEnded()
{
    m_ended = true;
}

void ReadingCapture::committing()
{
    m_ended = false;
}

void ReadingCapture::preedit(const QString& text)
{
    // Romaji not yet turned into kana ("やまd") is dropped from the end.
    QString kana = text;
    while (!kana.isEmpty() && kana.back().unicode() < 0x80)
        kana.chop(1);
    if (kana.isEmpty())
        return;
    for (QChar c : kana)
        if (!isKana(c))
            return; // the converted text itself: keep the kana it came from
    m_lastKana = kana;
    m_ended = false;
}

std::optional<QString> ReadingCapture::nameChanged(const QString& name)
{
    if (name.size() <= m_name.size()) {
        m_name = name.size() < m_name.size() ? name : m_name;
        return std::nullopt;
    }
    if (name.endsWith(QChar(0x3000))) {
        // A full-width space between family and given name.
        m_name = name;
        m_reading += u' ';
        return m_reading;
    }
    if (!m_ended)
        m_reading += readingKana(m_lastKana);
    m_lastKana.clear();
    m_ended = false;
    m_name = name;
    return m_reading;
}
