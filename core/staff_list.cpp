#include "staff_list.h"

#include "periods.h"
#include "record_format.h"

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace Qt::StringLiterals;

namespace staff_list {

QStringList sortNames()
{
    return {u"コード"_s, u"生年月日・コード"_s, u"職名・級・号給・年齢・コード"_s, u"市町村・学校"_s,
            u"採用年月日・コード"_s, u"赴任年月日・コード"_s};
}

namespace {
// The leading number of a text, rounded to the nearest whole number.
int numericValue(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    while (i < t.size() && (t[i].isDigit() || t[i] == u'.'))
        ++i;
    bool ok = false;
    const double v = t.left(i).toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return 0;
    return int(std::clamp(std::lround(v), -1000000L, 1000000L));
}
} // namespace

int payStepKey(const QString& payStep)
{
    const QString t = payStep.trimmed();
    if (t.isEmpty())
        return 0;
    const QChar first = t[0].toUpper();
    if (first == u'T')
        return numericValue(t.mid(1)) + 50;
    if (first == u'Z')
        return numericValue(t.mid(1)) + 100;
    if (first == u'X')
        return numericValue(t.mid(1)) + 150;
    return numericValue(t);
}

void resetOrder(RosterStore& store)
{
    for (int i = 0; i < cap::kTableRows; ++i)
        store.staffListOrder[size_t(i)] = qint16(i);
}

void sortOrder(RosterStore& store, int sort)
{
    const int n = store.staffCount();
    if (sort == ByCode) {
        resetOrder(store);
        return;
    }
    if (n < 2)
        return;
    const bool byNumber = store.profile.optionFlags & OptionFlag::OrderBySchoolNumber;
    auto key = [&store, sort, byNumber](int row) {
        const StaffRecord& s = store.staff[size_t(row)];
        std::array<qint64, 6> k{};
        switch (sort) {
        case ByBirth: k = {s.birthDate.days(), s.code}; break;
        case ByTitle:
            k = {s.jobTitleIndex, -qint64(s.grade), -qint64(payStepKey(s.payStep)), s.birthDate.days(), s.code};
            break;
        case BySchool:
            k = {s.municipalityIndex, s.schoolKind, byNumber ? qint64(s.schoolNumber) : qint64(s.schoolSortCode),
                 s.code};
            break;
        case ByHire: k = {s.hireDate.days(), s.code}; break;
        case ByPosting: k = {s.postingDate.days(), s.code}; break;
        default: k = {s.code}; break;
        }
        return k;
    };
    // Insertion before the first position that does not come before: a
    // stable order with equal keys reversed, done in n log n.
    std::vector<std::pair<std::array<qint64, 6>, qint16>> items;
    items.reserve(size_t(n));
    for (int p = 0; p < n; ++p) {
        const qint16 row = store.staffListOrder[size_t(p)];
        items.push_back({key(row >= 0 && row < n ? row : p), row});
    }
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < items.size();) {
        size_t j = i + 1;
        while (j < items.size() && items[j].first == items[i].first)
            ++j;
        std::reverse(items.begin() + qsizetype(i), items.begin() + qsizetype(j));
        i = j;
    }
    for (int p = 0; p < n; ++p)
        store.staffListOrder[size_t(p)] = items[size_t(p)].second;
}

bool Filter::active() const
{
    return !jobTitle.trimmed().isEmpty() || !name.trimmed().isEmpty() || grade > 0 ||
           !municipality.trimmed().isEmpty() || !area.isEmpty();
}

bool passes(const StaffRecord& s, const Filter& f, const MunicipalityTable& table)
{
    if (!f.jobTitle.trimmed().isEmpty() && f.jobTitle.trimmed() != s.jobTitle.trimmed())
        return false;
    if (!f.name.trimmed().isEmpty() && !s.name.contains(f.name.trimmed()))
        return false;
    if (f.grade > 0 && f.grade != s.grade)
        return false;
    if (!f.municipality.trimmed().isEmpty() && !s.schoolFullName.contains(f.municipality.trimmed()))
        return false;
    if (!f.area.isEmpty()) {
        bool found = false;
        for (size_t i = 0; i < table.entries.size() && !found; ++i)
            found = int(i) == s.municipalityIndex && table.entries[i].areaName == f.area;
        if (!found)
            return false;
    }
    return true;
}

std::vector<int> visiblePositions(const RosterStore& store, const Filter& filter)
{
    std::vector<int> out;
    const int n = store.staffCount();
    out.reserve(size_t(n));
    const bool active = filter.active();
    for (int p = 0; p < n; ++p) {
        const int row = store.staffListOrder[size_t(p)];
        if (row < 0 || row >= n)
            continue;
        if (active && !passes(store.staff[size_t(row)], filter, store.municipalities))
            continue;
        out.push_back(p);
    }
    return out;
}

void deleteRows(RosterStore& store, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= store.staffCount(); }),
               rows.end());
    store.dirty = 1;
    for (int row : rows) {
        const StaffRecord& s = store.staff[size_t(row)];
        bool done = false;
        for (SchoolRecord& school : store.schools) {
            if (school.code != s.schoolCode)
                continue;
            for (ClerkSlot& slot : school.clerks) {
                if (slot.staffCode == s.code) {
                    const qint16 mark = slot.mark;
                    slot = ClerkSlot{};
                    slot.mark = mark;
                    done = true;
                    break;
                }
            }
            if (done)
                break;
        }
    }
    // Remove exactly the chosen rows, keeping the order of the rest.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        store.staff.erase(store.staff.begin() + *it);
}

std::vector<Finding> checkList(const RosterStore& store, const std::function<bool(const Finding&)>& report)
{
    std::vector<Finding> findings;
    auto make = [&store](int row, const QString& message) {
        const StaffRecord& s = store.staff[size_t(row)];
        Finding f;
        f.row = row;
        f.message = message;
        f.logLine = s.schoolFullName + u' ' + s.name + u' ' + QString::number(s.code) + u' ' + message;
        f.shownText = s.schoolFullName + u'\n' + s.name + u' ' + QString::number(s.code) + u"\n\n"_s + message;
        return f;
    };
    const int n = store.staffCount();
    // Phase 1: the same code twice, in table order.
    for (int i = 0; i + 1 < n; ++i) {
        if (store.staff[size_t(i)].code != store.staff[size_t(i + 1)].code)
            continue;
        findings.push_back(make(i, u"職員コードが重複してます"_s));
        if (!report(findings.back()))
            break;
    }
    // Phase 2: posted staff in display order.
    for (int p = 0; p < n; ++p) {
        const int row = store.staffListOrder[size_t(p)];
        if (row < 0 || row >= n)
            continue;
        const StaffRecord& s = store.staff[size_t(row)];
        if (s.schoolFullName.isEmpty())
            continue;
        const QString step = s.payStep.trimmed();
        if (s.grade == 1 && (payStepKey(step) > 15 || step.startsWith(u'T', Qt::CaseInsensitive)))
            continue;
        const QString code = QString::number(s.code);
        const bool exempt = code.size() >= 5 && code[4] == u'4';
        if (s.code > 19600000 && !exempt) {
            const QDate hire = s.hireDate.toQDate();
            const int fiscal = hire.month() < 4 ? hire.year() - 1 : hire.year();
            if (fiscal != code.left(4).toInt()) {
                findings.push_back(make(row, u" 採用年月日と職員コードを確認してください"_s));
                if (!report(findings.back()))
                    return findings;
                continue;
            }
        }
        if (s.hireDate.isSet() && s.birthDate.isSet()) {
            const int d = periodSince(s.birthDate, store.surveyDate, 0).years -
                          periodSince(s.hireDate, store.surveyDate, s.serviceAdjustMonths).years;
            if ((d < 18 || d > 29) && !exempt) {
                findings.push_back(make(row, u" 採用年月日と生年月日を確認してください "_s + QString::number(d)));
                if (!report(findings.back()))
                    return findings;
            }
        }
    }
    return findings;
}

bool writeCheckLog(const QString& path, const std::vector<Finding>& findings, QString* error)
{
    RecordWriter w;
    for (const Finding& f : findings) {
        w.beginRecord(f.logLine);
        w.string(f.logLine, u"点検結果"_s);
        w.endRecord();
    }
    if (!w.ok()) {
        if (error)
            *error = w.problems().join(u'\n');
        return false;
    }
    return writeFileAtomically(path, w.bytes(), error);
}

} // namespace staff_list
