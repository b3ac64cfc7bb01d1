#pragma once

#include "print_framework.h"

#include <QDialog>

class PrintDevice;
class RosterStore;

// 印刷 (PRT_MSGF): runs the job while the user may press 中止; ends the
// document, or aborts it when stopped, and closes itself.
class PrintProgressDialog : public QDialog, public PrintProgress {
    Q_OBJECT
public:
    PrintProgressDialog(PrintDevice& device, RosterStore& store, const PrintRequest& request,
                        QWidget* parent = nullptr);
    bool printed() const { return m_outcome == PrintOutcome::Printed; }
    PrintOutcome outcome() const { return m_outcome; }
    // Lets pending input (a click on 中止) through and says whether it asked to stop.
    bool stopRequested() override;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void run();
    PrintDevice& m_device;
    RosterStore& m_store;
    const PrintRequest& m_request;
    bool m_running = false;
    bool m_ran = false;
    bool m_stopAsked = false;
    PrintOutcome m_outcome = PrintOutcome::NoSuchJob;
};
