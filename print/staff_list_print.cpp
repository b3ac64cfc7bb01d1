#include "staff_list_print.h"

#include "roster_store.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int kRowsPerPage = 50;
constexpr double kLeft = 20;
constexpr double kRight = 180;
constexpr double kSeparators[] = {68, 90, 115, 137};

void heading(PrintDevice& d, const QString& fourth)
{
    d.lineWidth = 5;
    d.box(kLeft, 15, kRight, 20);
    d.lineWidth = 2;
    for (double x : kSeparators)
        d.line(x, 15, x, 20);
    d.font.size = 8;
    const std::pair<double, QString> texts[] = {
        {40, u"学　校　名"_s}, {75, u"ＴＥＬ"_s}, {98, u"職員名"_s}, {120, fourth}};
    for (const auto& [x, text] : texts) {
        d.currentX = x;
        d.currentY = 16;
        d.print(text);
    }
}

QString schoolTel(const RosterStore& store, qint32 schoolCode)
{
    for (const SchoolRecord& s : store.schools)
        if (s.code == schoolCode)
            return s.tel;
    return QString();
}
} // namespace

void printStaffRows(PrintJobContext& c, const std::vector<int>& rows, const QString& fourthHeading,
                    const std::function<QString(const StaffRecord&)>& fourth)
{
    PrintDevice& d = c.device;
    setupPaperReport(d);
    for (size_t i = 0; i < rows.size() || i == 0; ++i) {
        const int n = int(i % kRowsPerPage);
        if (n == 0) {
            if (!startReportPage(c, int(i / kRowsPerPage)))
                return;
            heading(d, fourthHeading);
        }
        if (rows.empty())
            break;
        const StaffRecord& s = c.store.staff[size_t(rows[i])];
        const double top = 20 + 5 * n;
        const double bottom = top + 5;
        d.lineWidth = 5;
        d.line(kLeft, top, kLeft, bottom);
        d.line(kRight, top, kRight, bottom);
        d.lineWidth = 2;
        for (double x : kSeparators)
            d.line(x, top, x, bottom);
        const bool last = n == kRowsPerPage - 1 || i + 1 == rows.size();
        d.lineWidth = last ? 5 : 2;
        d.line(kLeft, bottom, kRight, bottom);
        d.font.size = 8;
        auto text = [&d, top](double x, const QString& t) {
            d.currentX = x;
            d.currentY = top + 1;
            d.print(t);
        };
        if (!s.schoolFullName.isEmpty()) {
            text(21, s.schoolFullName);
            text(69, schoolTel(c.store, s.schoolCode));
        }
        text(91, s.name);
        text(116, fourth(s));
    }
}

void registerStaffListJobs()
{
    for (const PrintJobCode code : {kStaffPhoneListJob, kStaffPhoneListAllJob}) {
        printJobs().add(code, [code](PrintJobContext& c) {
            std::vector<int> rows;
            const int n = c.store.staffCount();
            for (int p = 0; p < n; ++p) {
                const int row = c.session().staffRowAt(c.store, p);
                if (row < 0)
                    continue;
                if (code == kStaffPhoneListJob && c.store.staff[size_t(row)].schoolFullName.isEmpty())
                    continue;
                rows.push_back(row);
            }
            printStaffRows(c, rows, u"職員TEL"_s,
                           [](const StaffRecord& s) { return s.mobile.isEmpty() ? s.tel : s.mobile; });
        });
    }
}
