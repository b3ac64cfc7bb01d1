#pragma once

#include <QString>
#include <optional>

// Narrowing to half-width characters (ｶﾀｶﾅ, ASCII digits and letters) and
// widening to full-width, as the roster stores postal codes, telephone
// numbers, addresses and readings. Characters whose half-width form code
// page 932 cannot hold (￥, ￣, ￤, ￠, ￡, ￢) keep their full-width form, so
// a narrowed value can always be saved.
QString toHalfWidth(const QString& text);
QString toFullWidth(const QString& text);

// A postal code, telephone or fax number narrowed: besides toHalfWidth, the
// dashes input methods type in place of "-" (minus sign, hyphens, dashes,
// the long-vowel mark) become "-".
QString toHalfWidthNumber(const QString& text);

// Numbers typed into a box are read the same way in every window: digits
// and signs may be half- or full-width (an input method left in full-width
// mode), surrounding spaces of either width are ignored.
//
// The leading whole number ("12abc" is 12; letters or nothing are 0), kept
// within [min, max].
qint64 typedNumber(const QString& text, qint64 min, qint64 max);
// The whole box as a whole number; nothing when it is empty or holds
// anything else.
std::optional<qint64> typedWholeNumber(const QString& text);
// The leading decimal number ("1.5mm" is 1.5); 0 when there is none.
double typedDecimal(const QString& text);
