#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// How the inside of a box is filled: the six hatch patterns the graphs use,
// solid, or nothing.
enum class FillStyle {
    Solid = 0,
    Transparent = 1,
    Horizontal = 2,
    Vertical = 3,
    UpwardDiagonal = 4,
    DownwardDiagonal = 5,
    Cross = 6,
    DiagonalCross = 7,
};

struct FontSpec {
    QString face = QStringLiteral("ＭＳ 明朝"); // as the layouts name it
    float size = 12;                            // points, fractions allowed
    bool bold = false;
    bool italic = false;
    bool strikethrough = false;
    bool underline = false;
    bool transparent = true; // no background box behind text
};

// The installed face that stands in for a face a layout names.
QString installedFace(const QString& layoutFace);

// The page as the printer describes it, in device pixels.
struct PhysicalMetrics {
    double width = 0;   // PHYSICALWIDTH
    double height = 0;  // PHYSICALHEIGHT
    double offsetX = 0; // PHYSICALOFFSETX: paper edge to printable area
    double offsetY = 0; // PHYSICALOFFSETY
    double dpiX = 600;
    double dpiY = 600;
};

// A printer, a PDF file, an image or a test recorder as a drawing surface in
// millimetres. Layout coordinates are measured from the origin offsets:
// `scaleLeft` and `scaleTop` are the coordinate values at the left and top
// edges of the printable area.
class PrintDevice {
public:
    virtual ~PrintDevice() = default;

    enum class Orientation { Portrait = 1, Landscape = 2 };
    static constexpr int kPaperA4 = 9;
    static constexpr int kPaperB5 = 13;
    static constexpr int kPaperCustom = 256;

    // Page set-up; applyPageSetup() makes paper, orientation and colour take
    // effect and says whether the printer accepted them.
    int paperCode = kPaperA4;
    QSizeF customPaperMm;
    Orientation orientation = Orientation::Portrait;
    int colourMode = 1; // 1 monochrome, 2 colour
    virtual bool applyPageSetup() = 0;

    double scaleLeft = 0;
    double scaleTop = 0;
    double currentX = 0;
    double currentY = 0;
    FontSpec font;
    int lineWidth = 1; // device pixels
    FillStyle fillStyle = FillStyle::Transparent;
    QColor fillColour = Qt::black;
    QColor foreColour = Qt::black;
    // Text is cut off outside this rectangle (layout millimetres, like the
    // positions); an empty rectangle cuts nothing. A label on a sheet keeps
    // its text off the neighbouring labels this way.
    QRectF clipMm;

    // Print position corrections (mm, rightwards and downwards) by orientation.
    QPointF correctionPortrait;
    QPointF correctionLandscape;

    // What the page set-up measured of this device for the job it prints:
    // the paper edge to the printable area, and the printable area (mm).
    float printerOffsetXMm = 0; // single precision, as the layouts have always computed
    float printerOffsetYMm = 0;
    float printableWidthMm = 0;
    float printableHeightMm = 0;

    // True once the printer or file could not be opened or written: nothing
    // of the job reaches paper, and the job must not be reported as printed.
    virtual bool failed() const { return false; }

    virtual double textWidth(const QString& text) const = 0;  // mm
    virtual double textHeight(const QString& text) const = 0; // mm: the line cell
    // Draws at the current position (top-left of the line cell) and moves to
    // the start of the next line.
    void print(const QString& text);
    void line(double x1, double y1, double x2, double y2);
    // Outline in the line width, inside filled by the fill style.
    void box(double x1, double y1, double x2, double y2);
    // A box filled solid in `colour` (no separate outline).
    void filledBox(double x1, double y1, double x2, double y2, const QColor& colour);
    void picture(const QImage& image, double x, double y, double width, double height);
    void newPage();
    // The next copy of the job begins: its pages count from 1 again for the
    // page range.
    void newCopy();
    virtual void endDoc() = 0;
    virtual void abortDoc() = 0;
    virtual void setBackgroundTransparent() {}

    virtual QSizeF printableSizeMm() const = 0;
    virtual PhysicalMetrics physicalMetrics() const = 0;
    // The page the job is laying out, counted over the whole run (copies
    // included), whether or not it reaches the paper.
    int page() const { return m_page; }

    // Which pages of each copy reach the paper (1-based; last 0: to the end).
    // The pages before and after are laid out all the same, so a reprinted
    // page has the numbers, headings and running totals of the full print.
    void setPageRange(int first, int last);
    bool pageIsPrinted() const;
    // How many pages reached the device so far.
    int printedPages() const { return m_printedPages; }

    // Layout millimetres to millimetres from the printable area's top-left.
    QPointF toAreaMm(double x, double y) const;
    QPointF correction() const;

protected:
    // What each device does with what reaches the paper.
    virtual void drawText(const QString& text, double x, double y) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void drawBox(double x1, double y1, double x2, double y2) = 0;
    virtual void drawFilledBox(double x1, double y1, double x2, double y2, const QColor& colour) = 0;
    virtual void drawPicture(const QImage& image, double x, double y, double width, double height) = 0;
    // A new sheet of paper, after one that was printed.
    virtual void startNewPage() = 0;

private:
    // Moves to the next page of the layout; `copyStarts` when it is the first
    // page of another copy.
    void advancePage(bool copyStarts);
    int m_page = 1;
    int m_copyFirstPage = 1; // the run's page on which the current copy began
    int m_firstPage = 1;
    int m_lastPage = 0;
    int m_printedPages = 1; // the first page is open from the start unless the range skips it
};
