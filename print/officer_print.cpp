#include "officer_print.h"

#include "roster_store.h"
#include "sheet_drawing.h"

using namespace Qt::StringLiterals;
using sheet::put;
using sheet::rowRules;
using sheet::tableFrame;

namespace officer_print {

namespace {
const QString kMincho = u"ＭＳ 明朝"_s;

void frame(PrintDevice& d)
{
    d.font.face = kMincho;
    d.font.size = 10;
    tableFrame(d, 15, 20, 195, 280, 30, {31.0, 47.0, 72.0, 100.0, 145.0});
    rowRules(d, 15, 195, 30, 12.5, 1, 19);
    put(d, 17, 24, u"役職名"_s);
    put(d, 33, 24, u"地　区"_s);
    put(d, 52, 21, u"氏    名"_s);
    put(d, 54, 25, u"ﾌﾘｶﾞﾅ"_s);
    put(d, 75, 24, u"学  校  名"_s);
    put(d, 110, 21, u"学校所在地"_s);
    put(d, 110, 25, u" 電話 FAX"_s);
    put(d, 158, 21, u"自宅所在地"_s);
    put(d, 158, 25, u" 自宅電話"_s);
}

// Centred in the 16 mm column starting at `left`, in 10 pt; a text too long
// for the column is set smaller rather than run into the next one.
void centred(PrintDevice& d, double left, double y, const QString& text)
{
    fitTextToWidth(d, text, 10, 15.5);
    put(d, left + (16 - d.textWidth(text)) / 2, y, text);
    d.font.size = 10;
}

void fitted(PrintDevice& d, double x, double y, const QString& text, float size, double limit)
{
    fitTextToWidth(d, text, size, limit);
    put(d, x, y, text);
}

void row(PrintDevice& d, const OfficerEntry& e, double y)
{
    d.font.face = kMincho;
    d.font.size = 10;
    centred(d, 15, y, e.post1);
    if (!e.post2.isEmpty())
        centred(d, 15, y + 5, u'(' + e.post2 + u')');
    centred(d, 31, y + 1, e.district);
    put(d, 48, y, e.name);
    put(d, 48, y + 5, e.reading);

    d.font.size = 9;
    put(d, 72.5, y, e.municipality + u"立"_s);
    fitted(d, 72.5, y + 4, e.schoolName + u"  "_s, 9, 27);
    d.font.size = 9;
    put(d, 101, y, e.schoolPostal);
    fitted(d, 101, y + 4, e.schoolAddress, 9, 43);
    d.font.size = 9;
    put(d, 101, y + 8, e.schoolTel + u"  "_s + e.schoolFax);

    const QString homePhones = e.homeTel + u"  "_s + e.homeFax;
    if (!e.homeAddress2.isEmpty()) {
        d.font.size = 8;
        put(d, 146, y - 0.5, e.homePostal);
        fitted(d, 146, y + 2.5, e.homeAddress1, 8, 48);
        put(d, 194 - d.textWidth(e.homeAddress2), y + 5.5, e.homeAddress2);
        d.font.size = 8;
        put(d, 146, y + 8.5, homePhones);
    } else {
        d.font.size = 9;
        put(d, 146, y, e.homePostal);
        fitted(d, 146, y + 4, e.homeAddress1, 9, 48);
        d.font.size = 9;
        put(d, 146, y + 8, homePhones);
    }
}
} // namespace

void printRoster(PrintJobContext& c, const std::vector<OfficerEntry>& entries)
{
    PrintDevice& d = c.device;
    setupReportPage(d, u"A4"_s, u"V"_s);
    reportOrigin(d, 198, 290, 0, 2);
    const size_t pages = std::max<size_t>(1, (entries.size() + kRowsPerPage - 1) / kRowsPerPage);
    for (size_t page = 0; page < pages; ++page) {
        if (!startReportPage(c, int(page)))
            return;
        put(d, 25, 12, c.options().heading, kMincho, 15);
        const QString number = pageNumberText(c.options(), int(page));
        if (!number.isEmpty())
            put(d, 100, 282, number, kMincho, 10);
        frame(d);
        for (size_t n = 0; n < size_t(kRowsPerPage); ++n) {
            const size_t i = page * kRowsPerPage + n;
            if (i >= entries.size())
                break;
            row(d, entries[i], 31 + 12.5 * double(n));
        }
    }
}

void registerOfficerJob()
{
    printJobs().add(kOfficerRosterJob, [](PrintJobContext& c) {
        const std::vector<OfficerEntry> list = officers::buildList(c.store);
        std::vector<OfficerEntry> shown;
        for (int i : officers::shownEntries(list, c.session().selections.officerGroup))
            shown.push_back(list[size_t(i)]);
        printRoster(c, shown);
    });
}

} // namespace officer_print
