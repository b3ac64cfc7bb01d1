#pragma once

#include <QDialog>

struct AppContext;
class QComboBox;
class QPushButton;

// 市町村名変更: renames a municipality after an absorption merger.
class CtvChgDialog : public QDialog {
    Q_OBJECT
public:
    explicit CtvChgDialog(AppContext& context, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void on_B_OK_clicked();

    AppContext& m_context;
    QComboBox* m_old;
    QComboBox* m_new;
    bool m_placed = false;
};
