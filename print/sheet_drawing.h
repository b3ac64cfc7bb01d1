#pragma once

#include "print_device.h"
#include "print_framework.h"

#include <QString>

// Small drawing steps every printed sheet repeats: text at a place, rules of a
// given width, numbers right-aligned in a field of character cells.
namespace sheet {

inline void put(PrintDevice& d, double x, double y, const QString& text)
{
    d.currentX = x;
    d.currentY = y;
    d.print(text);
}

inline void put(PrintDevice& d, double x, double y, const QString& text, const QString& face, float size)
{
    d.font.face = face;
    d.font.size = size;
    put(d, x, y, text);
}

// Right-aligned: the text ends at x.
inline void putRight(PrintDevice& d, double x, double y, const QString& text)
{
    put(d, x - d.textWidth(text), y, text);
}

// In `size` points, or smaller until narrower than `limit`; the size is
// `size` again afterwards.
inline void putFitted(PrintDevice& d, double x, double y, const QString& text, float size, double limit)
{
    fitTextToWidth(d, text, size, limit);
    put(d, x, y, text);
    d.font.size = size;
}

inline void hline(PrintDevice& d, double x1, double x2, double y, int width)
{
    d.lineWidth = width;
    d.line(x1, y, x2, y);
}

inline void vline(PrintDevice& d, double x, double y1, double y2, int width)
{
    d.lineWidth = width;
    d.line(x, y1, x, y2);
}

inline QString rightAligned(qint64 v, int cells)
{
    return QString::number(v).rightJustified(cells, u' ');
}

// A count is printed only when there is one.
inline void putCount(PrintDevice& d, double x, double y, qint64 v, int cells)
{
    if (v > 0)
        put(d, x, y, rightAligned(v, cells));
}

} // namespace sheet
