#pragma once

#include "print_device.h"
#include "print_framework.h"

#include <QString>
#include <initializer_list>

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

// The frame of a ruled table: the outline 7 device pixels wide, the rule
// under the heading 5, and column rules of 2 from top to bottom at
// `offset` + each of `columns`.
inline void tableFrame(PrintDevice& d, double left, double top, double right, double bottom, double headingBottom,
                       std::initializer_list<double> columns, double offset = 0)
{
    d.lineWidth = 7;
    d.box(left, top, right, bottom);
    hline(d, left, right, headingBottom, 5);
    for (double x : columns)
        vline(d, offset + x, top, bottom, 2);
}

// Rules of 2 across the table at y0 + pitch * i for rows `first` to `last`.
inline void rowRules(PrintDevice& d, double left, double right, double y0, double pitch, int first, int last)
{
    for (int i = first; i <= last; ++i)
        hline(d, left, right, y0 + pitch * i, 2);
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
