#include "sample_roster.h"

#include "era_years.h"
#include "post_status.h"
#include "reference_tables.h"

#include <QRandomGenerator>
#include <set>

using namespace Qt::StringLiterals;

namespace {

struct Named {
    const char16_t* text;
    const char16_t* reading;
};

constexpr Named kSurnames[] = {
    {u"青木", u"ｱｵｷ"},   {u"赤松", u"ｱｶﾏﾂ"},  {u"秋山", u"ｱｷﾔﾏ"}, {u"朝倉", u"ｱｻｸﾗ"},  {u"石田", u"ｲｼﾀﾞ"},
    {u"井上", u"ｲﾉｳｴ"},  {u"岩瀬", u"ｲﾜｾ"},   {u"上田", u"ｳｴﾀﾞ"}, {u"大川", u"ｵｵｶﾜ"},  {u"小野寺", u"ｵﾉﾃﾞﾗ"},
    {u"加藤", u"ｶﾄｳ"},   {u"川村", u"ｶﾜﾑﾗ"},  {u"菊池", u"ｷｸﾁ"},  {u"北野", u"ｷﾀﾉ"},   {u"久保", u"ｸﾎﾞ"},
    {u"小林", u"ｺﾊﾞﾔｼ"}, {u"斉藤", u"ｻｲﾄｳ"},  {u"坂本", u"ｻｶﾓﾄ"}, {u"佐々木", u"ｻｻｷ"}, {u"島田", u"ｼﾏﾀﾞ"},
    {u"菅原", u"ｽｶﾞﾜﾗ"}, {u"関口", u"ｾｷｸﾞﾁ"}, {u"高橋", u"ﾀｶﾊｼ"}, {u"竹内", u"ﾀｹｳﾁ"},  {u"千葉", u"ﾁﾊﾞ"},
    {u"土屋", u"ﾂﾁﾔ"},   {u"中島", u"ﾅｶｼﾞﾏ"}, {u"西村", u"ﾆｼﾑﾗ"}, {u"野口", u"ﾉｸﾞﾁ"},  {u"橋本", u"ﾊｼﾓﾄ"},
    {u"原田", u"ﾊﾗﾀﾞ"},  {u"平野", u"ﾋﾗﾉ"},   {u"福田", u"ﾌｸﾀﾞ"}, {u"星野", u"ﾎｼﾉ"},   {u"松本", u"ﾏﾂﾓﾄ"},
    {u"三浦", u"ﾐｳﾗ"},   {u"宮崎", u"ﾐﾔｻﾞｷ"}, {u"村上", u"ﾑﾗｶﾐ"}, {u"森田", u"ﾓﾘﾀ"},   {u"山口", u"ﾔﾏｸﾞﾁ"},
    {u"吉田", u"ﾖｼﾀﾞ"},  {u"渡辺", u"ﾜﾀﾅﾍﾞ"},
};
constexpr Named kMaleNames[] = {
    {u"翔太", u"ｼｮｳﾀ"}, {u"大輔", u"ﾀﾞｲｽｹ"}, {u"健一", u"ｹﾝｲﾁ"}, {u"誠", u"ﾏｺﾄ"},   {u"拓也", u"ﾀｸﾔ"},
    {u"浩二", u"ｺｳｼﾞ"}, {u"隆", u"ﾀｶｼ"},     {u"直樹", u"ﾅｵｷ"},  {u"亮", u"ﾘｮｳ"},   {u"和也", u"ｶｽﾞﾔ"},
    {u"秀樹", u"ﾋﾃﾞｷ"}, {u"達也", u"ﾀﾂﾔ"},   {u"修", u"ｵｻﾑ"},    {u"悠斗", u"ﾕｳﾄ"}, {u"蓮", u"ﾚﾝ"},
};
constexpr Named kFemaleNames[] = {
    {u"陽子", u"ﾖｳｺ"}, {u"美穂", u"ﾐﾎ"},  {u"恵", u"ﾒｸﾞﾐ"},  {u"由美", u"ﾕﾐ"},    {u"真由美", u"ﾏﾕﾐ"},
    {u"直子", u"ﾅｵｺ"}, {u"彩", u"ｱﾔ"},    {u"千尋", u"ﾁﾋﾛ"}, {u"さくら", u"ｻｸﾗ"}, {u"裕子", u"ﾕｳｺ"},
    {u"明美", u"ｱｹﾐ"}, {u"香織", u"ｶｵﾘ"}, {u"美咲", u"ﾐｻｷ"}, {u"綾乃", u"ｱﾔﾉ"},   {u"久美子", u"ｸﾐｺ"},
};
constexpr Named kSchoolNames[] = {
    {u"青葉", u"ｱｵﾊﾞ"}, {u"若葉", u"ﾜｶﾊﾞ"},     {u"桜丘", u"ｻｸﾗｶﾞｵｶ"}, {u"緑町", u"ﾐﾄﾞﾘﾁｮｳ"},    {u"東", u"ﾋｶﾞｼ"},
    {u"西", u"ﾆｼ"},     {u"南", u"ﾐﾅﾐ"},        {u"北", u"ｷﾀ"},        {u"中央", u"ﾁｭｳｵｳ"},      {u"旭", u"ｱｻﾋ"},
    {u"朝日", u"ｱｻﾋ"},  {u"光", u"ﾋｶﾘ"},        {u"清水", u"ｼﾐｽﾞ"},    {u"松原", u"ﾏﾂﾊﾞﾗ"},      {u"本町", u"ﾎﾝﾁｮｳ"},
    {u"山手", u"ﾔﾏﾉﾃ"}, {u"川辺", u"ｶﾜﾍﾞ"},     {u"泉", u"ｲｽﾞﾐ"},      {u"竹園", u"ﾀｹｿﾞﾉ"},      {u"梅林", u"ﾊﾞｲﾘﾝ"},
    {u"白鳥", u"ｼﾗﾄﾘ"}, {u"星ヶ丘", u"ﾎｼｶﾞｵｶ"}, {u"浜辺", u"ﾊﾏﾍﾞ"},    {u"緑ヶ丘", u"ﾐﾄﾞﾘｶﾞｵｶ"}, {u"高台", u"ﾀｶﾀﾞｲ"},
    {u"湖南", u"ｺﾅﾝ"},  {u"春日", u"ｶｽｶﾞ"},     {u"日向", u"ﾋﾅﾀ"},     {u"岬", u"ﾐｻｷ"},          {u"杉並", u"ｽｷﾞﾅﾐ"},
};
constexpr const char16_t* kGroups[] = {u"第1ブロック", u"第2ブロック", u"第3ブロック", u"第4ブロック"};
constexpr const char16_t* kJobTitles[] = {u"事 務 長", u"副 主 査",   u"主任主事",
                                          u" 主  事 ", u"市町村職員", u" その他 "};
constexpr PostStatus kStatuses[] = {PostStatus::VacancyFill, PostStatus::LeaveAssist, PostStatus::LeaveCover,
                                    PostStatus::OnLeave};
constexpr const char16_t* kStreets[] = {u"本町", u"栄町", u"旭町", u"緑町", u"桜木町", u"港町", u"大手町"};

template <typename T, size_t N>
const T& pick(QRandomGenerator& rng, const T (&items)[N])
{
    return items[rng.bounded(quint32(N))];
}

QString digits(QRandomGenerator& rng, int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += QChar(u'0' + int(rng.bounded(10u)));
    return s;
}

} // namespace

QStringList sampleMunicipalityNames(const RosterStore& store)
{
    QStringList out;
    for (const MunicipalityEntry& e : store.municipalities.entries)
        out << e.name;
    // A few schools belong to the joint school association.
    if (!store.places.associationName.isEmpty())
        out << store.places.associationName;
    return out;
}

void generateSampleRoster(RosterStore& store, const SampleOptions& options)
{
    QRandomGenerator rng(options.seed);
    const int schoolCount = std::clamp(options.schools, 0, cap::kMaxSchools);
    const int staffCount = std::clamp(options.staff, 0, cap::kMaxStaff);
    const int fiscalYear = kHeiseiBase + options.fiscalYear;

    store.schools.clear();
    store.staff.clear();
    store.groupNames.clear();
    store.fiscalYear = qint16(options.fiscalYear);
    store.surveyDate = Date::fromYmd(fiscalYear, 4, 1);
    buildMunicipalityTable(store, options.fiscalYear);
    const QStringList municipalities = sampleMunicipalityNames(store);

    // Staff: codes begin with the year of hire and are unique.
    std::set<qint32> codes;
    for (int i = 0; i < staffCount; ++i) {
        StaffRecord s;
        const Named& surname = pick(rng, kSurnames);
        s.sex = qint16(rng.bounded(2u));
        const Named& given = s.sex == 0 ? pick(rng, kMaleNames) : pick(rng, kFemaleNames);
        s.name = QString::fromUtf16(surname.text) + u'　' + QString::fromUtf16(given.text);
        s.reading = QString::fromUtf16(surname.reading) + u' ' + QString::fromUtf16(given.reading);
        const int birthYear = fiscalYear - 22 - int(rng.bounded(38u));
        s.birthDate = Date::fromYmd(birthYear, 1 + int(rng.bounded(12u)), 1 + int(rng.bounded(28u)));
        const int hireYear = std::min(fiscalYear, birthYear + 22 + int(rng.bounded(8u)));
        qint32 code = 0;
        do
            code = hireYear * 10000 + 1 + qint32(rng.bounded(9999u));
        while (codes.count(code));
        codes.insert(code);
        s.code = code;
        s.hireDate = Date::fromYmd(hireYear, 4, 1);
        const int postingYear = hireYear + int(rng.bounded(quint32(fiscalYear - hireYear + 1)));
        s.postingDate = Date::fromYmd(postingYear, 4, 1);
        s.appointDate = s.postingDate;
        s.postalCode = u"9%1-%2"_s.arg(digits(rng, 2), digits(rng, 4));
        s.address1 = municipalities[qsizetype(rng.bounded(quint32(municipalities.size())))] +
                     QString::fromUtf16(pick(rng, kStreets)) +
                     u"%1-%2-%3"_s.arg(1 + rng.bounded(5u)).arg(1 + rng.bounded(20u)).arg(1 + rng.bounded(30u));
        if (rng.bounded(4u) == 0)
            s.address2 = u"コーポ瑠璃 %1号"_s.arg(101 + rng.bounded(5u) * 100 + rng.bounded(8u));
        s.tel = u"0%1-%2-%3"_s.arg(digits(rng, 3), digits(rng, 2), digits(rng, 4));
        s.mobile = u"090-%1-%2"_s.arg(digits(rng, 4), digits(rng, 4));
        if (rng.bounded(3u) == 0)
            s.mail = u"clerk%1@example.jp"_s.arg(code);
        const int years = fiscalYear - hireYear;
        s.jobTitleIndex = qint16(years > 25 ? 0 : years > 15 ? 1 : years > 7 ? 2 : 3);
        if (rng.bounded(20u) == 0)
            s.jobTitleIndex = qint16(4 + rng.bounded(2u));
        s.jobTitle = QString::fromUtf16(kJobTitles[s.jobTitleIndex]);
        s.grade = qint16(std::min(6, 1 + years / 6));
        s.payStep = QString::number(1 + (years * 4) % 120);
        s.temporary = rng.bounded(25u) == 0 ? 1 : 0;
        store.staff.push_back(std::move(s));
    }

    // The association's officers: every twelfth member from the fourth holds
    // a post (without drawing on the random sequence, so the rest of the
    // sample stays as it was).
    static const char16_t* const kPosts[][2] = {
        {u"会長", u""},     {u"副会長", u""},       {u"会計", u""},     {u"顧問", u""},     {u"常任理事", u"企画"},
        {u"理事", u"企画"}, {u"常任理事", u"研修"}, {u"理事", u"研修"}, {u"理事", u"研究"}, {u"理事", u"広報"},
        {u"理事", u"調査"}, {u"全事研", u"理事"},   {u"会計監査", u""}, {u"評議員", u""},   {u"評議員", u""},
        {u"評議員", u""},   {u"研究委員長", u""},   {u"研究委員", u""}, {u"研究委員", u""}, {u"特別委員長", u""},
        {u"特別委員", u""}, {u"瑠教研", u""}};
    for (size_t k = 0; k < std::size(kPosts) && 3 + 12 * k < store.staff.size(); ++k) {
        store.staff[3 + 12 * k].post1 = QString::fromUtf16(kPosts[k][0]);
        store.staff[3 + 12 * k].post2 = QString::fromUtf16(kPosts[k][1]);
    }

    // Schools: numbered per kind, posts filled with the staff in turn.
    size_t nextStaff = 0;
    for (int i = 0; i < schoolCount; ++i) {
        SchoolRecord s;
        const int places = int(municipalities.size());
        s.municipality = municipalities[i % places];
        const Named& name = kSchoolNames[size_t(i / places) % std::size(kSchoolNames)];
        const int round = i / (places * int(std::size(kSchoolNames)));
        s.name = QString::fromUtf16(name.text) + (round > 0 ? QString::number(round + 1) : QString());
        s.reading = QString::fromUtf16(name.reading);
        const int kind = i % 10 < 6 ? 0 : i % 10 < 9 ? 1 : 2;
        s.kindText = kind == 0 ? u"小学校"_s : kind == 1 ? u"中学校"_s : u"特別支援学校"_s;
        s.code = 100000 + kind * 100000 + i * 10 + (i % 7 == 0 ? 5 : 0);
        s.number = i + 1;
        s.group = QString::fromUtf16(kGroups[size_t(i) % std::size(kGroups)]);
        s.postalCode = u"9%1-%2"_s.arg(digits(rng, 2), digits(rng, 4));
        s.address =
            QString::fromUtf16(pick(rng, kStreets)) + QString::number(1 + rng.bounded(40u)); // after the municipality
        s.tel = u"0%1-%2-%3"_s.arg(digits(rng, 3), digits(rng, 2), digits(rng, 4));
        s.fax = s.tel.left(s.tel.size() - 1) + u'9';
        if (rng.bounded(2u) == 0)
            s.mail = u"school%1@example.jp"_s.arg(s.code);
        s.regularClasses = qint16(6 + rng.bounded(18u));
        s.specialClasses = qint16(rng.bounded(4u));
        s.branchCount = rng.bounded(30u) == 0 ? 1 : 0;
        const int posts = options.fillAllPosts ? cap::kClerkSlots : 1 + (rng.bounded(4u) == 0 ? 1 : 0);
        for (int p = 0; p < posts && !store.staff.empty(); ++p) {
            if (!options.fillAllPosts && nextStaff >= store.staff.size())
                break;
            const StaffRecord& member = store.staff[nextStaff++ % store.staff.size()];
            ClerkSlot& slot = s.clerks[size_t(p)];
            slot.staffCode = member.code;
            slot.staffName = member.name;
            if (rng.bounded(12u) == 0)
                slot.status = postStatusName(pick(rng, kStatuses));
        }
        store.deriveSchoolFields(s);
        store.schools.push_back(std::move(s));
    }
    store.reindexStaff();
}
