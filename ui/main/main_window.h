#pragma once

#include "print_framework.h"

#include <QDate>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>

struct AppContext;
class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class SettingsStore;
class SuiteSession;
class QToolBar;

// The program's frame (MAIN_F): the year, the views, and the commands that
// act on the whole roster.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    enum View { NoView = 0, SchoolList = 1, StaffList = 2, Tallies = 3, OfficerList = 4 };
    using ViewFactory = std::function<QWidget*()>;

    MainWindow(AppContext& context, SuiteSession& suite, SettingsStore& settings, QWidget* parent = nullptr);
    ~MainWindow() override;

    static QIcon programIcon();

    // A view's window type. Until one is registered, its button opens nothing.
    void registerView(int view, ViewFactory factory);
    void showView(int view);
    int currentView() const { return m_view; }
    QWidget* viewWindow(int view) const;
    QMdiArea* mdiArea() const { return m_mdi; }

    // Runs once when the frame is first shown; tests may run it themselves.
    void setFirstActivationOnShow(bool on) { m_activateOnShow = on; }
    void firstActivation();
    // 名簿作成年度. True when a year was opened.
    bool openYear();

    // The year and survey date in the frame follow the roster.
    void refreshYearLabels();
    void setTransferCommandVisible(bool visible);
    void setExportEnabled(bool enabled);
    bool ended() const { return m_ended; }

    // Commands the frame's menus and buttons call: the frame fills in what it
    // can do itself, the program start wires in the windows and print jobs of
    // other folders, and tests put their own.
    // Prints a job with the dialogs its catalogue entry asks for.
    std::function<void(PrintJobCode job)> printView;
    std::function<void()> printSurveyForms;
    std::function<void()> readExchangeFiles;
    std::function<void()> writeExchangeFiles;
    std::function<void()> writePrefectureFile;
    std::function<void()> openTransfers;
    std::function<QDate()> clock = [] { return QDate::currentDate(); };
    // Asks for an exchange file name (true: to save); tests answer themselves.
    std::function<QString(bool save)> chooseExchangeFile;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The frame, built a menu and a bar at a time.
    void buildMenus();
    QMenu* addMenu(const QString& name, const QString& text);
    void buildFileMenu(QMenu* file);
    void buildButtonBar();
    void buildViewButtons(QToolBar* bar);
    void buildYearInfo(QToolBar* bar);
    QAction* addCommand(QMenu* menu, const QString& name, const QString& text, std::function<void()> command);
    void setMenuBarVisible(bool visible);
    void applyPrefectureLevel();
    bool askPassword();
    void endWithoutSaving();
    // The save question of quitting; false when the user wanted the roster
    // saved and it could not be.
    bool saveBeforeEnding();

    void openAnotherYear();        // F_F_OPEN
    bool askToSaveRoster();        // F_F_SAVE; false when a save the user asked for failed
    void saveRoster();             // B_SAVE
    void printFrontList();         // B_PRT
    void askToPrintSurveyForms();  // F_PRT_Y
    void choosePrinter();          // F_PRT_SET
    void editUserSettings();       // F_USER_SET
    void setPassword();            // F_SET_PASS
    void openMunicipalityRename(); // F_SET_CTV
    void showVersion();            // VER_OPEN
    void showHelp();               // m_help

    AppContext& m_context;
    SuiteSession& m_suite;
    SettingsStore& m_settings;
    QMdiArea* m_mdi;
    QWidget* m_buttonBar;
    QAction* m_buttonBarAction = nullptr;
    QLineEdit* m_yearCaption;
    QLabel* m_surveyDate;
    std::map<QString, QAction*> m_actions;
    std::map<QString, QPushButton*> m_buttons;
    std::map<int, ViewFactory> m_factories;
    std::map<int, QPointer<QMdiSubWindow>> m_open;
    int m_view = NoView;
    int m_initialView = NoView;
    QString m_knownPassword;
    bool m_activateOnShow = true;
    bool m_activated = false;
    bool m_ended = false;
    bool m_placed = false;
};
