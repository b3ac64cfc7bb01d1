#include "print_command.h"

#include "contact_network.h"
#include "era_years.h"
#include "graphs.h"
#include "name_labels.h"
#include "network_print.h"
#include "periods.h"
#include "print_framework.h"
#include "print_output.h"
#include "record_format.h"
#include "recording_device.h"
#include "reference_tables.h"
#include "roster_files.h"
#include "stderr_notifier.h"
#include "survey_form.h"
#include "tally.h"
#include "tally_sheets.h"
#include "text_width.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

using namespace Qt::StringLiterals;

namespace print_command {

namespace {
int fail(const QString& message)
{
    std::fprintf(stderr, "nakama-cho: %s\n", qPrintable(message));
    return 1;
}

// A whole number within 16 bits, as the options form takes it.
std::optional<qint16> sixteenBit(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < -32768 || v > 32767)
        return std::nullopt;
    return qint16(v);
}

// "FROM-TO", "N" or "FROM-": the pages of each copy that are printed.
std::optional<std::pair<int, int>> pageRange(const QString& text)
{
    // Digits typed in full width at a Japanese terminal count as digits.
    const QString t = toHalfWidth(text).trimmed();
    auto page = [](const QString& part) {
        bool ok = false;
        const int v = part.toInt(&ok);
        return ok && v >= 1 && v <= PrintRequest::kMaxPage && !part.startsWith(u'+') ? std::optional<int>(v)
                                                                                     : std::nullopt;
    };
    const qsizetype dash = t.indexOf(u'-');
    if (dash < 0) {
        const std::optional<int> only = page(t);
        return only ? std::optional(std::pair(*only, *only)) : std::nullopt;
    }
    const std::optional<int> first = page(t.left(dash));
    const QString rest = t.mid(dash + 1);
    if (!first)
        return std::nullopt;
    if (rest.isEmpty())
        return std::pair(*first, 0);
    const std::optional<int> last = page(rest);
    if (!last || *last < *first)
        return std::nullopt;
    return std::pair(*first, *last);
}

struct Options {
    QCommandLineOption data{u"data"_s, u"名簿のフォルダ（省略時は今のフォルダ）"_s, u"DIR"_s};
    QCommandLineOption year{u"year"_s, u"名簿の年度（ファイル名の番号、例 38）"_s, u"NN"_s};
    QCommandLineOption print{u"print"_s, u"印刷する帳票の番号（10-16, 20, 21, 30, 40, 45, 80, 99）"_s, u"JOB"_s};
    QCommandLineOption pdf{u"pdf"_s, u"書き出すPDFファイル"_s, u"FILE"_s};
    QCommandLineOption printer{u"printer"_s, u"印刷するプリンタのキュー名"_s, u"QUEUE"_s};
    QCommandLineOption heading{u"heading"_s, u"ヘッダー"_s, u"TEXT"_s};
    QCommandLineOption copies{u"copies"_s, u"印刷枚数（名簿と役員名簿）"_s, u"N"_s};
    QCommandLineOption startPage{u"start-page"_s, u"印刷開始ページ番号（0 でページ番号なし）"_s, u"N"_s};
    QCommandLineOption pagePrefix{u"page-prefix"_s, u"ページ番号の前に付ける番号"_s, u"N"_s};
    QCommandLineOption pages{u"pages"_s, u"印刷するページ（最初のページを 1 として FROM-TO、N、FROM- で最後まで）"_s,
                             u"FROM-TO"_s};
    QCommandLineOption sheet{
        u"sheet"_s,
        u"30 の集計表: summary, title-grade, age, experience, graph1, graph2, graph3（省略時 summary）。"
        u"80 のラベル用紙: 1枚に1枚, A4 10面, A4 12面, A4 18面, A4 21面, A4 24面, A4 44面, "
        u"ユーザー定義（省略時 1枚に1枚）"_s,
        u"NAME"_s};
    QCommandLineOption blank{u"blank"_s, u"16 で白紙の調査用紙を印刷する"_s};
    QCommandLineOption network{u"network"_s, u"15, 45 の連絡網ファイル（*.TNE, *.TN2）"_s, u"FILE"_s};
    QCommandLineOption layout{u"layout"_s, u"80 の氏名印刷の登録名（PRT_S.PRS）"_s, u"NAME"_s};
    QCommandLineOption codes{u"codes"_s, u"80 で印刷する職員コード（コンマ区切り、省略時は全職員）"_s, u"LIST"_s};
    QCommandLineOption start{u"start"_s, u"80 のラベル用紙で最初に印刷するラベルの位置（行,列。省略時 1,1）"_s,
                             u"ROW,COL"_s};

    QList<QCommandLineOption> all() const
    {
        return {data,       year,  print, pdf,   printer, heading, copies, startPage,
                pagePrefix, pages, sheet, blank, network, layout,  codes,  start};
    }
    void addTo(QCommandLineParser& p) const { p.addOptions(all()); }
};

// Every post held by somebody, or those of the codes listed, are the
// marked posts the label job prints.
bool markPosts(RosterStore& store, const QString& codeList, QString* error)
{
    QList<qint32> codes;
    for (const QString& part : codeList.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint32 code = part.trimmed().toInt(&ok);
        if (!ok || code <= 0) {
            *error = u"職員コードが正しくありません: "_s + part;
            return false;
        }
        if (store.findStaffByCode(code) < 0) {
            *error = u"職員コードが名簿に有りません: "_s + part;
            return false;
        }
        codes << code;
    }
    for (SchoolRecord& s : store.schools)
        for (ClerkSlot& k : s.clerks)
            k.mark = k.staffCode != 0 && (codes.isEmpty() || codes.contains(k.staffCode)) ? 1 : 0;
    return true;
}

// The font sizes the label designer's preview finds, measured on the first
// marked post at the printer's resolution.
void fitLabelItems(name_labels::LabelLayout& layout, const RosterStore& store)
{
    const std::vector<name_labels::Post> posts = name_labels::markedPosts(store);
    if (posts.empty())
        return;
    RecordingDevice d;
    d.font.face = layout.font;
    for (int i = 0; i < name_labels::kItems; ++i) {
        name_labels::LabelItem& item = layout.items[size_t(i)];
        if (!item.prints())
            continue;
        d.font.bold = item.has(name_labels::LabelItem::Bold);
        item.fontSize = name_labels::fittingSize(d, name_labels::itemText(layout, i, store, posts.front()), item.width,
                                                 item.height);
    }
}

std::optional<name_labels::LabelLayout> storedLayout(const QString& dataFolder, const QString& name, QString* error)
{
    const QString path = QDir(dataFolder).filePath(u"PRT_S.PRS"_s);
    QByteArray bytes;
    if (!QFileInfo::exists(path)) {
        *error = path + u" が有りません"_s;
        return std::nullopt;
    }
    if (!readWholeFile(path, bytes, error))
        return std::nullopt;
    const auto layouts = name_labels::readLayouts(bytes, error);
    if (!layouts) {
        *error = path + u": "_s + *error;
        return std::nullopt;
    }
    for (const name_labels::LabelLayout& l : *layouts)
        if (l.name.trimmed() == name.trimmed())
            return l;
    *error = u"登録名「"_s + name + u"」が PRT_S.PRS に有りません"_s;
    return std::nullopt;
}

// The label sheet and start position asked for with --sheet and --start;
// the user's own sheet is read from beside the stored layouts.
std::optional<name_labels::SheetPrint> labelSheet(const QString& dataFolder, const QString& name, const QString& start,
                                                  QString* error)
{
    name_labels::LabelSheet user = name_labels::defaultUserSheet();
    const std::optional<name_labels::LabelSheet> named = name_labels::findSheet(name, user);
    if (named && named->name == name_labels::userSheetName()) {
        const QString path = QDir(dataFolder).filePath(name_labels::userSheetFileName());
        QByteArray bytes;
        if (!QFileInfo::exists(path)) {
            *error = path + u" が有りません（ユーザー定義の用紙は氏名印刷の画面で登録してください）"_s;
            return std::nullopt;
        }
        if (!readWholeFile(path, bytes, error))
            return std::nullopt;
        QString problem;
        user = name_labels::readUserSheet(bytes, &problem);
        if (!problem.isEmpty()) {
            *error = path + u": "_s + problem;
            return std::nullopt;
        }
    }
    const std::optional<name_labels::LabelSheet> sheet = name_labels::findSheet(name, user);
    if (!sheet) {
        *error = u"--sheet のラベル用紙が有りません: "_s + name;
        return std::nullopt;
    }
    name_labels::SheetPrint how;
    how.sheet = *sheet;
    if (!start.isEmpty()) {
        const QStringList parts = toHalfWidth(start).split(u',');
        bool rowOk = false, columnOk = false;
        if (parts.size() == 2) {
            how.startRow = parts[0].trimmed().toInt(&rowOk);
            how.startColumn = parts[1].trimmed().toInt(&columnOk);
        }
        if (!rowOk || !columnOk) {
            *error = u"--start は 行,列 の形で指定してください（例 2,1）: "_s + start;
            return std::nullopt;
        }
        if (const QString p = name_labels::startProblem(how.sheet, how.startRow, how.startColumn); !p.isEmpty()) {
            *error = u"--start "_s + start + u": "_s + p;
            return std::nullopt;
        }
    }
    return how;
}

template <typename Network>
bool readNetwork(const QString& path, Network& network, QImage& picture, QString* error)
{
    if (path.isEmpty()) {
        *error = u"連絡網ファイルを --network で指定してください"_s;
        return false;
    }
    if (!QFileInfo::exists(path) || contact_network::readFile(path, network) != 1) {
        *error = u"連絡網ファイルを読み込めません: "_s + path;
        return false;
    }
    if (network_print::hasEmptyChainInBetween(network)) {
        *error = u"データの無い行が途中に有ります: "_s + path;
        return false;
    }
    if (!network.pictureFile.isEmpty())
        picture.load(network.pictureFile);
    return true;
}
} // namespace

bool wanted(const QStringList& arguments)
{
    // Any option of printing, even without --print, is a print asked of the
    // terminal: a forgotten --print is told there, not answered with windows.
    static const QStringList printing = [] {
        QStringList names;
        for (const QCommandLineOption& option : Options().all())
            for (const QString& n : option.names())
                if (n != u"data"_s && n != u"year"_s)
                    names << n;
        return names;
    }();
    for (const QString& a : arguments) {
        if (a == u"-h"_s || a == u"-v"_s)
            return true;
        if (!a.startsWith(u"--"_s))
            continue;
        const QString name = a.mid(2).section(u'=', 0, 0);
        if (name == u"help"_s || name == u"version"_s || printing.contains(name))
            return true;
    }
    return false;
}

namespace {
// A file the PDF may take the place of: none yet, or an earlier PDF. A roster
// file named by mistake is never written over.
bool isPdfOrAbsent(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return true; // what is not a file is refused where the PDF is written
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return true; // told when the PDF cannot be written
    return info.size() == 0 || f.read(5) == QByteArrayLiteral("%PDF-");
}

// A print of hundreds of pages allocates and frees the same large buffers for
// every page (the page's drawing, its compressed stream). Memory freed is kept
// for the next page instead of being handed back to the system and asked for
// again; the process ends when the file is written.
void keepFreedMemoryForTheNextPage()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}
} // namespace

int run()
{
    keepFreedMemoryForTheNextPage();
    QCommandLineParser parser;
    parser.setApplicationDescription(u"なかま帳: 名簿の帳票を画面なしでPDFファイルかプリンタに印刷します。"_s);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    Options o;
    o.addTo(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(u"引数が正しくありません: "_s + parser.errorText());
    if (parser.isSet(help)) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(u"余分な引数があります: "_s + parser.positionalArguments().join(u' '));

    if (!parser.isSet(o.print))
        return fail(u"--print で印刷する帳票の番号を指定してください"_s);
    bool ok = false;
    const int nn = parser.value(o.year).toInt(&ok);
    if (!ok || nn <= 0)
        return fail(u"--year に名簿の年度の番号を指定してください"_s);
    const std::optional<PrintJobCode> job = printJobFromNumber(parser.value(o.print).toInt(&ok));
    if (!ok || !job || jobNumber(*job) > jobNumber(PrintJobCode::TestPage))
        return fail(u"--print の帳票番号が正しくありません: "_s + parser.value(o.print));
    if (parser.isSet(o.start) && *job != PrintJobCode::NameLabels)
        return fail(u"--start は 80（氏名印刷）のラベル用紙にだけ指定できます"_s);
    const QString pdf = parser.value(o.pdf);
    const QString queue = parser.value(o.printer);
    if (pdf.isEmpty() == queue.isEmpty())
        return fail(u"--pdf か --printer のどちらか一方を指定してください"_s);
    if (!pdf.isEmpty() && !isPdfOrAbsent(pdf))
        return fail(u"PDFファイルではないファイルには書き込みません: "_s + pdf);

    PrintRequest request = PrintRequest::forJob(*job);
    request.options.heading = parser.value(o.heading);
    const std::pair<const QCommandLineOption*, qint16*> numbers[] = {{&o.copies, &request.options.copies},
                                                                     {&o.startPage, &request.options.startPage},
                                                                     {&o.pagePrefix, &request.options.pagePrefix}};
    for (const auto& [option, field] : numbers) {
        if (!parser.isSet(*option))
            continue;
        const std::optional<qint16> v = sixteenBit(parser.value(*option));
        if (!v)
            return fail(u"--%1 は -32768 から 32767 までの数で指定してください"_s.arg(option->names().first()));
        *field = *v;
    }
    if (request.options.copies < 1)
        return fail(u"--copies は 1 以上の数で指定してください"_s);
    if (parser.isSet(o.pages)) {
        const auto range = pageRange(parser.value(o.pages));
        if (!range)
            return fail(u"--pages は 3-4、5、7- のように、小さい方のページから指定してください: "_s +
                        parser.value(o.pages));
        request.firstPage = range->first;
        request.lastPage = range->second;
    }

    StderrNotifier notifier;
    RosterStore store;
    const QString data = parser.isSet(o.data) ? parser.value(o.data) : QDir::currentPath();
    store.paths.dataFolder = QDir(data).absolutePath();
    readUserSettingsFile(tempFilePath(store.paths.dataFolder, u"NKMCHO.SEW"_s), store.profile);
    store.paths.setYear(nn);
    store.fiscalYear = qint16(nn);
    buildMunicipalityTable(store, nn);
    const bool anyFile = QFileInfo::exists(store.paths.schoolFile) || QFileInfo::exists(store.paths.staffFile);
    if (!anyFile && *job != PrintJobCode::TestPage)
        return fail(store.paths.dataFolder + u": "_s + fiscalYearCaption(nn) + u"の名簿がありません"_s);
    if (anyFile) {
        if (loadSchools(store, notifier) < 0 || loadStaff(store, notifier) < 0)
            return fail(u"名簿を読み込めないため印刷しません"_s);
    }
    store.reindexStaff();
    store.surveyDate = fiscalYearFirstDay(nn);
    calcAllAges(store);
    for (size_t i = 0; i < request.corrections.size(); ++i)
        request.corrections[i] = store.profile.printOffsets[i];

    // What the windows would hand the jobs that print a window's own data.
    QString error;
    SchoolNetwork school;
    OfficerNetwork officer;
    QImage picture;
    std::optional<name_labels::LabelLayout> labels;
    std::optional<name_labels::SheetPrint> labelSheetPrint;
    tally::DistrictTally district;
    switch (*job) {
    case PrintJobCode::SchoolNetwork:
        if (!readNetwork(parser.value(o.network), school, picture, &error))
            return fail(error);
        request.body = [&](PrintJobContext& c) { network_print::printSheet(c, school, picture); };
        break;
    case PrintJobCode::OfficerNetwork:
        if (!readNetwork(parser.value(o.network), officer, picture, &error))
            return fail(error);
        request.body = [&](PrintJobContext& c) { network_print::printSheet(c, officer, picture); };
        break;
    case PrintJobCode::NameLabels:
        if (!parser.isSet(o.layout))
            return fail(u"氏名印刷の登録名を --layout で指定してください"_s);
        labels = storedLayout(store.paths.dataFolder, parser.value(o.layout), &error);
        if (!labels || !markPosts(store, parser.value(o.codes), &error))
            return fail(error);
        if (name_labels::markedPosts(store).empty())
            return fail(u"印刷する職員がいません"_s);
        labelSheetPrint = labelSheet(store.paths.dataFolder,
                                     parser.isSet(o.sheet) ? parser.value(o.sheet) : name_labels::onePerPageName(),
                                     parser.value(o.start), &error);
        if (!labelSheetPrint)
            return fail(error);
        // Sheets of blank labels are refused; cut labels are printed, told.
        if (!labelSheetPrint->sheet.onePerPage()) {
            const name_labels::LabelFit fit = name_labels::labelFit(*labels, labelSheetPrint->sheet);
            if (fit == name_labels::LabelFit::Outside)
                return fail(name_labels::outsideLabelText());
            if (fit == name_labels::LabelFit::Cut)
                std::fprintf(stderr, "nakama-cho: %s\n",
                             qPrintable(u"ラベルからはみ出す項目があります。はみ出した部分は印刷されません"_s));
        }
        fitLabelItems(*labels, store);
        request.body = [&](PrintJobContext& c) { name_labels::printLabels(c, *labels, *labelSheetPrint); };
        break;
    case PrintJobCode::SurveyForms:
        if (parser.isSet(o.blank)) {
            request.job = PrintJobCode::BlankSurveyForm;
            request.body = [](PrintJobContext& c) { survey_form::printBlankForm(c); };
        } else if (std::none_of(store.schools.begin(), store.schools.end(), [](const SchoolRecord& s) {
                       return std::any_of(s.clerks.begin(), s.clerks.end(),
                                          [](const ClerkSlot& k) { return k.mark == 1; });
                   })) {
            // The forms are printed for the marked schools only.
            return fail(u"印刷する学校がありません（印の付いた学校がありません）"_s);
        }
        break;
    case PrintJobCode::Tallies: {
        const QString sheet = parser.isSet(o.sheet) ? parser.value(o.sheet) : u"summary"_s;
        if (sheet == u"summary"_s)
            break;
        tally::prepareAges(store);
        district = tally::computeDistrictTally(store, {});
        const std::pair<QString, StatisticsView> sheets[] = {
            {u"title-grade"_s, StatisticsView::TitleGrade}, {u"age"_s, StatisticsView::Age},
            {u"experience"_s, StatisticsView::Experience},  {u"graph1"_s, StatisticsView::Graph1},
            {u"graph2"_s, StatisticsView::Graph2},          {u"graph3"_s, StatisticsView::Graph3}};
        std::optional<StatisticsView> view;
        for (const auto& [name, value] : sheets)
            if (name == sheet)
                view = value;
        if (!view)
            return fail(u"--sheet の名前が正しくありません: "_s + sheet);
        request.job = PrintJobCode::TallySheet;
        request.body = [&district, view = *view](PrintJobContext& c) {
            if (isGraphView(view))
                graphs::printPage(c, view, district, true);
            else
                tally_sheets::printDistrictSheet(c, view, district);
        };
        break;
    }
    default: break;
    }

    PrintOutcome outcome = PrintOutcome::NoSuchJob;
    if (!queue.isEmpty()) {
        QRectF area;
        if (!printToPrinter(store, request, queue, &area, &outcome))
            return fail(outcome == PrintOutcome::NoSuchPages ? noSuchPagesText()
                                                             : u"プリンタ「%1」に印刷できませんでした"_s.arg(queue));
        std::printf("%s: 印刷範囲 %.2f %.2f %.2f %.2f mm\n", qPrintable(queue), area.left(), area.top(), area.width(),
                    area.height());
        return 0;
    }
    request.pdfPath = pdf;
    // The error names the file and the cause ("ディスクの空きが足りません: …").
    if (!printToPdf(store, request, &outcome, &error))
        return fail(outcome == PrintOutcome::NoSuchJob     ? nothingToPrintText()
                    : outcome == PrintOutcome::NoSuchPages ? noSuchPagesText()
                                                           : error);
    std::printf("%s\n", qPrintable(QFileInfo(pdf).absoluteFilePath()));
    return 0;
}

} // namespace print_command
