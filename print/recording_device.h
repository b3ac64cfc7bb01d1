#pragma once

#include "print_device.h"

#include <QFontMetricsF>
#include <QList>
#include <optional>

// A drawing surface that keeps every primitive instead of printing it, so a
// test can check a sheet the way a user checks it against the printed form.
// Text is measured with the same fonts at the same resolution as on paper.
class RecordingDevice : public PrintDevice {
public:
    struct Primitive {
        enum Kind { Text, Line, Box, FilledBox, Picture, NewPage, EndDoc, AbortDoc };
        Kind kind = Text;
        int page = 1;
        // Layout coordinates as the job gave them (for text: its cell).
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        // The same points in millimetres from the paper's edges.
        QPointF paper1, paper2;
        QString text;
        QString face;
        float size = 0;
        bool bold = false, italic = false, underline = false, strikethrough = false;
        int lineWidth = 0;
        FillStyle fill = FillStyle::Transparent;
        QColor colour;
        QColor fillColour;
        // The device's clip rectangle when the text was drawn, in
        // millimetres from the paper's edges; empty when nothing was cut.
        QRectF clip;
    };

    RecordingDevice();

    // What the "printer" reports: paper, printable area and its offset.
    QSizeF paperMm{210, 297};
    QSizeF printableMm{210, 297};
    QPointF printableOffsetMm{0, 0};
    double dpi = 600;
    bool rejectPageSetup = false;

    bool applyPageSetup() override;
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    void endDoc() override;
    void abortDoc() override;
    QSizeF printableSizeMm() const override;
    PhysicalMetrics physicalMetrics() const override;

    QList<Primitive> primitives;
    bool ended = false;
    bool aborted = false;

    // Helpers for tests.
    QList<Primitive> texts() const;
    std::optional<Primitive> findText(const QString& text) const;
    QList<Primitive> onPage(int page) const;

    // What was drawn as text, one primitive a line, in millimetres from the
    // paper's edges: the listing a printed page is compared against. Texts
    // that are only blanks leave nothing on paper and are left out.
    QString listing() const;

protected:
    void drawText(const QString& text, double x, double y) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawBox(double x1, double y1, double x2, double y2) override;
    void drawFilledBox(double x1, double y1, double x2, double y2, const QColor& colour) override;
    void drawPicture(const QImage& image, double x, double y, double width, double height) override;
    void startNewPage() override;

private:
    Primitive make(Primitive::Kind kind, double x1, double y1, double x2, double y2) const;
    const QFontMetricsF& metrics() const;
    QImage m_metricSurface;
    mutable std::optional<std::pair<QString, QFontMetricsF>> m_metrics;
};
