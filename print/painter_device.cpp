#include "painter_device.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <cmath>

using namespace Qt::StringLiterals;

PainterDevice::PainterDevice(QPrinter* printer) : m_printer(printer), m_device(printer)
{
}

PainterDevice::PainterDevice(QPaintDevice* surface) : m_device(surface)
{
}

PainterDevice::~PainterDevice()
{
    if (m_painter.isActive())
        m_painter.end();
}

bool PainterDevice::applyPageSetup()
{
    if (!m_printer)
        return true;
    bool ok = true;
    if (paperCode == kPaperA4)
        ok = m_printer->setPageSize(QPageSize(QPageSize::A4)) && ok;
    else if (paperCode == kPaperB5)
        ok = m_printer->setPageSize(QPageSize(QPageSize::JisB5)) && ok;
    else if (paperCode == kPaperCustom && customPaperMm.isValid())
        ok = m_printer->setPageSize(QPageSize(customPaperMm, QPageSize::Millimeter)) && ok;
    ok = m_printer->setPageOrientation(orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                             : QPageLayout::Portrait) &&
         ok;
    m_printer->setColorMode(colourMode == 2 ? QPrinter::Color : QPrinter::GrayScale);
    forgetFonts();
    return ok;
}

double PainterDevice::dpiX() const
{
    return m_printer ? m_printer->resolution() : m_device->logicalDpiX();
}

double PainterDevice::dpiY() const
{
    return m_printer ? m_printer->resolution() : m_device->logicalDpiY();
}

QPainter& PainterDevice::painter()
{
    if (!m_painter.isActive() && !m_ended && !m_failed) {
        // A folder that does not exist, a full disk or a printer that went
        // away: the job fails once, instead of trying again for every line.
        if (!m_painter.begin(m_device)) {
            m_failed = true;
            return m_painter;
        }
        m_begun = true;
        m_painter.setBackgroundMode(Qt::TransparentMode);
        m_painter.setRenderHint(QPainter::Antialiasing, !m_printer);
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    }
    return m_painter;
}

QFont PainterDevice::qtFont() const
{
    QFont f(installedFace(font.face));
    f.setPointSizeF(std::max(1.0f, font.size));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setStrikeOut(font.strikethrough);
    f.setUnderline(font.underline);
    f.setStyleStrategy(QFont::PreferMatch);
    f.setHintingPreference(QFont::PreferNoHinting); // the same widths on paper as measured
    return f;
}

namespace {
bool hasBoldFace(const QString& family)
{
    static QHash<QString, bool> known;
    const auto it = known.constFind(family);
    if (it != known.constEnd())
        return *it;
    bool bold = false;
    for (const QString& style : QFontDatabase::styles(family))
        bold = bold || style.contains(u"Bold"_s, Qt::CaseInsensitive);
    known.insert(family, bold);
    return bold;
}
} // namespace

PainterDevice::FontKey PainterDevice::fontKey() const
{
    return {font.face, font.size,
            (font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.strikethrough ? 4 : 0) | (font.underline ? 8 : 0)};
}

const PainterDevice::CachedFont& PainterDevice::cachedFont() const
{
    FontKey key = fontKey();
    if (m_last && key == m_lastKey)
        return *m_last;
    auto it = m_fonts.find(key);
    if (it == m_fonts.end()) {
        const QFont f = qtFont();
        it = m_fonts.emplace(key, CachedFont{f, QFontMetricsF(f, m_device), false}).first;
        it->second.embolden = font.bold && !hasBoldFace(installedFace(font.face));
    }
    m_lastKey = std::move(key);
    m_last = &it->second;
    return *m_last;
}

QString PainterDevice::usedFamily() const
{
    return QFontInfo(qtFont()).family();
}

double PainterDevice::textWidth(const QString& text) const
{
    return metrics().horizontalAdvance(text) * 25.4 / dpiX();
}

double PainterDevice::textHeight(const QString&) const
{
    return metrics().height() * 25.4 / dpiY();
}

QPointF PainterDevice::devicePoint(double x, double y) const
{
    const QPointF mm = toAreaMm(x, y);
    return QPointF(mm.x() * dpiX() / 25.4, mm.y() * dpiY() / 25.4);
}

QRectF PainterDevice::deviceRect(double x1, double y1, double x2, double y2) const
{
    return QRectF(devicePoint(x1, y1), devicePoint(x2, y2)).normalized();
}

QPen PainterDevice::pen() const
{
    // Widths are device pixels; a zero or cosmetic pen would print as a hairline.
    QPen p(foreColour, std::max(1, lineWidth));
    p.setCosmetic(false);
    p.setJoinStyle(Qt::MiterJoin);
    p.setCapStyle(Qt::SquareCap);
    return p;
}

void PainterDevice::drawText(const QString& text, double x, double y)
{
    QPainter& p = painter();
    if (!p.isActive())
        return;
    const CachedFont& f = cachedFont();
    if (m_painterFont != &f) {
        p.setFont(f.font);
        m_painterFont = &f;
    }
    const QFontMetricsF& m = f.metrics;
    const QPointF at = devicePoint(x, y);
    if (!font.transparent)
        p.fillRect(QRectF(at, QSizeF(m.horizontalAdvance(text), m.height())), Qt::white);
    p.setPen(foreColour);
    if (!clipMm.isEmpty())
        p.setClipRect(deviceRect(clipMm.left(), clipMm.top(), clipMm.right(), clipMm.bottom()));
    const QPointF baseline(at.x(), at.y() + m.ascent());
    p.drawText(baseline, text);
    // The Mincho faces have no bold: embolden by drawing again a hair to the right.
    if (f.embolden)
        p.drawText(baseline + QPointF(std::max(1.0, font.size * 0.035 * dpiX() / 72.0), 0), text);
    if (!clipMm.isEmpty())
        p.setClipping(false);
}

void PainterDevice::drawLine(double x1, double y1, double x2, double y2)
{
    QPainter& p = painter();
    if (!p.isActive())
        return;
    p.setPen(pen());
    p.drawLine(devicePoint(x1, y1), devicePoint(x2, y2));
}

void PainterDevice::hatch(const QRectF& r)
{
    // Hatch lines about 2 mm apart, whatever the resolution.
    const double step = std::max(4.0, dpiX() / 12.0);
    QPainter& p = painter();
    p.save();
    p.setClipRect(r);
    QPen thin(fillColour, std::max(1.0, dpiX() / 300.0));
    p.setPen(thin);
    const bool horizontal = fillStyle == FillStyle::Horizontal || fillStyle == FillStyle::Cross;
    const bool vertical = fillStyle == FillStyle::Vertical || fillStyle == FillStyle::Cross;
    const bool up = fillStyle == FillStyle::UpwardDiagonal || fillStyle == FillStyle::DiagonalCross;
    const bool down = fillStyle == FillStyle::DownwardDiagonal || fillStyle == FillStyle::DiagonalCross;
    if (horizontal)
        for (double y = r.top(); y <= r.bottom(); y += step)
            p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    if (vertical)
        for (double x = r.left(); x <= r.right(); x += step)
            p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    const double span = r.width() + r.height();
    if (up)
        for (double d = 0; d <= span; d += step)
            p.drawLine(QPointF(r.left() + d, r.bottom()), QPointF(r.left() + d - r.height(), r.top()));
    if (down)
        for (double d = 0; d <= span; d += step)
            p.drawLine(QPointF(r.left() + d - r.height(), r.bottom()), QPointF(r.left() + d, r.top()));
    p.restore();
}

void PainterDevice::drawBox(double x1, double y1, double x2, double y2)
{
    QPainter& p = painter();
    if (!p.isActive())
        return;
    const QRectF r = deviceRect(x1, y1, x2, y2);
    if (fillStyle == FillStyle::Solid)
        p.fillRect(r, fillColour);
    else if (fillStyle != FillStyle::Transparent)
        hatch(r);
    p.setPen(pen());
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void PainterDevice::drawFilledBox(double x1, double y1, double x2, double y2, const QColor& colour)
{
    QPainter& p = painter();
    if (p.isActive())
        p.fillRect(deviceRect(x1, y1, x2, y2), colour);
}

void PainterDevice::drawPicture(const QImage& image, double x, double y, double width, double height)
{
    QPainter& p = painter();
    if (p.isActive() && !image.isNull())
        p.drawImage(deviceRect(x, y, x + width, y + height), image);
}

void PainterDevice::startNewPage()
{
    if (m_printer && painter().isActive())
        m_printer->newPage();
    m_painterFont = nullptr; // a new page starts with the painter's own font
}

void PainterDevice::endDoc()
{
    if (m_painter.isActive() && !m_painter.end())
        m_failed = true;
    m_ended = true;
}

void PainterDevice::abortDoc()
{
    m_aborted = true;
    if (m_printer && !m_begun) {
        // Nothing was drawn (a range the job never reached, a stop before
        // its first page): there is no print job to take back, and asking a
        // preview's printer to abort one it never began brings it down.
    } else if (m_printer) {
        m_printer->abort();
        if (m_painter.isActive())
            m_painter.end();
        // A PDF of a stopped job is not left behind half written; a file the
        // job could not even open is the user's own and stays as it was.
        if (m_begun && m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty())
            QFile::remove(m_printer->outputFileName());
    } else if (m_painter.isActive()) {
        m_painter.end();
    }
    m_ended = true;
}

QSizeF PainterDevice::printableSizeMm() const
{
    if (m_printer)
        return m_printer->pageLayout().paintRect(QPageLayout::Millimeter).size();
    // In the surface's own units: an image drawn for a HiDPI screen has more
    // pixels than its size on the screen.
    const double ratio = m_device->devicePixelRatioF();
    return QSizeF(m_device->width() / ratio * 25.4 / dpiX(), m_device->height() / ratio * 25.4 / dpiY());
}

PhysicalMetrics PainterDevice::physicalMetrics() const
{
    PhysicalMetrics m;
    m.dpiX = dpiX();
    m.dpiY = dpiY();
    if (m_printer) {
        const QPageLayout layout = m_printer->pageLayout();
        const int res = m_printer->resolution();
        const QRect full = layout.fullRectPixels(res);
        const QRect paint = layout.paintRectPixels(res);
        m.width = full.width();
        m.height = full.height();
        m.offsetX = paint.left() - full.left();
        m.offsetY = paint.top() - full.top();
    } else {
        m.width = m_device->width();
        m.height = m_device->height();
    }
    return m;
}

void PainterDevice::forgetFonts()
{
    m_fonts.clear();
    m_last = nullptr;
    m_painterFont = nullptr;
}
