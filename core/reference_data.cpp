#include "reference_data.h"

#include "capacities.h"
#include "suite_config.h"
#include "user_notifier.h"

#include <QFile>
#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

const DistrictSubList* ReferenceData::subListFor(const QString& areaName) const
{
    for (const DistrictSubList& s : subLists)
        if (s.areaName == areaName)
            return &s;
    return nullptr;
}

const MergerRow* ReferenceData::mergerFor(const QString& oldName) const
{
    for (const MergerRow& m : mergers)
        if (m.oldName == oldName)
            return &m;
    return nullptr;
}

namespace {

QStringList fields(const QString& line)
{
    QStringList out;
    for (const QString& f : line.split(u','))
        out << f.trimmed();
    return out;
}

// "name: a, b, c" -> name and the list.
bool splitNamed(const QString& line, QString& name, QStringList& items)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon <= 0)
        return false;
    name = line.left(colon).trimmed();
    items = fields(line.mid(colon + 1));
    items.removeAll(QString());
    return !name.isEmpty();
}

} // namespace

std::optional<ReferenceData> parseReferenceData(const QByteArray& text, QString* error)
{
    auto fail = [error](const QString& why) -> std::optional<ReferenceData> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QHash<QString, QStringList> sections;
    QString current;
    int lineNo = 0;
    for (const QString& raw : QString::fromUtf8(text).split(u'\n')) {
        ++lineNo;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = line.mid(1, line.size() - 2).trimmed();
            if (sections.contains(current))
                return fail(u"%1 行目: ［%2］が二度あります"_s.arg(lineNo).arg(current));
            sections.insert(current, {});
            continue;
        }
        if (current.isEmpty())
            return fail(u"%1 行目: 見出しの前に行があります"_s.arg(lineNo));
        sections[current] << line;
    }
    for (const QString& need : {u"県名"_s, u"学校組合"_s, u"地区"_s, u"管内A"_s, u"管内BC"_s, u"市町村AB"_s,
                                u"市町村C"_s, u"合併"_s, u"地区細分"_s, u"分割印刷地区"_s})
        if (!sections.contains(need))
            return fail(u"［%1］がありません"_s.arg(need));

    ReferenceData d;
    d.prefectureName = sections[u"県名"_s].value(0);
    if (d.prefectureName.isEmpty())
        return fail(u"県名がありません"_s);
    const QStringList assoc = fields(sections[u"学校組合"_s].value(0));
    d.associationName = assoc.value(0);
    d.associationMember = assoc.value(1);

    d.districtNames = sections[u"地区"_s];
    if (d.districtNames.isEmpty() || d.districtNames.size() > cap::kDistrictNames)
        return fail(u"地区は1から%1までです"_s.arg(cap::kDistrictNames));
    if (QSet<QString>(d.districtNames.begin(), d.districtNames.end()).size() != d.districtNames.size())
        return fail(u"同じ地区名が二つあります"_s);

    auto areas = [&](const QString& section, QStringList& names, std::vector<int>& areaOf) -> QString {
        const QStringList& lines = sections[section];
        if (lines.isEmpty() || lines.size() > cap::kAreaNames)
            return u"［%1］の管内は1から%2までです"_s.arg(section).arg(cap::kAreaNames);
        areaOf.assign(size_t(d.districtNames.size()), -1);
        for (const QString& line : lines) {
            QString name;
            QStringList ds;
            if (!splitNamed(line, name, ds) || ds.isEmpty())
                return u"［%1］の行が読めません: %2"_s.arg(section, line);
            for (const QString& dn : ds) {
                const qsizetype di = d.districtNames.indexOf(dn);
                if (di < 0)
                    return u"［%1］: 地区「%2」がありません"_s.arg(section, dn);
                if (areaOf[size_t(di)] >= 0)
                    return u"［%1］: 地区「%2」が二つの管内にあります"_s.arg(section, dn);
                areaOf[size_t(di)] = int(names.size());
            }
            names << name;
        }
        for (size_t i = 0; i < areaOf.size(); ++i)
            if (areaOf[i] < 0)
                return u"［%1］: 地区「%2」がどの管内にもありません"_s.arg(section, d.districtNames[qsizetype(i)]);
        return QString();
    };
    for (const auto& [section, names, areaOf] :
         {std::tuple{u"管内A"_s, &d.areaNamesA, &d.areaOfDistrictA},
          std::tuple{u"管内BC"_s, &d.areaNamesBC, &d.areaOfDistrictBC}}) {
        const QString why = areas(section, *names, *areaOf);
        if (!why.isEmpty())
            return fail(why);
    }

    auto places = [&](const QString& section, std::vector<PlaceEntry>& out) -> QString {
        QSet<QString> seen;
        int lastDistrict = 0;
        for (const QString& line : sections[section]) {
            const QStringList f = fields(line);
            const qsizetype di = d.districtNames.indexOf(f.value(1));
            if (f.size() != 2 || f[0].isEmpty() || di < 0)
                return u"［%1］の行が読めません: %2"_s.arg(section, line);
            if (seen.contains(f[0]))
                return u"［%1］: 「%2」が二度あります"_s.arg(section, f[0]);
            // Municipalities are listed district by district, so the lists
            // of districts and areas come out in order.
            if (int(di) < lastDistrict)
                return u"［%1］: 「%2」が地区の順に並んでいません"_s.arg(section, f[0]);
            lastDistrict = int(di);
            seen.insert(f[0]);
            out.push_back({f[0], int(di)});
        }
        if (out.empty() || out.size() > size_t(cap::kMunicipalities))
            return u"［%1］の市町村は1から%2までです"_s.arg(section).arg(cap::kMunicipalities);
        return QString();
    };
    for (const auto& [section, out] : {std::pair{u"市町村AB"_s, &d.municipalitiesAB},
                                       std::pair{u"市町村C"_s, &d.municipalitiesC}}) {
        const QString why = places(section, *out);
        if (!why.isEmpty())
            return fail(why);
    }

    for (const QString& line : sections[u"合併"_s]) {
        const QStringList f = fields(line);
        if (f.size() < 2 || f.size() > 3 || f[0].isEmpty() || f[1].isEmpty())
            return fail(u"［合併］の行が読めません: "_s + line);
        d.mergers.push_back({f[0], f[1], f.value(2)});
    }
    for (const QString& line : sections[u"地区細分"_s]) {
        DistrictSubList s;
        QString rest = line;
        if (rest.endsWith(u'!')) {
            s.mustChoose = true;
            rest.chop(1);
        }
        if (!splitNamed(rest, s.areaName, s.districts) || s.districts.isEmpty())
            return fail(u"［地区細分］の行が読めません: "_s + line);
        for (const QString& dn : std::as_const(s.districts))
            if (!d.districtNames.contains(dn))
                return fail(u"［地区細分］: 地区「%1」がありません"_s.arg(dn));
        d.subLists.push_back(s);
    }
    d.splitDistrict = sections[u"分割印刷地区"_s].value(0);
    return d;
}

const ReferenceData& builtInReferenceData()
{
    static const ReferenceData data = [] {
        QFile f(u":/data/places.txt"_s);
        f.open(QIODevice::ReadOnly);
        QString error;
        std::optional<ReferenceData> d = parseReferenceData(f.readAll(), &error);
        Q_ASSERT_X(d, "builtInReferenceData", qPrintable(error));
        return d ? *d : ReferenceData{};
    }();
    return data;
}

ReferenceData loadReferenceData(const QString& programFolder, UserNotifier* notifier)
{
    const QString path = configFilePath(programFolder, u"places.txt"_s);
    if (path.startsWith(u':'))
        return builtInReferenceData();
    QFile f(path);
    QString error = u"開けません"_s;
    std::optional<ReferenceData> d;
    if (f.open(QIODevice::ReadOnly) && f.size() < cap::kMaxFileBytes)
        d = parseReferenceData(f.readAll(), &error);
    if (d)
        return *d;
    if (notifier)
        notifier->tell(u"地名データ（places.txt）に誤りがあるため、組み込みのデータを使います。"_s,
                       MessageIcon::Warning, UserNotifier::appTitle(), path + u"\n"_s + error);
    return builtInReferenceData();
}

const QStringList& jobTitles()
{
    static const QStringList titles{u"事 務 長"_s, u"副 主 査"_s, u"主任主事"_s,
                                    u" 主  事 "_s, u"市町村職員"_s, u" その他 "_s};
    return titles;
}

const QStringList& schoolKinds()
{
    static const QStringList kinds{u"小学校"_s, u"中学校"_s, u"特別支援学校"_s};
    return kinds;
}
