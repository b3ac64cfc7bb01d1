#include "survey_form.h"

#include "periods.h"
#include "post_status.h"
#include "roster_store.h"
#include "sheet_drawing.h"

#include <algorithm>

using namespace Qt::StringLiterals;
using sheet::hline;
using sheet::put;
using sheet::putRight;
using sheet::vline;

namespace survey_form {

namespace {
const QString kMincho = u"ＭＳ 明朝"_s;

void size(PrintDevice& d, float points)
{
    d.font.face = kMincho;
    d.font.size = points;
}

// A check mark "ﾚ" in 7 pt bold, then back to plain 9 pt.
void tick(PrintDevice& d, double x, double y)
{
    size(d, 7);
    d.font.bold = true;
    put(d, x, y, u"ﾚ"_s);
    d.font.bold = false;
    size(d, 9);
}

QString formDate(Date date, int afterYear)
{
    const QDate q = date.toQDate();
    if (!date.isSet() || !q.isValid() || q.year() <= afterYear)
        return QString();
    return formatEraDate(date, u"ggee年m月d日"_s);
}

void postBlock(PrintDevice& d, double t)
{
    d.lineWidth = 5;
    d.box(20, t, 195, t + 27);
    hline(d, 20, 195, t + 12, 4);
    const double rules[][3] = {{20, 95, 4},  {70, 95, 8},  {95, 120, 6},    {120, 145, 4},  {120, 145, 8},
                               {20, 95, 17}, {70, 95, 22}, {95, 120, 19.5}, {120, 145, 17}, {120, 145, 22}};
    for (const auto& r : rules)
        hline(d, r[0], r[1], t + r[2], 2);
    for (double x : {45.0, 70.0, 95.0, 120.0, 145.0, 165.0})
        vline(d, x, t, t + 27, 2);
    size(d, 9);
    const std::tuple<QString, double, double> labels[] = {
        {u"職員コード"_s, 25, 0.5},     {u"氏名"_s, 28, 4.5},       {u"ﾌﾘｶﾞﾅ"_s, 28, 8},
        {u"性別"_s, 54, 0.5},           {u"生年月日"_s, 51, 6.5},   {u"  職名"_s, 75, 0.5},
        {u" 級･号給"_s, 75, 4.5},       {u"発令年月日"_s, 75, 8.5}, {u"  採用年月日"_s, 96, 1.5},
        {u"現校赴任年月日"_s, 96, 6.5}, {u"電話番号"_s, 127, 0.5},  {u"携帯電話"_s, 127, 4.5},
        {u"FAX番号"_s, 127, 8.5},       {u"備考1"_s, 151, 4.5},     {u"備考2"_s, 178, 4.5},
        {u"男・女"_s, 53, 12.5}};
    for (const auto& [text, x, dy] : labels)
        put(d, x, t + dy, text);
    size(d, 7);
    put(d, 145.5, t + 12.3, u"□ "_s + postStatusName(PostStatus::VacancyFill));
    put(d, 145.5, t + 14.8, u"□ 休暇等補助"_s);
    put(d, 145.5, t + 17.3, u"□ "_s + postStatusName(PostStatus::LeaveCover));
    put(d, 145.5, t + 19.9, u"□ 産・育休中"_s);
    size(d, 9);

    const double a = t + 27;
    d.lineWidth = 5;
    d.box(20, a, 195, a + 12);
    hline(d, 20, 195, a + 5, 2);
    vline(d, 40, a, a + 12, 2);
    vline(d, 90, a, a + 12, 2);
    put(d, 25, a + 1, u"〒番号"_s);
    put(d, 60, a + 1, u"住所"_s);
    put(d, 130, a + 1, u"メールアドレス"_s);
}

void fillPost(PrintDevice& d, const StaffRecord& s, const ClerkSlot& slot, double y)
{
    size(d, 9);
    if (s.code > 19600000)
        putRight(d, 40, y + 1, QString::number(s.code));
    fitTextToWidth(d, s.name, s.reading, 9, 23);
    put(d, 21, y + 6.5, s.name);
    put(d, 21, y + 10, s.reading);
    size(d, 12);
    put(d, s.sex == 0 ? 52.5 : 58.7, y, u"○"_s);
    size(d, 9);
    put(d, 47, y + 8, formDate(s.birthDate, -1));
    put(d, 73, y + 1, s.jobTitle);
    if (s.grade > 0) {
        put(d, 73, y + 6, QString::number(s.grade) + u" 級 "_s + s.payStep + u" 号給"_s);
        put(d, 71, y + 11, formDate(s.appointDate, 2000));
    }
    put(d, 96, y + 2, formDate(s.hireDate, 1960));
    put(d, 96, y + 9, formDate(s.postingDate, 1960));
    put(d, 123, y + 1, s.tel);
    put(d, 123, y + 6, s.mobile);
    put(d, 123, y + 11, s.fax);
    static const std::pair<QString, double> statuses[] = {{postStatusName(PostStatus::VacancyFill), 0.1},
                                                          {postStatusName(PostStatus::LeaveAssist), 2.6},
                                                          {postStatusName(PostStatus::LeaveCover), 5.1},
                                                          {postStatusName(PostStatus::OnLeave), 7.6}};
    for (const auto& [status, dy] : statuses)
        if (slot.status == status)
            tick(d, 146.5, y + dy);
    if (!s.post1.isEmpty()) {
        QString posts = u"瑠事研 "_s + s.post1;
        if (!s.post2.isEmpty())
            posts += u'(' + s.post2 + u')';
        sheet::putFitted(d, 165.5, y + 1, posts, 9, 29);
    }
    if (!slot.note.isEmpty())
        sheet::putFitted(d, 165.5, y + 6, slot.note, 9, 29);
    size(d, 9);
    put(d, 22, y + 21, s.postalCode);
    // The home address: one line, or two when there is a second, both kept
    // inside the box.
    for (float pt = 9; pt >= 5.0f; pt -= 0.2f) {
        d.font.size = pt;
        const bool fits =
            d.textWidth(s.address1) < 48 &&
            (s.address2.isEmpty() || (d.textWidth(s.address2) < 48 && 2 * d.textHeight(s.address1) < 5.5));
        if (fits)
            break;
    }
    if (s.address2.isEmpty()) {
        put(d, 41, y + 21, s.address1);
    } else {
        put(d, 41, y + 20.5, s.address1);
        put(d, 41, y + 23.8, s.address2);
    }
    size(d, 9);
    sheet::putFitted(d, 92, y + 21, s.mail, 9, 100);
}
} // namespace

void drawForm(PrintDevice& d)
{
    size(d, 9);
    d.lineWidth = 5;
    d.box(20, 10, 195, 26);
    hline(d, 20, 195, 18, 2);
    hline(d, 105, 135, 14, 2);
    for (double x : {40.0, 55.0, 65.0, 90.0, 105.0, 135.0, 165.0})
        vline(d, x, 10, 26, 2);
    vline(d, 115, 14, 26, 2);
    vline(d, 125, 14, 26, 2);
    const std::tuple<QString, double, double> labels[] = {
        {u"市町村名"_s, 23, 13},  {u" 学校"_s, 42, 11},   {u"コード"_s, 42, 14.5}, {u"学校"_s, 57, 11},
        {u"番号"_s, 57, 14.5},    {u"学校名"_s, 73, 11},  {u"ﾌﾘｶﾞﾅ"_s, 73, 14.5},  {u"学校種"_s, 91, 13},
        {u"学級数"_s, 115, 10.5}, {u"普通"_s, 106, 14.5}, {u"特殊"_s, 116, 14.5},  {u"分校"_s, 126, 14.5},
        {u"電話番号"_s, 144, 13}, {u"FAX番号"_s, 174, 13}};
    for (const auto& [text, x, y] : labels)
        put(d, x, y, text);
    size(d, 7);
    put(d, 90.5, 18.3, u"□ 小学校"_s);
    put(d, 90.5, 20.8, u"□ 中学校"_s);
    put(d, 90.5, 23.3, u"□ 特別支援学校"_s);
    size(d, 9);

    d.lineWidth = 5;
    d.box(20, 26, 195, 36);
    hline(d, 20, 195, 31, 2);
    vline(d, 40, 26, 36, 2);
    vline(d, 90, 26, 36, 2);
    put(d, 25, 27, u"〒番号"_s);
    put(d, 60, 27, u"住  所"_s);
    put(d, 130, 27, u"メールアドレス"_s);

    for (int k = 0; k < 5; ++k)
        postBlock(d, 45 + 43 * k);
    size(d, 9);
    put(d, 20, 259, u"＊ 瑠事研の役員名は、備考２に記入してください"_s);
}

void drawNotes(PrintDevice& d)
{
    static const QStringList lines{u"＊ 退職者は、個人ﾃﾞｰﾀの左に「退職」と朱書きしてください"_s,
                                   u"＊ 赴任者(転出)は、個人ﾃﾞｰﾀの左に「転出」」と朱書きしてください"_s,
                                   u"＊ 赴任者(転入)は、個人ﾃﾞｰﾀの左に「転入」と朱書きして個人ﾃﾞｰﾀを追加してください"_s,
                                   u"＊ 新採者は、個人ﾃﾞｰﾀの左に「新採」と朱書きして個人ﾃﾞｰﾀを追加してください"_s,
                                   u"＊ 個人ﾃﾞｰﾀの訂正は該当欄に朱書きしてください"_s};
    for (int i = 0; i < lines.size(); ++i)
        put(d, 20, 263 + 3.5 * i, lines[i]);
}

void fillForm(PrintDevice& d, const RosterStore& store, int row)
{
    if (row < 0 || row >= store.schoolCount())
        return;
    const SchoolRecord& s = store.schools[size_t(row)];
    size(d, 9);
    sheet::putFitted(d, 21, 20, s.municipality, 9, 18);
    putRight(d, 53, 20, QString::number(s.code));
    if (s.number > 0)
        putRight(d, 63, 20, QString::number(s.number));
    fitTextToWidth(d, s.name, s.reading, 9, 23);
    put(d, 66, 19, s.name);
    put(d, 66, 22.5, s.reading);
    tick(d, 91.5, s.kindText == u"中学校"_s ? 20.6 : s.kindText == u"特別支援学校"_s ? 23.1 : 18.1);
    const std::pair<qint16, double> classes[] = {
        {s.regularClasses, 113}, {s.specialClasses, 123}, {s.branchCount, 133}};
    for (const auto& [n, x] : classes)
        if (n > 0)
            putRight(d, x, 20, QString::number(n));
    put(d, 138, 20, s.tel);
    put(d, 168, 20, s.fax);
    put(d, 22, 32, s.postalCode);
    sheet::putFitted(d, 41, 32, s.address, 9, 48);
    sheet::putFitted(d, 92, 32, s.mail, 9, 100);

    for (int i = 0; i < 5; ++i) {
        const ClerkSlot& slot = s.clerks[size_t(i)];
        if (slot.staffCode < 1)
            break;
        const int member = store.findStaffByCode(slot.staffCode);
        if (member < 0)
            continue;
        fillPost(d, store.staff[size_t(member)], slot, 57 + 43 * i);
    }
}

void printBlankForm(PrintJobContext& c)
{
    setupReportPage(c.device, u"A4"_s, u"V"_s);
    resetPage(c.device);
    drawForm(c.device);
}

void printMarkedForms(PrintJobContext& c)
{
    setupReportPage(c.device, u"A4"_s, u"V"_s);
    int page = 0;
    for (int row = 0; row < c.store.schoolCount(); ++row) {
        const SchoolRecord& s = c.store.schools[size_t(row)];
        const bool marked =
            std::any_of(s.clerks.begin(), s.clerks.end(), [](const ClerkSlot& k) { return k.mark == 1; });
        if (!marked)
            continue;
        if (!startReportPage(c, page++))
            return;
        drawForm(c.device);
        drawNotes(c.device);
        fillForm(c.device, c.store, row);
    }
}

void registerSurveyJob()
{
    printJobs().add(kMarkedFormsJob, [](PrintJobContext& c) { printMarkedForms(c); });
}

} // namespace survey_form
