#include "version_dialog.h"

#include "startup.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QString VersionDialog::versionText(int major, int minor, int revision)
{
    return u"Version "_s + QString::number(major / 100.0, 'f', 2) + u"   "_s + QString::number(major) + u'.' +
           QString::number(minor) + u'.' + QString::number(revision);
}

VersionDialog::VersionDialog(WindowPositions& positions, SuiteSession& suite, QWidget* parent)
    : RememberedDialog(positions, parent), m_suite(suite)
{
    setObjectName(u"VER_FORM"_s);
    setWindowTitle(u"バージョン情報"_s);
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().isNull()
                        ? style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(48, 48)
                        : QApplication::windowIcon().pixmap(48, 48));
    auto* title = new QLabel(u"なかま帳"_s, this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    m_version = new QLabel(versionText(suite.version.major, suite.version.minor, suite.version.revision), this);
    m_version->setObjectName(u"Label_VER"_s);
    m_version->installEventFilter(this);
    m_lower = new QLabel(u"学校事務職員 名簿管理プログラム"_s, this);
    m_lower->setObjectName(u"Label_LOW"_s);
    m_lower->installEventFilter(this);
    m_folders = new QLabel(u"プログラム: %1\nデータ: %2"_s.arg(suite.programFolder(), suite.dataFolder()), this);
    m_folders->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folders->setVisible(false);
    auto* ok = new QPushButton(u"OK"_s, this);
    ok->setObjectName(u"OK"_s);
    ok->setDefault(true);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(m_version);
    text->addWidget(m_lower);
    auto* head = new QHBoxLayout;
    head->addWidget(icon, 0, Qt::AlignTop);
    head->addLayout(text, 1);
    head->addWidget(ok, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(head);
    layout->addWidget(m_folders);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool VersionDialog::isTall() const
{
    return !m_folders->isHidden();
}

bool VersionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_version && event->type() == QEvent::MouseButtonDblClick) {
        m_folders->setVisible(m_folders->isHidden());
        return true;
    }
    if (watched == m_lower && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && (mouse->modifiers() & Qt::ControlModifier))
            m_suite.deleteProgramSettings();
    }
    return RememberedDialog::eventFilter(watched, event);
}

HelpDialog::HelpDialog(const QString& dataFolder, QWidget* parent) : QDialog(parent)
{
    setObjectName(u"HELP_F"_s);
    setWindowTitle(u"なかま帳 ヘルプ"_s);
    auto* text = new QTextBrowser(this);
    text->setObjectName(u"HELP_TEXT"_s);
    text->setHtml(uR"(<h3>なかま帳の使い方</h3>
<p>年度ごとに、学校と学校事務職員の名簿を管理します。起動すると「名簿作成年度」で年度と最初に開く画面を選びます。</p>
<ul>
<li><b>学校ﾘｽﾄ</b>：学校と事務職員の配置を一覧し、抽出・追加・編集・削除・印刷をします。</li>
<li><b>職員ﾘｽﾄ</b>：職員を並べ替えて一覧し、個人データの編集、年齢・経験・在籍年数の表示、点検をします。</li>
<li><b>集計</b>：職名・級・年齢・経験年数・地区ごとの集計表とグラフを表示し、印刷します。</li>
<li><b>県役員</b>：県の事務研究会の役員名簿（地区名に「瑠璃県」を含む利用者のみ）。</li>
</ul>
<p><b>保存</b>ボタンは確認なしで保存します。終了するとき、変更があれば保存するかどうかを尋ねます。
保存は一時ファイルに書いてから置き換えるので、失敗しても前の名簿は残ります。</p>
<p><b>ファイル読込・ファイル作成</b>：他の地区と名簿をやり取りする交換ファイル（*.NK1、*.NK2）を読み書きします。</p>
<p><b>環境設定</b>：地区名・ユーザＩＤ・学校の並び順・年齢の数え方を設定します。</p>
<h4>データの置き場所</h4>
<p>%1</p>
<ul>
<li>職員ファイル：NNMEIBO.NKD（NN は平成の年数。令和8年度は38）</li>
<li>学校ファイル：NNSCHOOL.NSD、市町村表：NNCTV.NKD</li>
<li>利用者の設定：NKMCHO.SEW、点検の記録：NKMCHO.ERR</li>
</ul>)"_s.arg(dataFolder.toHtmlEscaped()));
    auto* ok = new QPushButton(u"閉じる"_s, this);
    ok->setObjectName(u"OK"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(ok, 0, Qt::AlignRight);
    resize(560, 460);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
