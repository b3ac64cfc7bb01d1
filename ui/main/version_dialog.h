#pragma once

#include "remembered_dialog.h"

class QLabel;
class SuiteSession;

// バージョン情報. The taller form also says where the program and its data are.
class VersionDialog : public RememberedDialog {
    Q_OBJECT
public:
    VersionDialog(WindowPositions& positions, SuiteSession& suite, QWidget* parent = nullptr);
    bool isTall() const;
    static QString versionText(int major, int minor, int revision);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SuiteSession& m_suite;
    QLabel* m_version;
    QLabel* m_lower;
    QLabel* m_folders;
};

// ﾄﾋﾟｯｸの検索: a short guide to the program.
class HelpDialog : public QDialog {
    Q_OBJECT
public:
    HelpDialog(const QString& dataFolder, QWidget* parent = nullptr);
};
