#pragma once

#include "remembered_dialog.h"

#include <functional>

struct AppContext;
class QLineEdit;

// 読込地域: the area whose pair is being read, typed by the user.
class AreaCheckDialog : public RememberedDialog {
    Q_OBJECT
public:
    explicit AreaCheckDialog(AppContext& context, QWidget* parent = nullptr);
    QString typedArea() const { return m_typed; }

private:
    void takeTypedArea(); // B_OK

    QLineEdit* m_text;
    QString m_typed;
};

// ファイル作成, ファイル瑠璃 and ファイル読込. `choose` asks for a file name
// (true: to save) and returns "" when the user cancels.
using FileChooser = std::function<QString(bool save)>;
FileChooser exchangeFileDialog(AppContext& context, QWidget* parent);
void exportExchangePair(AppContext& context, const FileChooser& choose);
void exportPrefectureSchools(AppContext& context);
// True when the roster changed.
bool importExchangePair(AppContext& context, const FileChooser& choose, QWidget* parent);
