#include "staff_rules.h"

#include "roster_store.h"
#include "text_width.h"

using namespace Qt::StringLiterals;

namespace staff_rules {

namespace {
qint64 leading(const QString& text, qint64 min, qint64 max)
{
    return typedNumber(text, min, max);
}

struct Step {
    QChar series; // 'T', 'Z', 'X' or 0
    int number = 0;
};

Step parseStep(const QString& text)
{
    const QString t = toHalfWidth(text).trimmed();
    Step s;
    QString digits = t;
    if (!t.isEmpty() && QStringView(u"TtZzXx").contains(t[0])) {
        s.series = t[0].toUpper();
        digits = t.mid(1);
    }
    s.number = int(leading(digits, -99999, 99999));
    return s;
}
} // namespace

qint32 toI32(const QString& text)
{
    return qint32(leading(text, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

qint16 toI16(const QString& text)
{
    return qint16(leading(text, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

int defaultGrade(int jobTitleIndex)
{
    switch (jobTitleIndex) {
    case 0: return 6;
    case 1: return 5;
    case 2: return 4;
    case 3: return 1;
    default: return 0;
    }
}

int gradeUp(int grade)
{
    return std::min(grade + 1, 32767);
}

int gradeDown(int grade)
{
    return grade >= 2 ? grade - 1 : grade;
}

QString payStepDown(const QString& text)
{
    const Step s = parseStep(text);
    if (s.number < 2)
        return text;
    const int n = s.number - 1;
    if (s.series == u'T')
        return u"T"_s + QString::number(n);
    if (s.series == u'Z')
        return u"z"_s + QString::number(n);
    if (s.series == u'X')
        return u"X"_s + QString::number(n);
    return QString::number(n);
}

QString payStepUp(const QString& text, int grade)
{
    const Step s = parseStep(text);
    QString result;
    int c = s.number;
    if (s.series == u'T' || s.series == u'X') {
        if (s.number > 8)
            return text; // the top of the series
        c = s.number + 1;
        result = QString(s.series) + QString::number(c);
    } else if (s.series == u'Z') {
        c = s.number + 1;
        result = u"z"_s + QString::number(c);
    } else {
        c = s.number + 1;
        result = QString::number(c);
    }
    // One past the top regular step of grades 1 and 7 starts the T series.
    if ((grade == 1 && c == 17) || (grade == 7 && c == 26))
        return u"T1"_s;
    return result;
}

QString formatPostalCode(const QString& text)
{
    if (text.size() != 7)
        return text;
    return text.left(3) + u'-' + text.right(4);
}

const QStringList& yaku1Items()
{
    static const QStringList items{QString(),     u"会長"_s,   u"副会長"_s,   u"会計"_s,       u"顧問"_s,
                                   u"瑠教研"_s,   u"常任理事"_s, u"理事"_s,   u"全事研"_s,     u"会計監査"_s,
                                   u"評議員"_s,   u"研究委員長"_s, u"研究委員"_s, u"特別委員長"_s, u"特別委員"_s};
    return items;
}

QStringList yaku2Items(const QString& yaku1)
{
    if (yaku1 == u"理事"_s || yaku1 == u"常任理事"_s)
        return {QString(), u"企画"_s, u"研修"_s, u"研究"_s, u"広報"_s, u"調査"_s};
    if (yaku1 == u"全事研"_s)
        return {QString(), u"会長"_s, u"常任理事"_s, u"理事"_s};
    return {};
}

QString compactTitle(const QString& title)
{
    QString t = title;
    t.remove(u' ');
    t.remove(u'　');
    return t;
}

void changeNameAndCode(RosterStore& store, qint32 oldCode, qint32 newCode, const QString& newName)
{
    bool done = false;
    for (SchoolRecord& school : store.schools) {
        for (ClerkSlot& slot : school.clerks) {
            if (slot.staffCode == oldCode) {
                slot.staffCode = newCode;
                slot.staffName = newName;
                done = true;
                break;
            }
        }
        if (done)
            break;
    }
    for (StaffRecord& s : store.staff) {
        if (s.code == oldCode) {
            s.code = newCode;
            s.name = newName;
            break;
        }
    }
}

} // namespace staff_rules
