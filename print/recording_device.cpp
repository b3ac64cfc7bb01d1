#include "recording_device.h"

#include <QFont>
#include <cmath>

using namespace Qt::StringLiterals;

RecordingDevice::RecordingDevice() : m_metricSurface(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMetre = int(std::lround(600 / 0.0254));
    m_metricSurface.setDotsPerMeterX(dotsPerMetre);
    m_metricSurface.setDotsPerMeterY(dotsPerMetre);
}

bool RecordingDevice::applyPageSetup()
{
    if (rejectPageSetup)
        return false;
    QSizeF paper = paperCode == kPaperB5       ? QSizeF(182, 257)
                   : paperCode == kPaperCustom ? customPaperMm
                                               : QSizeF(210, 297);
    if (orientation == Orientation::Landscape)
        paper.transpose();
    if (paper != paperMm) {
        const QSizeF margins = paperMm - printableMm;
        paperMm = paper;
        printableMm = paper - margins;
    }
    return true;
}

const QFontMetricsF& RecordingDevice::metrics() const
{
    const QString key = font.face + u'|' + QString::number(font.size) + u'|' + QString::number(font.bold) +
                        QString::number(font.italic);
    if (!m_metrics || m_metrics->first != key) {
        QFont f(installedFace(font.face));
        f.setPointSizeF(std::max(1.0f, font.size));
        f.setBold(font.bold);
        f.setItalic(font.italic);
        f.setStyleStrategy(QFont::PreferMatch);
        f.setHintingPreference(QFont::PreferNoHinting);
        m_metrics.emplace(key, QFontMetricsF(f, &m_metricSurface));
    }
    return m_metrics->second;
}

double RecordingDevice::textWidth(const QString& text) const
{
    return metrics().horizontalAdvance(text) * 25.4 / 600.0;
}

double RecordingDevice::textHeight(const QString&) const
{
    return metrics().height() * 25.4 / 600.0;
}

RecordingDevice::Primitive RecordingDevice::make(Primitive::Kind kind, double x1, double y1, double x2, double y2) const
{
    Primitive p;
    p.kind = kind;
    p.page = page();
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    p.paper1 = toAreaMm(x1, y1) + printableOffsetMm;
    p.paper2 = toAreaMm(x2, y2) + printableOffsetMm;
    p.face = font.face;
    p.size = font.size;
    p.bold = font.bold;
    p.italic = font.italic;
    p.underline = font.underline;
    p.strikethrough = font.strikethrough;
    p.lineWidth = lineWidth;
    p.fill = fillStyle;
    p.colour = foreColour;
    p.fillColour = fillColour;
    return p;
}

void RecordingDevice::drawText(const QString& text, double x, double y)
{
    Primitive p = make(Primitive::Text, x, y, x + textWidth(text), y + textHeight(text));
    p.text = text;
    if (!clipMm.isEmpty())
        p.clip = QRectF(toAreaMm(clipMm.left(), clipMm.top()) + printableOffsetMm,
                        toAreaMm(clipMm.right(), clipMm.bottom()) + printableOffsetMm);
    primitives.append(p);
}

void RecordingDevice::drawLine(double x1, double y1, double x2, double y2)
{
    primitives.append(make(Primitive::Line, x1, y1, x2, y2));
}

void RecordingDevice::drawBox(double x1, double y1, double x2, double y2)
{
    primitives.append(make(Primitive::Box, x1, y1, x2, y2));
}

void RecordingDevice::drawFilledBox(double x1, double y1, double x2, double y2, const QColor& colour)
{
    Primitive p = make(Primitive::FilledBox, x1, y1, x2, y2);
    p.colour = colour;
    primitives.append(p);
}

void RecordingDevice::drawPicture(const QImage&, double x, double y, double width, double height)
{
    primitives.append(make(Primitive::Picture, x, y, x + width, y + height));
}

void RecordingDevice::startNewPage()
{
    primitives.append(make(Primitive::NewPage, 0, 0, 0, 0));
}

void RecordingDevice::endDoc()
{
    primitives.append(make(Primitive::EndDoc, 0, 0, 0, 0));
    ended = true;
}

void RecordingDevice::abortDoc()
{
    primitives.append(make(Primitive::AbortDoc, 0, 0, 0, 0));
    aborted = true;
}

QSizeF RecordingDevice::printableSizeMm() const
{
    return printableMm;
}

PhysicalMetrics RecordingDevice::physicalMetrics() const
{
    PhysicalMetrics m;
    m.dpiX = m.dpiY = dpi;
    m.width = paperMm.width() * dpi / 25.4;
    m.height = paperMm.height() * dpi / 25.4;
    m.offsetX = printableOffsetMm.x() * dpi / 25.4;
    m.offsetY = printableOffsetMm.y() * dpi / 25.4;
    return m;
}

QList<RecordingDevice::Primitive> RecordingDevice::texts() const
{
    QList<Primitive> out;
    for (const Primitive& p : primitives)
        if (p.kind == Primitive::Text && !p.text.trimmed().isEmpty())
            out << p;
    return out;
}

std::optional<RecordingDevice::Primitive> RecordingDevice::findText(const QString& text) const
{
    for (const Primitive& p : primitives)
        if (p.kind == Primitive::Text && p.text == text)
            return p;
    return std::nullopt;
}

QList<RecordingDevice::Primitive> RecordingDevice::onPage(int page) const
{
    QList<Primitive> out;
    for (const Primitive& p : primitives)
        if (p.page == page)
            out << p;
    return out;
}

namespace {
QString mm(double v)
{
    // Two decimals, and never "-0.00", so a listing does not change with the
    // sign of a rounding error.
    const double r = std::round(v * 100) / 100;
    return QString::number(r == 0 ? 0.0 : r, 'f', 2);
}

QString points(const RecordingDevice::Primitive& p)
{
    return mm(p.paper1.x()) + u' ' + mm(p.paper1.y()) + u' ' + mm(p.paper2.x()) + u' ' + mm(p.paper2.y());
}

QString colourName(const QColor& c)
{
    return c.name(QColor::HexRgb);
}
} // namespace

QString RecordingDevice::listing() const
{
    using Kind = Primitive::Kind;
    QString out;
    out += u"paper "_s + mm(paperMm.width()) + u' ' + mm(paperMm.height()) +
           (orientation == Orientation::Landscape ? u" landscape"_s : u" portrait"_s) + u'\n';
    for (const Primitive& p : primitives) {
        QString line = QString::number(p.page) + u' ';
        switch (p.kind) {
        case Kind::Text: {
            if (p.text.trimmed().isEmpty())
                continue;
            QString style;
            if (p.bold)
                style += u'b';
            if (p.italic)
                style += u'i';
            if (p.underline)
                style += u'u';
            if (p.strikethrough)
                style += u's';
            line +=
                u"text "_s + points(p) + u' ' + p.face + u' ' + mm(p.size) + (style.isEmpty() ? u""_s : u' ' + style);
            if (p.colour != QColor(Qt::black))
                line += u' ' + colourName(p.colour);
            line += u" \""_s + p.text + u'"';
            if (!p.clip.isEmpty())
                line += u" clip "_s + mm(p.clip.left()) + u' ' + mm(p.clip.top()) + u' ' + mm(p.clip.right()) + u' ' +
                        mm(p.clip.bottom());
            break;
        }
        case Kind::Line:
            line += u"line "_s + points(p) + u" w"_s + QString::number(p.lineWidth);
            if (p.colour != QColor(Qt::black))
                line += u' ' + colourName(p.colour);
            break;
        case Kind::Box:
            line += u"box "_s + points(p) + u" w"_s + QString::number(p.lineWidth) + u" fill"_s +
                    QString::number(int(p.fill));
            if (p.fill != FillStyle::Transparent)
                line += u' ' + colourName(p.fillColour);
            if (p.colour != QColor(Qt::black))
                line += u' ' + colourName(p.colour);
            break;
        case Kind::FilledBox: line += u"filled "_s + points(p) + u' ' + colourName(p.colour); break;
        case Kind::Picture: line += u"picture "_s + points(p); break;
        case Kind::NewPage: line += u"newpage"_s; break;
        case Kind::EndDoc: line += u"end"_s; break;
        case Kind::AbortDoc: line += u"abort"_s; break;
        }
        out += line + u'\n';
    }
    return out;
}
