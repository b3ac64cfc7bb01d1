#pragma once

#include "label_sheets.h"
#include "print_framework.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// Name labels, envelopes and postcards for the clerks of the marked posts:
// seven one-line items placed in millimetres from the paper's corner.
namespace name_labels {

inline constexpr PrintJobCode kLabelJob = PrintJobCode::NameLabels;
inline constexpr int kItems = 7;

struct LabelItem {
    QString text; // the free text of items 4 to 6
    float top = 0, left = 0, height = 0, width = 0;
    qint16 flags = Print;
    qint32 colour = 0;  // RGB as 0xBBGGRR, 0 = black
    float fontSize = 0; // found by the last preview

    static constexpr qint16 Bold = 1;
    static constexpr qint16 Spread = 2;
    static constexpr qint16 Print = 4;
    bool has(qint16 flag) const { return flags & flag; }
    bool placed() const { return top > 0 && left > 0 && width > 0 && height > 0; }
    bool prints() const { return has(Print) && placed(); }
    QColor qcolour() const { return QColor(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff); }
};

struct LabelLayout {
    QString name;
    QString paper = QStringLiteral("Ａ４");
    float paperHeight = 297, paperWidth = 210;
    QString font = QStringLiteral("ＭＳ 明朝");
    std::array<LabelItem, kItems> items{};
    // The addressee: the clerk's name and the honorific, or "事務担当者 様".
    bool titleMode = false;
    QString honorific = QStringLiteral("様");

    static LabelLayout defaults();
    bool anyColour() const;
};

// The paper sizes offered, long side by short side in mm ("自由サイズ" last, 0 × 0).
struct PaperSize {
    QString name;
    float longSide, shortSide;
};
const std::vector<PaperSize>& paperSizes();

// A marked post: the school row and the slot.
struct Post {
    int school = 0;
    int slot = 0;
};
std::vector<Post> markedPosts(const RosterStore& store);

// The text item `i` prints for a post, in full-width characters.
QString itemText(const LabelLayout& layout, int i, const RosterStore& store, const Post& post);

// The size the text takes in its box: from 50 pt down by 0.2 until it is
// narrower than the width and lower than the height, not below 5 pt.
float fittingSize(PrintDevice& d, const QString& text, double width, double height);

// Draws one item's text at (x, y): spread evenly over the width when asked.
void drawItem(PrintDevice& d, const LabelItem& item, const QString& text, double x, double y);

// What names a marked post from one run of the window to the next: the
// school's code and the clerk's code (the slot for a post with nobody in it).
QString postKey(const RosterStore& store, const Post& post);

// Job 80: a page for every marked post.
void printLabels(PrintJobContext& c, const LabelLayout& layout);
// Job 80 on a sheet of labels: the marked posts not skipped, one to a label
// from the start position on, a new page when a sheet is full. The design is
// printed at full size with its paper corner at the label's corner, and cut
// off at the label's edges. With "1枚に1枚" a page for every post, as above.
void printLabels(PrintJobContext& c, const LabelLayout& layout, const SheetPrint& sheet);

// How a design sits on the labels of a sheet, its paper corner at the
// label's corner: every printing item inside the label, some cut by the
// label's edge, or none reaching the label at all (nothing would print).
enum class LabelFit { Inside, Cut, Outside };
LabelFit labelFit(const LabelLayout& layout, const LabelSheet& sheet);
// What the user is told before a sheet would print blank or cut labels.
QString outsideLabelText();
QString cutByLabelText();

// The stored layouts, "PRT_S.PRS": one line of 75 values each.
QByteArray layoutLine(const LabelLayout& layout, QString* error);
std::optional<std::vector<LabelLayout>> readLayouts(const QByteArray& bytes, QString* error);
bool writeLayouts(const QString& path, const std::vector<LabelLayout>& layouts, QString* error);

} // namespace name_labels
