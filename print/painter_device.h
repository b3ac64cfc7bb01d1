#pragma once

#include "print_device.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <map>
#include <optional>
#include <tuple>

class QPrinter;
class QPaintDevice;

// PrintDevice on QPainter: a printer (CUPS), a PDF file or a preview through
// QPrinter, or any surface (an image, a widget) for the screen graphs.
class PainterDevice : public PrintDevice {
public:
    explicit PainterDevice(QPrinter* printer);
    explicit PainterDevice(QPaintDevice* surface);
    ~PainterDevice() override;

    bool applyPageSetup() override;
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    void endDoc() override;
    void abortDoc() override;
    QSizeF printableSizeMm() const override;
    PhysicalMetrics physicalMetrics() const override;

    bool aborted() const { return m_aborted; }
    bool failed() const override { return m_failed; }
    // The face really used for the current font (a missing Mincho face would
    // silently become another).
    QString usedFamily() const;

protected:
    void drawText(const QString& text, double x, double y) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawBox(double x1, double y1, double x2, double y2) override;
    void drawFilledBox(double x1, double y1, double x2, double y2, const QColor& colour) override;
    void drawPicture(const QImage& image, double x, double y, double width, double height) override;
    void startNewPage() override;

private:
    QPainter& painter();
    // One font and its metrics on this device per face, size and style,
    // built once: a roster draws thousands of texts in a handful of fonts.
    struct FontKey {
        QString face;
        float size = 0;
        int style = 0; // bold, italic, strikethrough, underline as bits
        friend bool operator<(const FontKey& a, const FontKey& b)
        {
            return std::tie(a.size, a.style, a.face) < std::tie(b.size, b.style, b.face);
        }
        friend bool operator==(const FontKey&, const FontKey&) = default;
    };
    // A text laid out once in one font: its width is measured and its
    // glyphs drawn from the same shaping. A roster repeats the same numbers,
    // titles and periods on every row, and measures a text before drawing it.
    struct ShapedText {
        double advance = 0; // device pixels, trailing spaces included
        double ascent = 0;  // of the laid-out line: the glyphs are placed below its top
        QList<QGlyphRun> runs;
    };
    struct CachedFont {
        QFont font;
        QFontMetricsF metrics;
        bool embolden = false;     // a face without bold is emboldened by a second stroke
        bool decorated = false;    // underlined or struck out
        QRawFont raw;              // the face itself at the device's resolution
        bool glyphByGlyph = false; // a face whose plain texts need no shaping
        mutable QHash<QString, ShapedText> texts;
    };
    static constexpr qsizetype kTextsKeptPerFont = 2000;
    FontKey fontKey() const;
    void forgetFonts();
    const CachedFont& cachedFont() const;
    QFont qtFont() const;
    const QFontMetricsF& metrics() const { return cachedFont().metrics; }
    const ShapedText& shaped(const CachedFont& f, const QString& text) const;
    static bool layOutGlyphByGlyph(const CachedFont& f, const QString& text, ShapedText& s);
    void layOut(const CachedFont& f, const QString& text, ShapedText& s) const;
    QPointF devicePoint(double x, double y) const;
    QRectF deviceRect(double x1, double y1, double x2, double y2) const;
    double dpiX() const;
    double dpiY() const;
    QPen pen() const;
    void hatch(const QRectF& rect);

    QPrinter* m_printer = nullptr;
    QPaintDevice* m_device = nullptr;
    QPainter m_painter;
    bool m_ended = false;
    bool m_aborted = false;
    bool m_failed = false;         // could not be opened, or the document could not be finished
    bool m_begun = false;          // this job opened its output (and so owns what is in the file)
    bool m_drawsGlyphRuns = false; // the surface draws laid-out glyphs as text
    mutable std::map<FontKey, CachedFont> m_fonts;
    mutable FontKey m_lastKey;
    mutable const CachedFont* m_last = nullptr;
};
