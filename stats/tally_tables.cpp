#include "tally_tables.h"

#include "post_status.h"

using namespace Qt::StringLiterals;
using tally::Count;

namespace tally_tables {

namespace {
QString cell(int n)
{
    return n == 0 ? QString() : QString::number(n);
}

QStringList counts(const Count& c)
{
    return {cell(c.male), cell(c.female), cell(c.total())};
}

const QString kTitles[tally::kCategories] = {u"主事"_s,   u"主事"_s,   u"主任主事"_s, u"副主査"_s,
                                             u"副主査"_s, u"事務長"_s, u"事務長"_s,   u"事務長"_s};
const int kGrades[tally::kCategories] = {1, 2, 3, 3, 4, 4, 5, 6};

Table singleYears(const std::array<Count, tally::kSlots>& byYear, const QString& unit, int first)
{
    Table t;
    t << QStringList{unit, u"  男"_s, u"  女"_s, u"  計"_s};
    Count sum;
    for (int i = 0; i <= 42; ++i)
        sum += byYear[size_t(i)];
    t << (QStringList{u"計"_s} + counts(sum));
    for (int i = 0; i <= 42; ++i)
        t << (QStringList{QString::number(first + i)} + counts(byYear[size_t(i)]));
    return t;
}
} // namespace

QString categoryTitle(int category)
{
    return category >= 0 && category < tally::kCategories ? kTitles[category] : QString();
}

int categoryGrade(int category)
{
    return category >= 0 && category < tally::kCategories ? kGrades[category] : 0;
}

Table categoryTable(const tally::SummaryTally& t, int k, const tally::Options& o)
{
    Table rows;
    rows << QStringList{QString(), u"   職名"_s, u"級"_s, u"  男"_s, u"  女"_s, u"  計"_s};
    rows << (QStringList{QString(), u" 合計"_s, QString()} + counts(t.categoryTotal[size_t(k)]));
    for (int c = 0; c < tally::kCategories; ++c)
        rows << (QStringList{QString::number(c + 1), kTitles[c], QString::number(kGrades[c])} +
                 counts(t.byCategory[size_t(c)][size_t(k)]));
    rows << QStringList(6) << QStringList(6);
    rows << (o.includeLeaveCover ? QStringList(6)
                                 : QStringList{QString(), postStatusName(PostStatus::LeaveCover), QString()} +
                                       counts(t.leaveCover[size_t(k)]));
    rows << (o.includeVacancyFill ? QStringList(6)
                                  : QStringList{QString(), postStatusName(PostStatus::VacancyFill), QString()} +
                                        counts(t.vacancyFill[size_t(k)]));
    return rows;
}

Table titleTable(const tally::SummaryTally& t, const tally::Options& o)
{
    auto sum = [&t](std::initializer_list<int> categories) {
        Count c;
        for (int i : categories)
            c += t.byCategory[size_t(i)][3];
        return c;
    };
    Table rows;
    rows << QStringList{QString(), u"   職名"_s, u"  男"_s, u"  女"_s, u"  計"_s};
    rows << (QStringList{QString(), u" 合計"_s} + counts(t.categoryTotal[3]));
    rows << (QStringList{u"1"_s, u"主事"_s} + counts(sum({0, 1})));
    rows << (QStringList{u"2"_s, u"主任主事"_s} + counts(sum({2})));
    rows << (QStringList{u"3"_s, u"副主査"_s} + counts(sum({3, 4})));
    rows << (QStringList{u"4"_s, u"事務長"_s} + counts(sum({5, 6, 7})));
    rows << QStringList(5);
    // Both extra rows follow 産育休補助を含む alone.
    if (o.includeLeaveCover) {
        rows << QStringList(5) << QStringList(5);
    } else {
        rows << (QStringList{QString(), postStatusName(PostStatus::LeaveCover)} + counts(t.leaveCover[3]));
        rows << (QStringList{QString(), postStatusName(PostStatus::VacancyFill)} + counts(t.vacancyFill[3]));
    }
    return rows;
}

Table ageTable(const tally::SummaryTally& t)
{
    return singleYears(t.byAge, u"歳"_s, tally::kMinAge);
}

Table experienceTable(const tally::SummaryTally& t)
{
    return singleYears(t.byExperience, u"年"_s, 0);
}

Table bandTable(const tally::SummaryTally& t)
{
    Table rows;
    rows << QStringList{u"  年齢"_s, u"  男"_s, u"  女"_s, u"  計"_s, u" 率％"_s};
    Count sum;
    for (int i = 0; i <= 42; ++i)
        sum += t.byAge[size_t(i)];
    rows << (QStringList{u"   計"_s} + counts(sum) + QStringList{QString()});
    const auto bands = tally::ageBands(t.byAge);
    for (int b = 0; b < 8; ++b)
        rows << (QStringList{tally::bandLabels()[b]} + counts(bands[size_t(b)].count) +
                 QStringList{QString::number(bands[size_t(b)].share, 'f', 2)});
    return rows;
}

QString averageText(const tally::SummaryTally& t)
{
    return u"平均年齢　　"_s + QString::number(t.averageAge.years) + u"歳 "_s + QString::number(t.averageAge.months) +
           u"月"_s;
}

} // namespace tally_tables
