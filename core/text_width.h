#pragma once

#include <QString>

// Narrowing to half-width characters (ｶﾀｶﾅ, ASCII digits and letters) and
// widening to full-width, as the roster stores postal codes, telephone
// numbers, addresses and readings.
QString toHalfWidth(const QString& text);
QString toFullWidth(const QString& text);
