#include "user_settings_dialog.h"

#include "app_context.h"
#include "text_width.h"
#include "up_down.h"
#include "widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

double offsetValue(const QString& text)
{
    return std::clamp(typedDecimal(text), -999.9, 999.9);
}

QString offsetText(double value)
{
    return QString::number(value, 'f', 1);
}

UserSettingsDialog::UserSettingsDialog(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context)
{
    setObjectName(u"USER_SET"_s);
    setWindowTitle(u"環境設定"_s);
    QGridLayout* top = buildAreaRows();
    QHBoxLayout* orders = buildOptionBoxes();
    QHBoxLayout* numbering = buildNumberingRow();
    buildCorrections();
    const OkCancelRow buttons = makeOkCancelRow(this, u"B_OK"_s, u"ＯＫ"_s, u"B_ESC"_s);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addLayout(orders);
    layout->addLayout(numbering);
    layout->addWidget(m_corrections);
    layout->addLayout(buttons.row);

    connect(buttons.ok, &QPushButton::clicked, this, &UserSettingsDialog::storeSettings);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QGridLayout* UserSettingsDialog::buildAreaRows()
{
    const UserProfile& profile = m_context.store.profile;
    m_areaLabel = new QLabel(u"地区名"_s, this);
    m_areaLabel->installEventFilter(this);
    m_area = new QLineEdit(profile.areaName, this);
    m_area->setObjectName(u"SC_NAME"_s);
    m_userId = new QLineEdit(profile.userId, this);
    m_userId->setObjectName(u"SC_CODE"_s);
    m_textCopy = makeCheck(u"CH_T"_s, u"ﾃｷｽﾄ保存"_s, this);
    m_textCopy->setChecked(m_context.store.saveMode == SaveMode::TextAndBinary);
    m_textCopy->setVisible(false);

    auto* top = new QGridLayout;
    top->addWidget(m_areaLabel, 0, 0);
    top->addWidget(m_area, 0, 1);
    top->addWidget(m_textCopy, 0, 2);
    top->addWidget(new QLabel(u"ユーザＩＤ"_s, this), 1, 0);
    top->addWidget(m_userId, 1, 1);
    return top;
}

QHBoxLayout* UserSettingsDialog::buildOptionBoxes()
{
    // Three frames, each its own pair of options: the school order twice,
    // then the age rule.
    struct Pair {
        QString title;
        QRadioButton*& first;
        QRadioButton*& second;
        QString firstName, firstText, secondName, secondText;
        qint16 secondFlag; // the option flag the second choice stands for
    };
    const Pair pairs[] = {
        {u"学校 並び替え"_s, m_byCode, m_byNumber, u"OPT_S1"_s, u"学校コード使用"_s, u"OPT_S2"_s, u"学校番号使用"_s,
         OptionFlag::OrderBySchoolNumber},
        {u"学校 並び替え"_s, m_kindFirst, m_municipalityFirst, u"OPT_S3"_s, u"学校種優先"_s, u"OPT_S4"_s,
         u"市町村名優先"_s, OptionFlag::MunicipalityFirst},
        {u"年齢計算"_s, m_ageBeforeBirthday, m_ageOnBirthday, u"AGE1"_s, u"誕生日前日に年齢加算"_s, u"AGE2"_s,
         u"誕生日に年齢加算"_s, OptionFlag::AgeOnBirthday},
    };
    const qint16 flags = m_context.store.profile.optionFlags;
    auto* orders = new QHBoxLayout;
    for (const Pair& pair : pairs) {
        auto* box = new QGroupBox(pair.title, this);
        pair.first = makeRadio(pair.firstName, pair.firstText, box);
        pair.second = makeRadio(pair.secondName, pair.secondText, box);
        auto* column = new QVBoxLayout(box);
        column->addWidget(pair.first);
        column->addWidget(pair.second);
        orders->addWidget(box);
    }
    for (const Pair& pair : pairs)
        (flags & pair.secondFlag ? pair.second : pair.first)->setChecked(true);
    return orders;
}

QHBoxLayout* UserSettingsDialog::buildNumberingRow()
{
    m_numberLabel = new QLabel(u"印刷番号"_s, this);
    m_numberLabel->setObjectName(u"Label_NO"_s);
    m_numberLabel->installEventFilter(this);
    m_numberSchools = makeCheck(u"CHK1"_s, u"同一校の時無し"_s, this);
    m_numberSchools->setChecked(m_context.store.profile.optionFlags & OptionFlag::NumberSchools);
    auto* numbering = new QHBoxLayout;
    numbering->addWidget(m_numberLabel);
    numbering->addWidget(m_numberSchools);
    numbering->addStretch();
    return numbering;
}

void UserSettingsDialog::buildCorrections()
{
    // 印刷位置補正: shown in the taller form of the dialog.
    const UserProfile& profile = m_context.store.profile;
    m_corrections = new QGroupBox(u"印刷位置補正"_s, this);
    auto* grid = new QGridLayout(m_corrections);
    const QStringList names{u"V_X"_s, u"V_Y"_s, u"H_X"_s, u"H_Y"_s};
    const QStringList spins{u"GX_B"_s, u"GY_B"_s, u"HX_B"_s, u"HY_B"_s};
    grid->addWidget(new QLabel(u"縦印刷"_s, m_corrections), 1, 0);
    grid->addWidget(new QLabel(u"横印刷"_s, m_corrections), 2, 0);
    grid->addWidget(new QLabel(u"右方向"_s, m_corrections), 0, 1, 1, 2);
    grid->addWidget(new QLabel(u"下方向"_s, m_corrections), 0, 3, 1, 2);
    grid->addWidget(new QLabel(u"ﾐﾘﾒｰﾄﾙ"_s, m_corrections), 1, 5);
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(offsetText(profile.printOffsets[size_t(i)]), m_corrections);
        box->setObjectName(names[i]);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(64);
        box->installEventFilter(this);
        auto* spin = new UpDown(m_corrections);
        spin->setObjectName(spins[i]);
        m_offsets[i] = box;
        connect(spin, &UpDown::up, this, [box] { box->setText(offsetText(offsetValue(box->text()) + 0.1)); });
        connect(spin, &UpDown::down, this, [box] { box->setText(offsetText(offsetValue(box->text()) - 0.1)); });
        connect(box, &QLineEdit::editingFinished, this, [box] { box->setText(offsetText(offsetValue(box->text()))); });
        grid->addWidget(box, 1 + i / 2, 1 + 2 * (i % 2));
        grid->addWidget(spin, 1 + i / 2, 2 + 2 * (i % 2));
    }
    m_corrections->setVisible(false);
}

bool UserSettingsDialog::correctionsShown() const
{
    return !m_corrections->isHidden();
}

void UserSettingsDialog::toggleCorrections()
{
    m_corrections->setVisible(m_corrections->isHidden());
}

bool UserSettingsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_numberLabel && event->type() == QEvent::MouseButtonDblClick) {
        toggleCorrections();
        return true;
    }
    if (watched == m_areaLabel && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && (mouse->modifiers() & Qt::ControlModifier))
            m_textCopy->setVisible(true);
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (int i = 0; i < 4; ++i) {
            if (watched == m_offsets[i] && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                m_offsets[(i + 1) % 4]->setFocus();
                return true;
            }
        }
    }
    return RememberedDialog::eventFilter(watched, event);
}

void UserSettingsDialog::storeSettings()
{
    UserProfile& p = m_context.store.profile;
    p.areaName = m_area->text().trimmed();
    p.userId = m_userId->text();
    qint16 flags = 0;
    if (m_ageOnBirthday->isChecked())
        flags |= OptionFlag::AgeOnBirthday;
    if (m_byNumber->isChecked())
        flags |= OptionFlag::OrderBySchoolNumber;
    if (m_municipalityFirst->isChecked())
        flags |= OptionFlag::MunicipalityFirst;
    if (m_numberSchools->isChecked())
        flags |= OptionFlag::NumberSchools;
    p.optionFlags = flags;
    for (int i = 0; i < 4; ++i)
        p.printOffsets[size_t(i)] = float(offsetValue(m_offsets[i]->text()));
    accept();
}

void UserSettingsDialog::done(int result)
{
    m_context.store.saveMode = m_textCopy->isChecked() ? SaveMode::TextAndBinary : SaveMode::Binary;
    RememberedDialog::done(result);
}
