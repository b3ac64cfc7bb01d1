#pragma once

#include "remembered_dialog.h"

struct AppContext;
class QComboBox;
class QPushButton;

// 市町村名変更: renames a municipality after an absorption merger.
class CtvChgDialog : public RememberedDialog {
    Q_OBJECT
public:
    explicit CtvChgDialog(AppContext& context, QWidget* parent = nullptr);

private:
    void renameChosenMunicipality(); // B_OK

    AppContext& m_context;
    QComboBox* m_old;
    QComboBox* m_new;
};
