#pragma once

#include <QDialog>

class PrintDevice;
class RosterSession;
class RosterStore;

// 印刷 (PRT_MSGF): runs the job while the user may press 中止; ends the
// document, or aborts it when stopped, and closes itself.
class PrintProgressDialog : public QDialog {
    Q_OBJECT
public:
    PrintProgressDialog(PrintDevice& device, RosterStore& store, const RosterSession& session, int code,
                        QWidget* parent = nullptr);
    bool printed() const { return m_printed; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void run();
    PrintDevice& m_device;
    RosterStore& m_store;
    const RosterSession& m_session;
    int m_code;
    bool m_running = false;
    bool m_ran = false;
    bool m_printed = false;
};
