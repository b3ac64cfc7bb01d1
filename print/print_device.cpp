#include "print_device.h"

#include <algorithm>

using namespace Qt::StringLiterals;

QString installedFace(const QString& layoutFace)
{
    // The layouts name the Windows Mincho faces; IPA's Mincho faces have the
    // same metrics class (fixed and proportional).
    if (layoutFace == u"ＭＳ 明朝"_s || layoutFace == u"MS Mincho"_s)
        return u"IPAMincho"_s;
    if (layoutFace == u"ＭＳ Ｐ明朝"_s || layoutFace == u"MS PMincho"_s)
        return u"IPAPMincho"_s;
    if (layoutFace == u"ＭＳ ゴシック"_s)
        return u"IPAGothic"_s;
    if (layoutFace == u"ＭＳ Ｐゴシック"_s)
        return u"IPAPGothic"_s;
    return layoutFace;
}

void PrintDevice::print(const QString& text)
{
    if (pageIsPrinted())
        drawText(text, currentX, currentY);
    currentY += textHeight(text);
    currentX = scaleLeft;
}

QPointF PrintDevice::correction() const
{
    return orientation == Orientation::Landscape ? correctionLandscape : correctionPortrait;
}

QPointF PrintDevice::toAreaMm(double x, double y) const
{
    const QPointF c = correction();
    return QPointF(x - scaleLeft + c.x(), y - scaleTop + c.y());
}

void PrintDevice::line(double x1, double y1, double x2, double y2)
{
    if (pageIsPrinted())
        drawLine(x1, y1, x2, y2);
}

void PrintDevice::box(double x1, double y1, double x2, double y2)
{
    if (pageIsPrinted())
        drawBox(x1, y1, x2, y2);
}

void PrintDevice::filledBox(double x1, double y1, double x2, double y2, const QColor& colour)
{
    if (pageIsPrinted())
        drawFilledBox(x1, y1, x2, y2, colour);
}

void PrintDevice::picture(const QImage& image, double x, double y, double width, double height)
{
    if (pageIsPrinted())
        drawPicture(image, x, y, width, height);
}

void PrintDevice::setPageRange(int first, int last)
{
    m_firstPage = std::max(1, first);
    m_lastPage = std::max(0, last);
    m_printedPages = pageIsPrinted() ? 1 : 0;
}

bool PrintDevice::pageIsPrinted() const
{
    const int inCopy = m_page - m_copyFirstPage + 1;
    return inCopy >= m_firstPage && (m_lastPage == 0 || inCopy <= m_lastPage);
}

void PrintDevice::advancePage(bool copyStarts)
{
    // The sheet is fed only between two printed pages: a range never starts
    // or ends with a blank sheet.
    const int next = m_page + 1;
    const int copyFirst = copyStarts ? next : m_copyFirstPage;
    const int inCopy = next - copyFirst + 1;
    const bool printed = inCopy >= m_firstPage && (m_lastPage == 0 || inCopy <= m_lastPage);
    if (printed && m_printedPages > 0)
        startNewPage();
    m_page = next;
    m_copyFirstPage = copyFirst;
    if (printed)
        ++m_printedPages;
}

void PrintDevice::newPage()
{
    advancePage(false);
}

void PrintDevice::newCopy()
{
    advancePage(true);
}
