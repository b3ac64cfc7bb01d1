#include "era_years.h"

#include "periods.h"
#include "text_width.h"

using namespace Qt::StringLiterals;

std::optional<EraYear> eraYearOf(Date date)
{
    if (!date.isSet())
        return std::nullopt;
    const QString name = formatEraDate(date, u"ggg"_s);
    const QString letter = formatEraDate(date, u"g"_s);
    bool ok = false;
    const int year = formatEraDate(date, u"e"_s).toInt(&ok);
    if (name.isEmpty() || !ok)
        return std::nullopt;
    return EraYear{name, letter, year, date.toQDate().year() - year};
}

namespace {

QString captionOf(const EraYear& era, bool fullWidthDigits)
{
    QString number = era.year == 1 ? u"元"_s : QString::number(era.year);
    if (fullWidthDigits)
        number = toFullWidth(number);
    return era.name + number + u"年度"_s;
}

} // namespace

QString fiscalYearCaption(int nn, bool fullWidthDigits)
{
    if (nn <= 0)
        return QString();
    const std::optional<EraYear> era = eraYearOf(fiscalYearFirstDay(nn));
    if (!era) // outside the calendar's eras: the stored numbering is still right
        return heiseiYearCaption(nn);
    return captionOf(*era, fullWidthDigits);
}

QString heiseiYearCaption(int nn)
{
    if (nn <= 0)
        return QString();
    return u"平成"_s + QString::number(nn) + u"年度"_s;
}

int lastRosterYear(const QDate& today)
{
    return today.year() - kHeiseiBase + 2;
}

QString rosterYearEntryText(int nn)
{
    const std::optional<EraYear> era = eraYearOf(fiscalYearFirstDay(nn));
    if (!era)
        return QString::number(nn);
    return era->name + QString::number(era->year);
}

std::optional<int> parseRosterYear(const QString& text, const QDate& today)
{
    QString t = toHalfWidth(text).trimmed().toUpper();
    t.remove(u' ');
    if (t.endsWith(u"年度"_s))
        t.chop(2);
    else if (t.endsWith(u'年'))
        t.chop(1);
    enum class Era { Unsaid, Reiwa, Heisei } era = Era::Unsaid;
    for (const auto& [prefix, which] :
         {std::pair{u"令和"_s, Era::Reiwa}, {u"R"_s, Era::Reiwa}, {u"平成"_s, Era::Heisei}, {u"H"_s, Era::Heisei}}) {
        if (t.startsWith(prefix)) {
            era = which;
            t = t.mid(prefix.size()).trimmed();
            break;
        }
    }
    int year = 0;
    if (t == u"元"_s) {
        year = 1;
    } else {
        bool ok = false;
        year = t.toInt(&ok);
        // No era has a thousand years; a longer number is no roster year,
        // and the sums below stay far from overflowing.
        if (!ok || t.startsWith(u'+') || t.startsWith(u'-') || year > 999)
            return std::nullopt;
    }
    const int last = lastRosterYear(today);
    // 令和1 began on May 1, 2019, inside the fiscal year 2019 (roster year 31).
    constexpr int kReiwaOffset = 30;
    if (era == Era::Unsaid)
        era = year >= 1 && year + kReiwaOffset <= last ? Era::Reiwa : Era::Heisei;
    const int nn = era == Era::Reiwa ? year + kReiwaOffset : year;
    if (year < 1 || nn < 1 || nn > last)
        return std::nullopt;
    return nn;
}
