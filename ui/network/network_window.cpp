#include "network_window.h"

#include "app_context.h"
#include "network_files.h"
#include "network_print.h"
#include "print_runner.h"
#include "wait_cursor.h"
#include "widgets.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const QString kMime = u"application/x-nakama-network-place"_s;

QByteArray encode(const NetworkPlace& p)
{
    return QByteArray::number(int(p.kind)) + ',' + QByteArray::number(p.level) + ',' + QByteArray::number(p.index);
}

std::optional<NetworkPlace> decode(const QByteArray& bytes)
{
    const QList<QByteArray> parts = bytes.split(',');
    if (parts.size() != 3)
        return std::nullopt;
    NetworkPlace p;
    const int kind = parts[0].toInt();
    if (kind < 0 || kind > 2)
        return std::nullopt;
    p.kind = NetworkPlace::Kind(kind);
    p.level = std::clamp(parts[1].toInt(), 0, kNetworkLevels - 1);
    p.index = parts[2].toInt();
    return p;
}

void startDrag(QWidget* source, const NetworkPlace& place)
{
    auto* mime = new QMimeData;
    mime->setData(kMime, encode(place));
    auto* drag = new QDrag(source);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
}

// Screen geometry of the tree, in pixels.
constexpr int kBoxW = 112, kBoxH = 34, kColumn0 = 160, kColumnStep = 132, kRow0 = 8, kPitch = 42, kTrunkX = 146;
constexpr int kStub = 10;
const QColor kEmpty(204, 255, 128);

template <typename Node>
Node& nodeAt(ContactNetwork<Node>& n, const NetworkPlace& p)
{
    return p.kind == NetworkPlace::Top ? n.topNodes[size_t(p.index)] : n.grid[size_t(p.level)][size_t(p.index)];
}

template <typename Node>
const Node& nodeAt(const ContactNetwork<Node>& n, const NetworkPlace& p)
{
    return p.kind == NetworkPlace::Top ? n.topNodes[size_t(p.index)] : n.grid[size_t(p.level)][size_t(p.index)];
}

template <typename Node>
bool isFilled(const ContactNetwork<Node>& n, const NetworkPlace& p)
{
    if (p.kind == NetworkPlace::Top)
        return n.topNodes[size_t(p.index)].code() > 0;
    return n.grid[size_t(p.level)][size_t(p.index)].filled();
}

bool validPlace(const NetworkPlace& p)
{
    switch (p.kind) {
    case NetworkPlace::List: return true;
    case NetworkPlace::Top: return p.index == 0 || p.index == 1;
    case NetworkPlace::Grid:
        return p.level >= 0 && p.level < kNetworkLevels && p.index >= 0 && p.index < kNetworkChains;
    }
    return false;
}

// Moves what is dragged from `from` to `to`: a candidate into an empty box,
// a box into another empty box, a box back to the end of the candidates.
template <typename Node>
bool moveItem(ContactNetwork<Node>& n, std::vector<Node>& candidates, const NetworkPlace& from, const NetworkPlace& to)
{
    if (!validPlace(from) || !validPlace(to))
        return false;
    if (to.kind == NetworkPlace::List) {
        if (from.kind == NetworkPlace::List || !isFilled(n, from))
            return false;
        candidates.push_back(nodeAt(n, from));
        nodeAt(n, from) = Node{};
        return true;
    }
    if (isFilled(n, to))
        return false;
    if (from.kind == NetworkPlace::List) {
        if (from.index < 0 || size_t(from.index) >= candidates.size())
            return false;
        nodeAt(n, to) = candidates[size_t(from.index)];
        candidates.erase(candidates.begin() + from.index);
        return true;
    }
    if (from == to || !isFilled(n, from))
        return false;
    nodeAt(n, to) = nodeAt(n, from);
    nodeAt(n, from) = Node{};
    return true;
}

QStringList textOf(const NetworkNode& n)
{
    return {n.schoolName, n.tel};
}

QStringList textOf(const OfficerNetworkNode& n)
{
    return {n.schoolName, n.memberName};
}

QString listText(const NetworkNode& n)
{
    return n.schoolName;
}

QString listText(const OfficerNetworkNode& n)
{
    return n.memberName;
}
} // namespace

Connectors connectorsFor(const NetworkGridFlags& filled)
{
    Connectors v{};
    for (int a = kNetworkChains - 1; a >= 1; --a)
        for (int k = 1; k < kNetworkLevels; ++k) {
            const bool below = a < kNetworkChains - 1 && v[size_t(k)][size_t(a + 1)];
            v[size_t(k)][size_t(a)] = !filled[size_t(k - 1)][size_t(a)] && (filled[size_t(k)][size_t(a)] || below);
        }
    return v;
}

// --- 連絡網作成 ---------------------------------------------------------------

NetworkChooser::NetworkChooser(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"NET_SELF"_s);
    setWindowTitle(u"連絡網作成"_s);
    setWindowIcon(QApplication::windowIcon());
    m_new = new QRadioButton(u"新規作成"_s, this);
    m_new->setObjectName(u"Option1"_s);
    m_existing = new QRadioButton(u"既存ファイルの変更"_s, this);
    m_existing->setObjectName(u"Option2"_s);
    m_cancel = new QRadioButton(u"中止"_s, this);
    m_cancel->setObjectName(u"Option3"_s);
    m_new->setChecked(true);
    auto* ok = makeButton(u"Command1"_s, u"OK"_s, this);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_new, m_existing, m_cancel, ok})
        layout->addWidget(w);
    connect(ok, &QPushButton::clicked, this, &NetworkChooser::takeChoice);
}

void NetworkChooser::takeChoice()
{
    m_mode = m_new->isChecked() ? New : m_existing->isChecked() ? Existing : Cancel;
    accept();
}

// --- the tree -------------------------------------------------------------------

NetworkTree::NetworkTree(NetworkWindow& window) : QWidget(&window), m_window(window)
{
    setAcceptDrops(true);
    setMinimumSize(kColumn0 + kNetworkLevels * kColumnStep, kRow0 + kNetworkChains * kPitch + 4);
}

QRect NetworkTree::boxRect(const NetworkPlace& p) const
{
    if (p.kind == NetworkPlace::Top)
        return QRect(8, kRow0 + 3 * kPitch + (p.index == 0 ? -8 : 44), kBoxW, kBoxH);
    return QRect(kColumn0 + kColumnStep * p.level, kRow0 + kPitch * p.index, kBoxW, kBoxH);
}

std::optional<NetworkPlace> NetworkTree::placeAt(const QPoint& pos) const
{
    for (int t = 0; t < 2; ++t)
        if (boxRect({NetworkPlace::Top, 0, t}).contains(pos))
            return NetworkPlace{NetworkPlace::Top, 0, t};
    for (int level = 0; level < kNetworkLevels; ++level)
        for (int chain = 0; chain < kNetworkChains; ++chain)
            if (boxRect({NetworkPlace::Grid, level, chain}).contains(pos))
                return NetworkPlace{NetworkPlace::Grid, level, chain};
    return std::nullopt;
}

void NetworkTree::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    auto grid = [](int level, int chain) { return NetworkPlace{NetworkPlace::Grid, level, chain}; };
    // Empty boxes lie behind the lines, filled ones in front of them.
    for (int level = 0; level < kNetworkLevels; ++level)
        for (int chain = 0; chain < kNetworkChains; ++chain)
            if (!m_window.filled(grid(level, chain)))
                p.fillRect(boxRect(grid(level, chain)), kEmpty);
    p.setPen(QPen(Qt::black, 1));
    const QRect top0 = boxRect({NetworkPlace::Top, 0, 0});
    const QRect top1 = boxRect({NetworkPlace::Top, 0, 1});
    const int firstY = boxRect(grid(0, 0)).center().y();
    const int lastY = boxRect(grid(0, kNetworkChains - 1)).center().y();
    p.drawLine(top0.center().x(), top0.bottom(), top1.center().x(), top1.top());
    p.drawLine(top1.center().x(), top1.bottom(), top1.center().x(), top1.bottom() + 14);
    p.drawLine(top1.center().x(), top1.bottom() + 14, kTrunkX, top1.bottom() + 14);
    p.drawLine(kTrunkX, firstY, kTrunkX, lastY);
    const Connectors& v = m_window.connectors();
    for (int chain = 0; chain < kNetworkChains; ++chain) {
        const int y = boxRect(grid(0, chain)).center().y();
        p.drawLine(kTrunkX, y, kColumn0, y);
        for (int level = 1; level < kNetworkLevels; ++level) {
            const int x = boxRect(grid(level, chain)).left();
            if (m_window.filled(grid(level, chain)))
                p.drawLine(x - kStub, y, x, y);
            if (m_window.filled(grid(level - 1, chain)) && m_window.filled(grid(level, chain)))
                p.drawLine(x - kColumnStep + kBoxW, y, x - kStub, y);
            if (chain >= 1 && v[size_t(level)][size_t(chain)])
                p.drawLine(x - kStub, y, x - kStub, boxRect(grid(level, chain - 1)).center().y());
        }
    }
    auto drawBox = [&p, this](const NetworkPlace& place) {
        const QRect r = boxRect(place);
        if (!m_window.filled(place)) {
            if (place.kind == NetworkPlace::Top)
                p.fillRect(r, kEmpty);
            return;
        }
        p.fillRect(r, Qt::white);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        const QStringList lines = m_window.boxText(place);
        p.drawText(r.adjusted(3, 1, -2, -1), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines.join(u'\n'));
    };
    drawBox({NetworkPlace::Top, 0, 0});
    drawBox({NetworkPlace::Top, 0, 1});
    for (int level = 0; level < kNetworkLevels; ++level)
        for (int chain = 0; chain < kNetworkChains; ++chain)
            drawBox(grid(level, chain));
}

void NetworkTree::mousePressEvent(QMouseEvent* event)
{
    const auto place = placeAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && place && m_window.filled(*place))
        startDrag(this, *place);
}

void NetworkTree::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(kMime))
        event->acceptProposedAction();
}

void NetworkTree::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasFormat(kMime))
        event->acceptProposedAction();
}

void NetworkTree::dropEvent(QDropEvent* event)
{
    const auto from = decode(event->mimeData()->data(kMime));
    const auto to = placeAt(event->position().toPoint());
    if (!from)
        return;
    if (to)
        m_window.drop(*from, *to);
    else
        m_window.drop(*from, NetworkPlace{NetworkPlace::Grid, -1, -1}); // the background: nothing moves
    event->acceptProposedAction();
}

// --- 連絡網 -----------------------------------------------------------------------

NetworkWindow::NetworkWindow(AppContext& context, std::vector<OfficerEntry> officers, bool officerNetwork,
                             QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_officers(officerNetwork),
      m_officerInput(std::move(officers))
{
    setObjectName(officerNetwork ? u"NET_F2"_s : u"NET_F"_s);
    setWindowTitle(u"連絡網"_s);
    setWindowIcon(QApplication::windowIcon());

    m_tree = new NetworkTree(*this);
    QVBoxLayout* side = buildSide();
    auto* top = new QHBoxLayout;
    top->addLayout(side);
    top->addWidget(m_tree, 1);
    QHBoxLayout* bottom = buildBottomRow();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    refreshAll();
}

QVBoxLayout* NetworkWindow::buildSide()
{
    // The picture above the candidates still to be placed.
    m_list = new QListWidget(this);
    m_list->setObjectName(m_officers ? u"SM_LIST"_s : u"SC_LIST"_s);
    m_list->setMinimumWidth(180);
    m_list->viewport()->installEventFilter(this);
    m_list->viewport()->setAcceptDrops(true);
    m_image = new QLabel(this);
    m_image->setObjectName(u"IMG"_s);
    m_image->setFixedSize(90, 90);
    m_image->setFrameShape(QFrame::Box);
    m_image->setScaledContents(true);
    m_image->setPixmap(QApplication::windowIcon().pixmap(64));
    m_image->setToolTip(u"ダブルクリックで絵を選びます"_s);
    m_image->installEventFilter(this);
    auto* side = new QVBoxLayout;
    side->addWidget(m_image);
    side->addWidget(m_list, 1);
    return side;
}

QHBoxLayout* NetworkWindow::buildBottomRow()
{
    // The three remark lines, the last the sheet's title, then the buttons.
    auto* remarks = new QGridLayout;
    remarks->addWidget(new QLabel(u"備考"_s, this), 0, 0);
    for (int i = 0; i < 3; ++i) {
        m_remarks[size_t(i)] = makeEdit(u"NET_MSG(%1)"_s.arg(i), this);
        remarks->addWidget(m_remarks[size_t(i)], i, 1);
        connect(m_remarks[size_t(i)], &QLineEdit::textEdited, this,
                [this, i](const QString& text) { keepRemark(i, text); });
    }
    remarks->addWidget(new QLabel(u"（3行目は表題）"_s, this), 2, 2);
    auto* print = makeButton(u"B_PRT"_s, u"印刷"_s, this);
    auto* close = makeButton(u"B_ESC"_s, u"閉じる"_s, this);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(remarks, 1);
    bottom->addWidget(print);
    bottom->addWidget(close);
    connect(print, &QPushButton::clicked, this, &NetworkWindow::printNetwork);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    return bottom;
}

void NetworkWindow::keepRemark(int line, const QString& text)
{
    (m_officers ? m_officer.remarks : m_school.remarks)[size_t(line)] = text;
    m_remarksChanged = true;
}

int NetworkWindow::candidateCount() const
{
    return int(m_officers ? m_officerCandidates.size() : m_schoolCandidates.size());
}

bool NetworkWindow::filled(const NetworkPlace& place) const
{
    if (!validPlace(place) || place.kind == NetworkPlace::List)
        return false;
    return m_officers ? isFilled(m_officer, place) : isFilled(m_school, place);
}

QStringList NetworkWindow::boxText(const NetworkPlace& place) const
{
    if (!filled(place))
        return {};
    return m_officers ? textOf(nodeAt(m_officer, place)) : textOf(nodeAt(m_school, place));
}

bool NetworkWindow::start()
{
    m_activated = true;
    NetworkChooser::Mode mode;
    if (chooseMode) {
        mode = chooseMode();
    } else {
        NetworkChooser chooser(this);
        chooser.exec();
        mode = chooser.mode();
    }
    if (mode == NetworkChooser::Cancel)
        return false;
    const QString folder = m_context.store.paths.dataFolder;
    if (mode == NetworkChooser::Existing) {
        // Whatever the file gives, the window goes on with it.
        if (m_officers)
            contact_network::openNetworkFile(m_officer, folder);
        else
            contact_network::openNetworkFile(m_school, folder);
    }
    if (m_officers) {
        m_officerCandidates = contact_network::officerCandidates(m_officerInput);
        contact_network::refresh(m_officer, m_officerCandidates);
    } else {
        m_schoolCandidates = contact_network::schoolCandidates(m_context.store, m_context.session);
        contact_network::refresh(m_school, m_schoolCandidates);
    }
    const auto& remarks = m_officers ? m_officer.remarks : m_school.remarks;
    for (int i = 0; i < 3; ++i)
        m_remarks[size_t(i)]->setText(remarks[size_t(i)]);
    // The picture named in the file comes back when it can still be read.
    const QString picture = m_officers ? m_officer.pictureFile : m_school.pictureFile;
    if (!picture.isEmpty() && m_picture.load(picture))
        m_image->setPixmap(QPixmap::fromImage(m_picture));
    refreshAll();
    return true;
}

void NetworkWindow::showEvent(QShowEvent* event)
{
    RememberedDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        QTimer::singleShot(0, this, [this] {
            if (!start()) {
                m_closing = true;
                reject();
            }
        });
    }
}

void NetworkWindow::refreshList()
{
    m_list->clear();
    if (m_officers)
        for (const auto& c : m_officerCandidates)
            m_list->addItem(listText(c));
    else
        for (const auto& c : m_schoolCandidates)
            m_list->addItem(listText(c));
}

void NetworkWindow::refreshAll()
{
    NetworkGridFlags f{};
    for (int level = 0; level < kNetworkLevels; ++level)
        for (int chain = 0; chain < kNetworkChains; ++chain)
            f[size_t(level)][size_t(chain)] = filled({NetworkPlace::Grid, level, chain});
    m_connectors = connectorsFor(f);
    refreshList();
    m_tree->update();
}

bool NetworkWindow::drop(const NetworkPlace& from, const NetworkPlace& to)
{
    m_changed = true;
    const bool moved = m_officers ? moveItem(m_officer, m_officerCandidates, from, to)
                                  : moveItem(m_school, m_schoolCandidates, from, to);
    if (moved)
        refreshAll();
    return moved;
}

bool NetworkWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_image && event->type() == QEvent::MouseButtonDblClick) {
        changePicture();
        return true;
    }
    if (watched == m_list->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            if ((e->buttons() & Qt::LeftButton) && m_list->currentRow() >= 0) {
                startDrag(m_list, NetworkPlace{NetworkPlace::List, 0, m_list->currentRow()});
                return true;
            }
            break;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* e = static_cast<QDragMoveEvent*>(event);
            if (e->mimeData()->hasFormat(kMime))
                e->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            if (const auto from = decode(e->mimeData()->data(kMime)))
                drop(*from, NetworkPlace{NetworkPlace::List, 0, 0});
            e->acceptProposedAction();
            return true;
        }
        default: break;
        }
    }
    return RememberedDialog::eventFilter(watched, event);
}

void NetworkWindow::printNetwork()
{
    const bool gap =
        m_officers ? network_print::hasEmptyChainInBetween(m_officer) : network_print::hasEmptyChainInBetween(m_school);
    if (gap) {
        m_context.notifier.tell(u"データの無い行が途中に有ります"_s, MessageIcon::Warning);
        return;
    }
    if (!m_context.notifier.askYesNo(u"連絡網を印刷します"_s))
        return;
    WaitCursor wait;
    const PrintJobCode code = m_officers ? network_print::kOfficerNetworkJob : network_print::kSchoolNetworkJob;
    const PrintJob job = [this](PrintJobContext& c) {
        if (m_officers)
            network_print::printSheet(c, m_officer, m_picture);
        else
            network_print::printSheet(c, m_school, m_picture);
    };
    printWithDialogs(m_context, newPrintRequest(m_context.store, code, job), this);
}

void NetworkWindow::changePicture()
{
    static const QString filter = u"BMPファイル(*.BMP);;メタファイル(*.WMF);;JIFファイル(*.JIF);;JPGファイル(*.JPG);;"
                                  u"アイコンファイル(*.ICO);;カーソルファイル(*.CUR);;全ファイル(*.*)"_s;
    const QString path =
        choosePicture ? choosePicture() : QFileDialog::getOpenFileName(this, u"絵を選ぶ"_s, QString(), filter);
    QString& pictureFile = m_officers ? m_officer.pictureFile : m_school.pictureFile;
    QImage image;
    if (!path.isEmpty() && image.load(path)) {
        m_picture = image;
        pictureFile = path;
        m_image->setPixmap(QPixmap::fromImage(image));
        return;
    }
    if (!pictureFile.isEmpty() &&
        m_context.notifier.ask({u"連絡網の絵を無しにしますか？"_s, QString(), MessageIcon::Question,
                                MessageButtons::YesNo, QString()}) == MessageAnswer::Yes) {
        pictureFile.clear();
        m_picture = QImage();
        m_image->setPixmap(QApplication::windowIcon().pixmap(64));
    }
}

void NetworkWindow::done(int result)
{
    if (!m_closing && m_changed) {
        m_closing = true;
        if (m_context.notifier.ask({u"連絡網のデータを保存しますか？"_s, u"データ保存"_s, MessageIcon::Question,
                                    MessageButtons::YesNo, QString()}) == MessageAnswer::Yes) {
            const QString folder = m_context.store.paths.dataFolder;
            QString error;
            const int saved = m_officers ? contact_network::saveNetworkFile(m_officer, folder, &error)
                                         : contact_network::saveNetworkFile(m_school, folder, &error);
            // The network lives only in this window: unless it reached its
            // file, the window stays open so the user can try elsewhere.
            if (saved != 1) {
                if (saved < 0)
                    m_context.notifier.tell(u"連絡網を保存できませんでした"_s, MessageIcon::Critical,
                                            UserNotifier::appTitle(), error);
                m_closing = false;
                return;
            }
        }
    }
    m_closing = true;
    RememberedDialog::done(result);
}
