#include "print_progress_dialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

PrintProgressDialog::PrintProgressDialog(PrintDevice& device, RosterStore& store, const PrintRequest& request,
                                         QWidget* parent)
    : QDialog(parent),
      m_device(device),
      m_store(store),
      m_request(request)
{
    setObjectName(u"PRT_MSGF"_s);
    setWindowTitle(u"印刷"_s);
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    setModal(true);
    auto* label = new QLabel(u"印刷処理中です"_s, this);
    label->setObjectName(u"Label1"_s);
    auto* stop = new QPushButton(u"中止"_s, this);
    stop->setObjectName(u"B_STOP"_s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(stop);
    layout->addLayout(row);
    connect(stop, &QPushButton::clicked, this, [this] { m_stopAsked = true; });
}

void PrintProgressDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_ran) {
        m_ran = true;
        QTimer::singleShot(0, this, &PrintProgressDialog::run);
    }
}

void PrintProgressDialog::run()
{
    m_running = true;
    m_stopAsked = false;
    runPrintJob(m_device, m_store, m_request, this, &m_outcome);
    m_running = false;
    accept();
}

void PrintProgressDialog::reject()
{
    // Esc or the close box while printing means 中止.
    if (m_running) {
        m_stopAsked = true;
        return;
    }
    QDialog::reject();
}

bool PrintProgressDialog::stopRequested()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return m_stopAsked;
}
