#include "painter_device.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintEngine>
#include <QPrinter>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>
#include <algorithm>
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
        // A PDF (and the spooler's PDF) and an image draw glyph runs as text;
        // other surfaces, such as the print preview's recording, are given
        // the text to draw as before.
        const QPaintEngine* engine = m_painter.paintEngine();
        m_drawsGlyphRuns = engine && (engine->type() == QPaintEngine::Pdf || engine->type() == QPaintEngine::Raster);
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
// Whether a face's glyphs stand side by side as the font maps them, for
// texts without combining marks: no kerning, no positioning, and no
// substitution that text layout applies unasked (the vertical forms and the
// width and era variants a Japanese face carries are only applied on request;
// mark composition is left to the full text layout).
bool shapesGlyphByGlyph(const QRawFont& raw)
{
    if (!raw.isValid() || !raw.fontTable("GPOS").isEmpty() || !raw.fontTable("kern").isEmpty() ||
        !raw.fontTable("morx").isEmpty() || !raw.fontTable("mort").isEmpty())
        return false;
    const QByteArray gsub = raw.fontTable("GSUB");
    if (gsub.isEmpty())
        return true;
    auto u16 = [&gsub](qsizetype at) -> int {
        if (at < 0 || at + 2 > gsub.size())
            return -1;
        return (uchar(gsub[at]) << 8) | uchar(gsub[at + 1]);
    };
    const int list = u16(6);
    const int count = u16(list);
    if (list <= 0 || count < 0)
        return false;
    static const QSet<QByteArray> onRequest = {"ccmp", "vert", "vrt2", "vkna", "vpal", "vhal", "valt", "aalt",
                                               "salt", "hwid", "fwid", "pwid", "qwid", "twid", "halt", "palt",
                                               "jp78", "jp83", "jp90", "jp04", "nlck", "expt", "trad", "smpl",
                                               "hojo", "ruby", "hkna", "ital", "zero", "frac", "sups", "subs"};
    for (int i = 0; i < count; ++i) {
        const qsizetype at = list + 2 + 6 * qsizetype(i);
        if (at + 4 > gsub.size())
            return false;
        const QByteArray tag = gsub.mid(at, 4);
        if (!onRequest.contains(tag) && !tag.startsWith("ss") && !tag.startsWith("cv"))
            return false;
    }
    return true;
}

// Characters that a plain face lays out one glyph each, left to right: the
// ASCII and Latin letters, the general punctuation and symbols, kana and
// kanji, and the full- and half-width forms; no combining marks (the faces
// compose those with the letter before), no controls, no format characters.
bool plainCharacter(char16_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Symbol_Modifier: return false;
    default: break;
    }
    return (c >= 0x20 && c < 0x7f) || (c >= 0xa0 && c < 0x250) || (c >= 0x2000 && c < 0x2c00) ||
           (c >= 0x3000 && c < 0x3100) || (c >= 0x3400 && c < 0xa000) || (c >= 0xf900 && c < 0xfb00) ||
           (c >= 0xff00 && c < 0xfff0);
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
        const QRawFont raw = QRawFont::fromFont(QFont(f, m_device));
        // A face that is not installed is stood in for script by script: only
        // the full text layout knows which face draws which character.
        const bool installed = raw.isValid() && raw.familyName().compare(f.family(), Qt::CaseInsensitive) == 0;
        CachedFont c{.font = f,
                     .metrics = QFontMetricsF(f, m_device),
                     .embolden = font.bold && !hasBoldFace(installedFace(font.face)),
                     .decorated = f.underline() || f.strikeOut() || f.overline(),
                     .raw = raw,
                     .glyphByGlyph = installed && shapesGlyphByGlyph(raw),
                     .texts = {}};
        it = m_fonts.emplace(key, std::move(c)).first;
    }
    m_lastKey = std::move(key);
    m_last = &it->second;
    return *m_last;
}

QString PainterDevice::usedFamily() const
{
    return QFontInfo(qtFont()).family();
}

bool PainterDevice::layOutGlyphByGlyph(const CachedFont& f, const QString& text, ShapedText& s)
{
    if (!f.glyphByGlyph || !std::all_of(text.begin(), text.end(), [](QChar c) { return plainCharacter(c.unicode()); }))
        return false;
    const QList<quint32> glyphs = f.raw.glyphIndexesForString(text);
    // A character the face lacks is drawn from another face: the full layout finds it.
    if (glyphs.size() != text.size() || std::find(glyphs.begin(), glyphs.end(), 0u) != glyphs.end())
        return false;
    const QList<QPointF> advances = f.raw.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    double x = 0;
    for (const QPointF& a : advances) {
        positions.append(QPointF(x, 0));
        x += a.x();
    }
    QGlyphRun run;
    run.setRawFont(f.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    s.advance = x;
    s.ascent = 0; // the positions are on the baseline
    s.runs = {run};
    return true;
}

void PainterDevice::layOut(const CachedFont& f, const QString& text, ShapedText& s) const
{
    QTextLayout layout(text, f.font, m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces); // measured as a field, not as a paragraph
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
        s.advance = line.horizontalAdvance();
        s.ascent = line.ascent();
        s.runs = line.glyphRuns();
    }
}

const PainterDevice::ShapedText& PainterDevice::shaped(const CachedFont& f, const QString& text) const
{
    const auto known = f.texts.constFind(text);
    if (known != f.texts.constEnd())
        return *known;
    ShapedText s;
    if (!text.isEmpty() && !layOutGlyphByGlyph(f, text, s))
        layOut(f, text, s);
    return *f.texts.insert(text, std::move(s));
}

double PainterDevice::textWidth(const QString& text) const
{
    return shaped(cachedFont(), text).advance * 25.4 / dpiX();
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
    const QFontMetricsF& m = f.metrics;
    const ShapedText& s = shaped(f, text);
    const QPointF at = devicePoint(x, y);
    if (!font.transparent)
        p.fillRect(QRectF(at, QSizeF(s.advance, m.height())), Qt::white);
    p.setPen(foreColour);
    if (!clipMm.isEmpty())
        p.setClipRect(deviceRect(clipMm.left(), clipMm.top(), clipMm.right(), clipMm.bottom()));
    // The Mincho faces have no bold: embolden by drawing again a hair to the right.
    const QPointF bolder(std::max(1.0, font.size * 0.035 * dpiX() / 72.0), 0);
    // The text's baseline lies the font's ascent below the top of its cell.
    const QPointF baseline(at.x(), at.y() + m.ascent());
    if (f.decorated || !m_drawsGlyphRuns) {
        // Underlines and strike-outs run the text's whole width only when Qt
        // draws the text itself.
        p.setFont(f.font);
        p.drawText(baseline, text);
        if (f.embolden)
            p.drawText(baseline + bolder, text);
        if (!clipMm.isEmpty())
            p.setClipping(false);
        return;
    }
    const QPointF origin = baseline - QPointF(0, s.ascent);
    for (const QGlyphRun& run : s.runs)
        p.drawGlyphRun(origin, run);
    if (f.embolden)
        for (const QGlyphRun& run : s.runs)
            p.drawGlyphRun(origin + bolder, run);
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
    // Names and addresses are drawn once; what repeats (titles, numbers,
    // periods) repeats on every page. Texts kept from earlier pages beyond
    // that are let go, so a long roster does not hold every name it printed.
    for (auto& [key, f] : m_fonts)
        if (f.texts.size() > kTextsKeptPerFont)
            f.texts.clear();
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
}
