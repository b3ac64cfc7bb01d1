#include "periods.h"

#include "roster_store.h"
#include "text_width.h"

#include <QMap>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <memory>

using namespace Qt::StringLiterals;

Period periodSince(Date start, Date reference, qint16 correctionMonths)
{
    // The day after the last day there is has no date (and no sum to make).
    if (reference.days() == std::numeric_limits<qint32>::max())
        return {};
    const QDate a = Date(reference.days() + 1).toQDate();
    const QDate s = start.toQDate();
    if (!a.isValid() || !s.isValid())
        return {};
    const int y1 = a.year(), m1 = a.month(), d1 = a.day();
    const int y2 = s.year(), m2 = s.month(), d2 = s.day();
    int years = 0;
    int months = 0;
    if (m1 == m2) {
        years = d1 < d2 ? y1 - y2 - 1 : y1 - y2;
        months = d1 < d2 ? 11 : 0;
    } else if (m1 > m2) {
        years = y1 - y2;
        months = m1 - m2 - (d1 < d2 ? 1 : 0);
    } else {
        years = y1 - y2 - 1;
        months = m1 + 12 - m2 - (d1 < d2 ? 1 : 0);
    }
    // Every step stays in 16 bits, as it always has; an overflow gives 0.
    auto fits = [](qint64 v) { return v >= std::numeric_limits<qint16>::min() && v <= std::numeric_limits<qint16>::max(); };
    const qint64 years12 = qint64(years) * 12;
    const qint64 total = years12 + months + correctionMonths;
    if (!fits(years) || !fits(years12) || !fits(years12 + months) || !fits(total))
        return {};
    const qint16 resultYears = qint16(total / 12);
    return {resultYears, qint16(total - 12 * qint64(resultYears))};
}

Period agePeriod(const StaffRecord& staff, Date survey, bool onBirthday)
{
    const Date start = onBirthday ? Date(staff.birthDate.days() + 1) : staff.birthDate;
    return periodSince(start, survey, 0);
}

void calcAge(RosterStore& store, int row)
{
    if (row < 0 || row >= store.staffCount())
        return;
    StaffRecord& s = store.staff[size_t(row)];
    const Period p = agePeriod(s, store.surveyDate, store.profile.optionFlags & OptionFlag::AgeOnBirthday);
    s.ageYears = p.years;
    s.ageMonths = p.months;
}

void calcAllAges(RosterStore& store)
{
    for (int row = 0; row < store.staffCount(); ++row) {
        StaffRecord& s = store.staff[size_t(row)];
        if (s.birthDate.isSet()) {
            calcAge(store, row);
        } else {
            s.ageYears = 0;
            s.ageMonths = 0;
        }
    }
}

Date normalisedDate(qint64 year, qint64 month, qint64 day)
{
    // Month carries into the year first, then the day is counted from the
    // first of that month.
    if (year < -100000 || year > 100000 || month < -1200000 || month > 1200000 || day < -40000000 || day > 40000000)
        return Date();
    qint64 m0 = month - 1;
    year += m0 >= 0 ? m0 / 12 : -((-m0 + 11) / 12);
    m0 -= (m0 >= 0 ? m0 / 12 : -((-m0 + 11) / 12)) * 12;
    if (year < 1 || year > 9999)
        return Date();
    const QDate first(int(year), int(m0) + 1, 1);
    const QDate d = first.addDays(day - 1);
    if (!d.isValid() || d.year() < 1 || d.year() > 9999)
        return Date();
    return Date::fromQDate(d);
}

namespace {

struct EraFormatter {
    std::unique_ptr<icu::Calendar> calendar;
    QMap<int, std::pair<QString, QString>> names; // era -> (name, letter)

    EraFormatter()
    {
        UErrorCode status = U_ZERO_ERROR;
        calendar.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(),
                                                     icu::Locale("ja_JP@calendar=japanese"), status));
        if (U_FAILURE(status))
            calendar.reset();
    }

    static QString text(const icu::UnicodeString& s)
    {
        return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
    }

    // Era number, era name, letter and year of `date`, from the calendar.
    bool eraOf(const QDate& date, QString& name, QString& letter, int& eraYear)
    {
        if (!calendar)
            return false;
        UErrorCode status = U_ZERO_ERROR;
        calendar->clear();
        calendar->set(UCAL_EXTENDED_YEAR, date.year());
        calendar->set(UCAL_MONTH, date.month() - 1);
        calendar->set(UCAL_DATE, date.day());
        const int era = calendar->get(UCAL_ERA, status);
        eraYear = calendar->get(UCAL_YEAR, status);
        if (U_FAILURE(status))
            return false;
        auto it = names.find(era);
        if (it == names.end()) {
            const UDate when = calendar->getTime(status);
            const icu::Locale locale("ja_JP@calendar=japanese");
            icu::UnicodeString full, narrow;
            icu::SimpleDateFormat fullFormat(icu::UnicodeString(u"GGGG"), locale, status);
            icu::SimpleDateFormat narrowFormat(icu::UnicodeString(u"GGGGG"), locale, status);
            if (U_FAILURE(status))
                return false;
            fullFormat.setTimeZone(*icu::TimeZone::getGMT());
            narrowFormat.setTimeZone(*icu::TimeZone::getGMT());
            fullFormat.format(when, full);
            narrowFormat.format(when, narrow);
            it = names.insert(era, {text(full), text(narrow)});
        }
        name = it->first;
        letter = it->second;
        return true;
    }
};

} // namespace

QString formatEraDate(Date date, const QString& format)
{
    if (!date.isSet())
        return QString();
    const QDate d = date.toQDate();
    if (!d.isValid())
        return QString();
    thread_local EraFormatter era;
    QString name, letter;
    int eraYear = 0;
    const bool haveEra = era.eraOf(d, name, letter, eraYear);
    auto two = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
    QString out;
    for (qsizetype i = 0; i < format.size();) {
        const QStringView rest = QStringView(format).mid(i);
        if (rest.startsWith(u"ggg"_s)) {
            out += haveEra ? name : QString();
            i += 3;
        } else if (rest.startsWith(u"gg"_s)) {
            out += haveEra ? name.left(1) : QString();
            i += 2;
        } else if (rest.startsWith(u"g"_s)) {
            out += haveEra ? letter : QString();
            i += 1;
        } else if (rest.startsWith(u"ee"_s)) {
            out += haveEra ? two(eraYear) : QString();
            i += 2;
        } else if (rest.startsWith(u"e"_s)) {
            out += haveEra ? QString::number(eraYear) : QString();
            i += 1;
        } else if (rest.startsWith(u"yyyy"_s)) {
            out += QString::number(d.year()).rightJustified(4, u'0');
            i += 4;
        } else if (rest.startsWith(u"mm"_s)) {
            out += two(d.month());
            i += 2;
        } else if (rest.startsWith(u"m"_s)) {
            out += QString::number(d.month());
            i += 1;
        } else if (rest.startsWith(u"dd"_s)) {
            out += two(d.day());
            i += 2;
        } else if (rest.startsWith(u"d"_s)) {
            out += QString::number(d.day());
            i += 1;
        } else {
            out += format[i];
            ++i;
        }
    }
    return out;
}

QString ageText(Period p)
{
    if (p.months > 0)
        return QString::number(p.years) + u'.' + QString::number(p.months);
    return QString::number(p.years);
}

QString periodColumnText(Period p)
{
    return QString::number(p.years) + u'.' + QString::number(p.months).rightJustified(2, u' ');
}

Date& dateField(StaffRecord& staff, DateFieldKind kind)
{
    switch (kind) {
    case DateFieldKind::Birth: return staff.birthDate;
    case DateFieldKind::Appoint: return staff.appointDate;
    case DateFieldKind::Hire: return staff.hireDate;
    case DateFieldKind::Posting: break;
    }
    return staff.postingDate;
}

Date dateField(const StaffRecord& staff, DateFieldKind kind)
{
    return dateField(const_cast<StaffRecord&>(staff), kind);
}

qint64 boxNumber(const QString& text)
{
    return typedNumber(text, -99999, 99999);
}
