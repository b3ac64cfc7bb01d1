#include "label_sheets.h"

#include "text_width.h"

#include <QByteArrayList>
#include <cmath>

using namespace Qt::StringLiterals;

namespace name_labels {

namespace {
// Labels may touch and may meet the paper's edge; a hundredth of a
// millimetre of rounding in typed sizes is no overlap.
constexpr float kSlack = 0.01f;

LabelSheet sheet(const QString& name, int columns, int rows, float labelWidth, float labelHeight, float left, float top,
                 float pitchX, float pitchY)
{
    LabelSheet s;
    s.name = name;
    s.rows = rows;
    s.columns = columns;
    s.labelWidth = labelWidth;
    s.labelHeight = labelHeight;
    s.left = left;
    s.top = top;
    s.pitchX = pitchX;
    s.pitchY = pitchY;
    return s;
}

QString folded(const QString& name)
{
    QString s = toHalfWidth(name).toCaseFolded();
    s.remove(u' ');
    s.remove(u'\u3000');
    return s;
}

struct Field {
    const char* key;
    float LabelSheet::*decimal;
    int LabelSheet::*whole;
    double min, max;
};

const Field kFields[] = {
    {"paper_width", &LabelSheet::paperWidth, nullptr, 10, 1000},
    {"paper_height", &LabelSheet::paperHeight, nullptr, 10, 1000},
    {"rows", nullptr, &LabelSheet::rows, 1, kMaxSheetRows},
    {"columns", nullptr, &LabelSheet::columns, 1, kMaxSheetColumns},
    {"top", &LabelSheet::top, nullptr, 0, 1000},
    {"left", &LabelSheet::left, nullptr, 0, 1000},
    {"pitch_x", &LabelSheet::pitchX, nullptr, 0, 1000},
    {"pitch_y", &LabelSheet::pitchY, nullptr, 0, 1000},
    {"label_width", &LabelSheet::labelWidth, nullptr, 1, 1000},
    {"label_height", &LabelSheet::labelHeight, nullptr, 1, 1000},
};
} // namespace

bool LabelSheet::onePerPage() const
{
    return name == onePerPageName();
}

QPointF LabelSheet::cellOrigin(int row, int column) const
{
    return QPointF(double(left) + double(column) * double(pitchX), double(top) + double(row) * double(pitchY));
}

QString onePerPageName()
{
    return u"1枚に1枚"_s;
}

QString userSheetName()
{
    return u"ユーザー定義"_s;
}

const std::vector<LabelSheet>& builtInSheets()
{
    // Sizes of the common A4 sheets sold for name and address labels:
    // columns, rows, label width and height, left and top margins, pitch.
    static const std::vector<LabelSheet> sheets{
        sheet(onePerPageName(), 1, 1, 210, 297, 0, 0, 210, 297),
        sheet(u"A4 10面"_s, 2, 5, 86.4f, 50.8f, 18.6f, 21.5f, 86.4f, 50.8f),
        sheet(u"A4 12面"_s, 2, 6, 86.4f, 42.3f, 18.6f, 21.5f, 86.4f, 42.3f),
        sheet(u"A4 18面"_s, 3, 6, 63.5f, 46.6f, 7.25f, 8.7f, 66.0f, 46.6f),
        sheet(u"A4 21面"_s, 3, 7, 63.5f, 38.1f, 7.25f, 15.15f, 66.0f, 38.1f),
        sheet(u"A4 24面"_s, 3, 8, 63.5f, 33.9f, 7.25f, 12.9f, 66.0f, 33.9f),
        sheet(u"A4 44面"_s, 4, 11, 48.3f, 25.4f, 8.4f, 8.8f, 48.3f, 25.4f),
    };
    return sheets;
}

std::optional<LabelSheet> findSheet(const QString& name, const LabelSheet& userSheet)
{
    const QString wanted = folded(name);
    if (wanted.isEmpty())
        return std::nullopt;
    for (const LabelSheet& s : builtInSheets())
        if (folded(s.name) == wanted)
            return s;
    if (wanted == folded(userSheetName())) {
        LabelSheet s = userSheet;
        s.name = userSheetName();
        return s;
    }
    return std::nullopt;
}

QString sheetProblem(const LabelSheet& s)
{
    if (!(s.paperWidth > 0 && s.paperHeight > 0))
        return u"用紙の大きさを入力してください"_s;
    if (s.rows < 1 || s.rows > kMaxSheetRows || s.columns < 1 || s.columns > kMaxSheetColumns)
        return u"行は1から%1まで、列は1から%2までで入力してください"_s.arg(kMaxSheetRows).arg(kMaxSheetColumns);
    if (!(s.labelWidth > 0 && s.labelHeight > 0))
        return u"ラベルの大きさを入力してください"_s;
    if (!(s.top >= 0 && s.left >= 0))
        return u"余白は0以上で入力してください"_s;
    if ((s.columns > 1 && s.pitchX + kSlack < s.labelWidth) || (s.rows > 1 && s.pitchY + kSlack < s.labelHeight))
        return u"ラベルの間隔（ピッチ）がラベルの大きさより小さく、ラベルが重なります"_s;
    const QRectF last = s.cell(s.rows - 1, s.columns - 1);
    if (last.right() > s.paperWidth + kSlack || last.bottom() > s.paperHeight + kSlack)
        return u"ラベルが用紙からはみ出します"_s;
    return QString();
}

LabelSheet defaultUserSheet()
{
    LabelSheet s = builtInSheets()[2];
    s.name = userSheetName();
    return s;
}

QString userSheetFileName()
{
    return u"PRT_S.SHT"_s;
}

QByteArray userSheetBytes(const LabelSheet& s)
{
    QByteArray out = "[user]\r\n";
    for (const Field& f : kFields) {
        out += f.key;
        out += '=';
        out += f.decimal ? QByteArray::number(double(s.*f.decimal), 'f', 2) : QByteArray::number(s.*f.whole);
        out += "\r\n";
    }
    return out;
}

LabelSheet readUserSheet(const QByteArray& bytes, QString* problem)
{
    LabelSheet s = defaultUserSheet();
    QStringList wrong;
    QList<QByteArray> seen;
    for (QByteArray line : bytes.split('\n')) {
        line = line.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (line.isEmpty() || line.startsWith('[') || line.startsWith(';') || eq <= 0)
            continue;
        const QByteArray key = line.left(eq).trimmed();
        const QByteArray text = line.mid(eq + 1).trimmed();
        for (const Field& f : kFields) {
            if (key != f.key)
                continue;
            seen << key;
            bool ok = false;
            const double v = text.toDouble(&ok);
            if (!ok || !std::isfinite(v) || v < f.min || v > f.max || (f.whole && v != std::floor(v))) {
                wrong << QString::fromLatin1(f.key);
                break;
            }
            if (f.decimal)
                s.*f.decimal = float(v);
            else
                s.*f.whole = int(v);
        }
    }
    for (const Field& f : kFields)
        if (!seen.contains(QByteArray(f.key)) && !wrong.contains(QString::fromLatin1(f.key)))
            wrong << QString::fromLatin1(f.key);
    QString message;
    if (!wrong.isEmpty())
        message = u"読めない値: "_s + wrong.join(u", "_s);
    else if (const QString p = sheetProblem(s); !p.isEmpty())
        message = p;
    if (!message.isEmpty()) {
        // A sheet the file describes only in part could print off its labels:
        // the user starts again from the default sheet.
        s = defaultUserSheet();
    }
    if (problem)
        *problem = message;
    return s;
}

QString startProblem(const LabelSheet& sheet, int row, int column)
{
    if (row < 1 || row > sheet.rows || column < 1 || column > sheet.columns)
        return u"開始位置が用紙の外です（行は1から%1まで、列は1から%2まで）"_s.arg(sheet.rows).arg(sheet.columns);
    return QString();
}

} // namespace name_labels
