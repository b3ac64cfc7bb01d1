#include "roster_print.h"

#include "periods.h"
#include "post_status.h"
#include "roster_store.h"
#include "school_list.h"
#include "sheet_drawing.h"

using namespace Qt::StringLiterals;

namespace roster_print {

using sheet::hline;
using sheet::put;
using sheet::rightAligned;
using sheet::rowRules;
using sheet::tableFrame;
using sheet::vline;

namespace {
const QString kMincho = u"ＭＳ 明朝"_s;
const QString kPMincho = u"ＭＳ Ｐ明朝"_s;

QString gradeStep(const StaffRecord& s)
{
    return QString::number(s.grade) + u'-' + s.payStep.trimmed();
}

QString indentedName(const SchoolRecord& s)
{
    return u"  "_s + s.name + s.kindText;
}

QString classCounts(const SchoolRecord& s)
{
    QString t = s.regularClasses == 0 ? u"  "_s : rightAligned(s.regularClasses, 2);
    if (s.specialClasses > 0)
        t += u'(' + QString::number(s.specialClasses) + u')';
    return t;
}

// The remarks of a post: the association posts first, then the post's own status and note.
std::pair<QString, QString> remarks(const StaffRecord& s, const ClerkSlot& slot)
{
    if (!s.post1.isEmpty())
        return {(u"瑠事研 "_s + s.post1 + u' ' + s.post2).trimmed(), (slot.status + u' ' + slot.note).trimmed()};
    return {slot.status, slot.note};
}

void printRemarks(PrintDevice& d, double x, double y0, const StaffRecord& s, const ClerkSlot& slot, double limit,
                  double a, double b, double c)
{
    const auto [one, two] = remarks(s, slot);
    d.font.face = kPMincho;
    if (!one.isEmpty() && !two.isEmpty()) {
        fitTextToWidth(d, one, two, 8.6f, limit);
        put(d, x, y0 + a, one);
        put(d, x, y0 + b, two);
    } else if (!one.isEmpty() || !two.isEmpty()) {
        const QString& only = one.isEmpty() ? two : one;
        fitTextToWidth(d, only, 8.6f, limit);
        put(d, x, y0 + c, only);
    }
}

// Years (right-aligned in two cells, "." when there are months) and months.
void printPeriod(PrintDevice& d, double x, double monthsX, double y, Period p, int minYears, int maxYears, float size)
{
    if (p.years < minYears || p.years > maxYears)
        return;
    const PeriodCell cell = periodCell(p.years, p.months);
    put(d, x, y, cell.years, kMincho, size);
    if (!cell.months.isEmpty())
        put(d, monthsX, y, cell.months, kMincho, size);
}

struct RowContext {
    PrintDevice& d;
    const RosterStore& store;
    const PrintOptions& options;
    const SchoolRecord& school;
    const ClerkSlot& slot;
    const StaffRecord* member; // null for a post without a staff member
    double y0;
    bool schoolCells; // slot 0, or the first row of a page
    QString number;   // the number column
};

// The age CalcAge gives, 誕生日に年齢加算 included, so the printed roster
// agrees with the staff list and the tallies.
Period age(const RowContext& r)
{
    return agePeriod(*r.member, r.store.surveyDate, r.store.profile.optionFlags & OptionFlag::AgeOnBirthday);
}
Period experience(const RowContext& r)
{
    return r.member->hireDate.isSet()
               ? periodSince(r.member->hireDate, r.store.surveyDate, r.member->serviceAdjustMonths)
               : Period{-1, 0};
}
Period tenure(const RowContext& r)
{
    return r.member->postingDate.isSet()
               ? periodSince(r.member->postingDate, r.store.surveyDate, r.member->tenureAdjustMonths)
               : Period{-1, 0};
}
Period ageOrNone(const RowContext& r)
{
    return r.member->birthDate.isSet() ? age(r) : Period{-1, 0};
}

void row10(RowContext& r)
{
    PrintDevice& d = r.d;
    const double y0 = r.y0;
    if (!r.number.isEmpty())
        put(d, 15, y0 + 2, r.number, kMincho, 10);
    if (r.member) {
        const StaffRecord& s = *r.member;
        put(d, 24, y0, s.jobTitle, kMincho, 10);
        if (!s.payStep.trimmed().isEmpty() && !r.options.has(PrintOptions::OmitGradeStep) && s.grade > 0)
            put(d, 27, y0 + 5, gradeStep(s), kMincho, 10);
        d.font.face = kMincho;
        fitTextToWidth(d, s.name, s.reading, 10, 23.5);
        put(d, 40, y0, s.name);
        put(d, 40, y0 + 5, s.reading);
        put(d, 64.5, y0 + 2, s.sex == 0 ? u"男"_s : u"女"_s, kMincho, 10);
        printPeriod(d, 70.3, 74.3, y0, ageOrNone(r), 1, 65, 9);
        printPeriod(d, 70.3, 74.3, y0 + 4, experience(r), 0, 49, 9);
        printRemarks(d, 175.5, y0, s, r.slot, 19, 0, 4, 2);
    }
    if (r.schoolCells) {
        const SchoolRecord& sc = r.school;
        put(d, 78.5, y0 - 0.5, sc.municipality + u"立"_s, kMincho, 8.5);
        d.font.face = kMincho;
        fitTextToWidth(d, indentedName(sc), 8.5f, 27);
        put(d, 78.5, y0 + 2.7, indentedName(sc));
        d.font.size = std::min(d.font.size, 8.0f);
        put(d, 78.5, y0 + 6, u"  "_s + sc.reading);
        if (sc.branchCount > 0) {
            put(d, 106.8, y0, classCounts(sc), kMincho, 9);
            put(d, 106.8, y0 + 4, u" 分"_s + QString::number(sc.branchCount), kMincho, 9);
        } else {
            put(d, 106.8, y0 + 2, classCounts(sc), kMincho, 9);
        }
        put(d, 117, y0, sc.tel, kMincho, 9);
        put(d, 117, y0 + 4, sc.fax, kMincho, 9);
        put(d, 138, y0, sc.postalCode, kMincho, 9);
        d.font.face = kMincho;
        const QString address = sc.municipality + sc.address;
        fitTextToWidth(d, address, 9, 36);
        put(d, 138, y0 + 4, address);
    }
}

void row13(RowContext& r)
{
    PrintDevice& d = r.d;
    const double y0 = r.y0;
    if (!r.number.isEmpty())
        put(d, 15, y0, r.number, kMincho, 10);
    if (r.member) {
        const StaffRecord& s = *r.member;
        put(d, 24, y0, s.jobTitle, kMincho, 10);
        d.font.face = kMincho;
        fitTextToWidth(d, s.name, 10, 23.5);
        put(d, 40, y0, s.name);
        put(d, 64.5, y0, s.sex == 0 ? u"男"_s : u"女"_s, kMincho, 10);
        printPeriod(d, 69.9, 73.9, y0, ageOrNone(r), 1, 65, 9);
        printPeriod(d, 78.9, 82.9, y0, experience(r), 0, 49, 9);
        if (!s.payStep.trimmed().isEmpty() || s.grade > 0)
            put(d, 87.5, y0, gradeStep(s), kMincho, 9);
        printRemarks(d, 258, y0, s, r.slot, 21, -1.5, 1.5, 0);
    }
    if (r.schoolCells) {
        const SchoolRecord& sc = r.school;
        d.font.face = kMincho;
        fitTextToWidth(d, sc.fullName(), 10, 44);
        put(d, 97, y0, sc.fullName());
        QString counts = classCounts(sc);
        if (sc.branchCount > 0)
            counts += u"分"_s + QString::number(sc.branchCount);
        d.font.face = kMincho;
        d.font.size = 9;
        if (d.textWidth(counts) > 12)
            d.font.size = 7.5;
        put(d, 143, y0, counts);
        put(d, 156, y0, sc.tel, kMincho, 9);
        put(d, 177, y0, sc.fax, kMincho, 9);
        put(d, 198, y0, sc.postalCode, kMincho, 9);
        d.font.face = kMincho;
        const QString address = sc.municipality + sc.address;
        fitTextToWidth(d, address, 10, 43);
        put(d, 213, y0, address);
    }
}

void row11(RowContext& r)
{
    PrintDevice& d = r.d;
    const double y0 = r.y0;
    const SchoolRecord& sc = r.school;
    // The school on every row of this list.
    put(d, 16, y0, sc.municipality + u"立"_s, kMincho, 10);
    d.font.face = kMincho;
    fitTextToWidth(d, indentedName(sc), 10, 31);
    put(d, 16, y0 + 4, indentedName(sc));
    put(d, 16, y0 + 8, u"  "_s + sc.reading);
    put(d, 101, y0, sc.postalCode, kMincho, 9);
    d.font.face = kMincho;
    const QString address = sc.municipality + sc.address;
    fitTextToWidth(d, address, 9, 43);
    put(d, 101, y0 + 4, address);
    put(d, 101, y0 + 8, sc.tel + u"  "_s + sc.fax, kMincho, 9);
    if (!r.member)
        return;
    const StaffRecord& s = *r.member;
    d.font.face = kMincho;
    fitTextToWidth(d, s.name, s.reading, 10, 23.5);
    put(d, 48, y0, s.name);
    put(d, 48, y0 + 5, s.reading);
    put(d, 74, y0, s.jobTitle, kMincho, 10);
    if (!s.payStep.trimmed().isEmpty() || s.grade > 0)
        put(d, 77, y0 + 4, gradeStep(s), kMincho, 10);
    put(d, 73, y0 + 8, r.slot.status, kPMincho, 8);
    printPeriod(d, 91.5, 95.8, y0, ageOrNone(r), 1, 65, 10);
    printPeriod(d, 91.5, 95.8, y0 + 4, experience(r), 0, 49, 10);
    printPeriod(d, 91.5, 95.8, y0 + 8, tenure(r), 0, 49, 10);
    if (s.address2.isEmpty()) {
        put(d, 146, y0, s.postalCode, kMincho, 9);
        d.font.face = kMincho;
        fitTextToWidth(d, s.address1, 9, 48);
        put(d, 146, y0 + 4, s.address1);
        put(d, 146, y0 + 8, s.tel + u"  "_s + s.fax, kMincho, 9);
    } else {
        // Two address lines: the home block moves up and prints smaller.
        put(d, 146, y0 - 0.5, s.postalCode, kMincho, 8);
        d.font.face = kMincho;
        fitTextToWidth(d, s.address1, 8, 48);
        put(d, 146, y0 + 2.5, s.address1);
        put(d, 194 - d.textWidth(s.address2), y0 + 5.5, s.address2);
        put(d, 146, y0 + 8.5, s.tel + u"  "_s + s.fax, kMincho, 8);
    }
}

void row12or14(RowContext& r, PrintJobCode code)
{
    PrintDevice& d = r.d;
    const double y0 = r.y0;
    const SchoolRecord& sc = r.school;
    if (r.schoolCells) {
        d.font.face = kMincho;
        fitTextToWidth(d, sc.fullName(), 9, 43, 0.1f);
        put(d, 16, y0, sc.fullName());
    }
    if (r.member) {
        const StaffRecord& s = *r.member;
        d.font.face = kMincho;
        fitTextToWidth(d, s.name, 9, 23, 0.1f);
        put(d, 61, y0, s.name);
        put(d, 86, y0, s.jobTitle, kMincho, 9);
        if (code == kStaffContacts) {
            put(d, 101, y0, s.tel, kMincho, 9);
            put(d, 122, y0, s.mobile, kMincho, 8);
            d.font.face = kPMincho;
            fitTextToWidth(d, s.mail, 9, 52, 0.1f);
            put(d, 142.5, y0, s.mail);
        }
    }
    if (code == kSchoolContacts && r.schoolCells) {
        put(d, 101, y0, sc.tel, kMincho, 9);
        put(d, 122, y0, sc.fax, kMincho, 9);
        d.font.face = kPMincho;
        fitTextToWidth(d, sc.mail, 9, 52, 0.1f);
        put(d, 142.5, y0, sc.mail);
    }
}

void pageHead(PrintDevice& d, PrintJobCode code, const PrintOptions& options, int pageNumber)
{
    d.font.face = kMincho;
    d.font.size = 15;
    put(d, 25, 8, options.heading);
    if (options.startPage <= 0)
        return;
    PrintOptions numbering = options;
    numbering.startPage = qint16(pageNumber);
    const QString text = pageNumberText(numbering, 0);
    if (code == kRosterWide) {
        const bool top = options.has(PrintOptions::EvenPageNumberTop) && pageNumber % 2 == 0;
        put(d, 140, top ? 8 : 182, text);
    } else {
        put(d, 100, 282, text);
    }
}
} // namespace

Layout layoutFor(PrintJobCode code)
{
    switch (code) {
    case kRoster25: return {code, false, 25, 31, 10};
    case kRoster20: return {code, false, 20, 31, 12.5};
    case kRosterWide: return {code, true, 20, 32, 7.5};
    default: return {code, false, 50, 30.5, 5};
    }
}

PeriodCell periodCell(int years, int months)
{
    PeriodCell c;
    c.years = rightAligned(years, 2) + (months > 0 ? u"."_s : QString());
    if (months > 0)
        c.months = QString::number(months);
    return c;
}

void drawRosterFrame(PrintDevice& d, PrintJobCode code, const PrintOptions& options)
{
    auto title = [&d](double x, double y, const QString& t, float size = 10) { put(d, x, y, t, kMincho, size); };
    switch (code) {
    case kRosterWide: {
        tableFrame(d, 15, 15, 280, 180, 30, {23.0, 39.0, 64.0, 69.0, 78.0, 87.0, 96.0, 257.0});
        for (double x : {142.0, 155.0, 176.0, 197.0, 212.0})
            vline(d, x, 22.5, 180, 2);
        hline(d, 96, 257, 22.5, 2);
        rowRules(d, 15, 280, 30, 7.5, 1, 19);
        title(15.5, 24.5, u"番号"_s);
        title(25, 24.5, u"職   名"_s);
        title(46, 24.5, u"氏    名"_s);
        title(64.5, 19, u"性"_s);
        title(64.5, 24.5, u"別"_s);
        title(70, 24.5, u"年齢"_s);
        title(79, 19, u"経験"_s);
        title(79, 24.5, u"年数"_s);
        title(88, 19, u" 級"_s);
        title(88, 24.5, u"号給"_s);
        title(155, 17, u"勤　　　務　　　校"_s);
        title(110, 24.5, u"学  校  名"_s);
        title(143, 24.5, u"学級数"_s);
        title(159, 24.5, u"電話番号"_s);
        title(180, 24.5, u"FAX番号"_s);
        title(197.5, 24.5, u"郵便番号"_s);
        title(224, 24.5, u"所  在  地"_s);
        title(261, 24.5, u"備   考"_s);
        break;
    }
    case kRoster25: {
        tableFrame(d, 15, 15, 195, 280, 30, {23.0, 39.0, 64.0, 69.0, 78.0, 175.0});
        for (double x : {106.0, 116.0, 137.0})
            vline(d, x, 22.5, 280, 2);
        hline(d, 78, 175, 22.5, 2);
        rowRules(d, 15, 195, 30, 10, 1, 24);
        title(15.5, 24.5, u"番号"_s);
        title(25, 20, u"職   名"_s);
        if (!options.has(PrintOptions::OmitGradeStep))
            title(25, 24.5, u"級･号給"_s);
        title(44, 20, u"氏    名"_s);
        title(46, 24.5, u"ﾌﾘｶﾞﾅ"_s);
        title(64.5, 20, u"性"_s);
        title(64.5, 24.5, u"別"_s);
        title(70, 20, u" 歳"_s);
        title(70, 24.5, u"経験"_s);
        title(113, 17, u"勤　　　務　　　校"_s);
        title(82, 24.5, u"学  校  名"_s);
        title(107, 23, u"学級"_s);
        title(107, 26.3, u" 数"_s);
        title(123, 23, u"電話"_s);
        title(123.8, 26.3, u"FAX"_s);
        title(142, 24.5, u"郵便番号･所在地"_s);
        title(178, 24.5, u"備   考"_s);
        break;
    }
    case kRoster20: {
        tableFrame(d, 15, 20, 195, 280, 30, {47.0, 72.0, 90.0, 100.0, 145.0});
        rowRules(d, 15, 195, 30, 12.5, 1, 19);
        title(22, 24, u"学  校  名"_s);
        title(52, 21, u"氏    名"_s);
        title(54, 25, u"ﾌﾘｶﾞﾅ"_s);
        title(75, 21, u" 職名"_s);
        title(75, 25, u"級号給"_s);
        title(92, 20.5, u"年齢"_s, 9);
        title(92, 23.5, u"経験"_s, 9);
        title(92, 26.5, u"現校"_s, 9);
        title(110, 21, u"学校所在地"_s);
        title(110, 25, u" 電話 FAX"_s);
        title(158, 21, u"自宅所在地"_s);
        title(158, 25, u" 自宅電話"_s);
        break;
    }
    default: {
        tableFrame(d, 15, 21, 195, 280, 30, {60.0, 85.0, 100.0, 121.0, 142.0});
        rowRules(d, 15, 195, 30, 5, 1, 49);
        title(27, 24, u"学  校  名"_s);
        title(65, 24, u"氏    名"_s);
        title(88, 24, u" 職名"_s);
        title(107, 24, u"電話"_s);
        title(126, 24, code == kStaffContacts ? u" 携帯"_s : u"ＦＡＸ"_s);
        title(155, 24, u"メールアドレス"_s);
        break;
    }
    }
    d.lineWidth = 1;
}

void printRosterReport(PrintJobContext& c, PrintJobCode code)
{
    PrintDevice& d = c.device;
    const RosterStore& store = c.store;
    const PrintOptions& options = c.options();
    const Layout layout = layoutFor(code);
    setupReportPage(d, u"A4"_s, layout.landscape ? u"H"_s : u"V"_s);
    if (c.stopRequested())
        return;
    if (layout.landscape)
        reportOrigin(d, 290, 198, 2, 10);
    else
        reportOrigin(d, 198, 290, 0, 2);
    resetPage(d);
    if (c.stopRequested())
        return;
    const bool numberSchools = store.profile.optionFlags & OptionFlag::NumberSchools;
    int pageNumber = options.startPage;
    int row = 0;
    int schoolsReached = 0;
    for (int i = 0; i < store.schoolCount(); ++i) {
        if (!school_list::schoolPassesFilter(store, c.session().schoolFilter, i))
            continue;
        ++schoolsReached;
        const SchoolRecord& school = store.schools[size_t(i)];
        for (int slotIndex = 0; slotIndex < cap::kClerkSlots; ++slotIndex) {
            const ClerkSlot& slot = school.clerks[size_t(slotIndex)];
            if (slot.staffCode == 0 && slotIndex != 0)
                continue;
            if (options.has(PrintOptions::OmitSubstitutes) &&
                hasPostStatus(slot.status.trimmed(), PostStatus::LeaveCover))
                continue;
            const int found = slot.staffCode != 0 ? store.findStaffByCode(slot.staffCode) : -1;
            const StaffRecord* member = found >= 0 ? &store.staff[size_t(found)] : nullptr;
            if (member && member->jobTitle.trimmed() == u"その他"_s)
                continue;
            const int onPage = row % layout.rowsPerPage;
            if (onPage == 0) {
                if (row > 0) {
                    d.newPage();
                    resetPage(d);
                    if (c.stopRequested())
                        return;
                }
                pageHead(d, code, options, pageNumber);
                if (options.startPage > 0)
                    ++pageNumber;
                drawRosterFrame(d, code, options);
            }
            QString number;
            if (code == kRoster25 || code == kRosterWide) {
                if (!numberSchools)
                    number = rightAligned(row + 1, 4);
                else if (slotIndex == 0)
                    number = rightAligned(schoolsReached, 4);
            }
            RowContext r{d,
                         store,
                         options,
                         school,
                         slot,
                         member,
                         layout.firstRow + layout.pitch * onPage,
                         slotIndex == 0 || onPage == 0,
                         number};
            switch (code) {
            case kRoster25: row10(r); break;
            case kRosterWide: row13(r); break;
            case kRoster20: row11(r); break;
            default: row12or14(r, code); break;
            }
            ++row;
        }
        if (c.stopRequested())
            return;
    }
}

void registerRosterJobs()
{
    for (const PrintJobCode code : kRosterJobs)
        printJobs().add(code, [code](PrintJobContext& c) { printRosterReport(c, code); });
}

} // namespace roster_print
