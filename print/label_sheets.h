#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Sheets of name labels: a paper with rows and columns of labels, the first
// label's corner at the top and left margins, the next ones a pitch apart.
// The label design is printed in every label of the sheet, its paper corner
// at the label's corner.
namespace name_labels {

struct LabelSheet {
    QString name;
    float paperWidth = 210, paperHeight = 297; // mm, portrait
    int rows = 1, columns = 1;
    float top = 0, left = 0;      // paper edge to the first label, mm
    float pitchX = 0, pitchY = 0; // from one label's corner to the next, mm
    float labelWidth = 0, labelHeight = 0;

    int perPage() const { return rows * columns; }
    // The whole paper as one label: one label per sheet of paper.
    bool onePerPage() const;
    // The corner of the label in row `row`, column `column` (from 0), in mm
    // from the paper's corner.
    QPointF cellOrigin(int row, int column) const;
    QRectF cell(int row, int column) const { return QRectF(cellOrigin(row, column), QSizeF(labelWidth, labelHeight)); }
};

// The highest rows and columns a sheet may have.
inline constexpr int kMaxSheetRows = 40;
inline constexpr int kMaxSheetColumns = 20;

// The choice that prints one label per sheet of paper, as always.
QString onePerPageName();
// The sheet the user measures and stores in the window.
QString userSheetName();

// "1枚に1枚" first, then the A4 sheets offered; the user's own sheet is not
// among them.
const std::vector<LabelSheet>& builtInSheets();
// The sheet a name stands for: a built-in one, or the user's sheet. Names
// are compared without regard to the width of letters and digits or to
// spaces, so "a4 10面" typed at a terminal finds "A4 10面".
std::optional<LabelSheet> findSheet(const QString& name, const LabelSheet& userSheet);

// What is wrong with a sheet, in words for the user; empty when it can be
// printed (every label on the paper, labels not overlapping).
QString sheetProblem(const LabelSheet& sheet);

// The user's sheet as it is first offered: an A4 sheet of 12 labels.
LabelSheet defaultUserSheet();

// The user's sheet in its own file, "PRT_S.SHT" beside the stored layouts:
// "key=value" lines. Reading takes what it can: unknown lines are left out,
// and a value missing or out of range keeps the default and is named in
// `problem` (empty when the file was whole).
QString userSheetFileName();
QByteArray userSheetBytes(const LabelSheet& sheet);
LabelSheet readUserSheet(const QByteArray& bytes, QString* problem);

// Where a job begins on a partly used sheet (from 1), and which marked posts
// it leaves out.
struct SheetPrint {
    LabelSheet sheet;
    int startRow = 1;
    int startColumn = 1;
    // Keys (postKey) of marked posts not to print.
    QStringList skipped;
};

// What is wrong with a start position for a sheet; empty when it is on it.
QString startProblem(const LabelSheet& sheet, int row, int column);

} // namespace name_labels
