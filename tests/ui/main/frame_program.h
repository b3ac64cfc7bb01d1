#pragma once

// One start of the program on its own folders, its frame shown but not yet
// activated: the tests of the frame run the first activation themselves.

#include "app_context.h"
#include "fake_platform.h"
#include "main_window.h"
#include "startup.h"
#include "test_env.h"

#include <QAction>
#include <QDir>
#include <memory>

struct FrameProgram {
    QString program, data;
    SettingsStore& settings;
    FakePlatform platform;
    RecordingNotifier notifier;
    RosterStore store;
    SuiteSession suite;
    WindowPositions positions;
    AppContext context{store, notifier, positions};
    std::unique_ptr<MainWindow> frame;

    FrameProgram(const QString& root, SettingsStore& s, const QDate& today = QDate(2026, 12, 9))
        : program(root + QStringLiteral("/prog")),
          data(root + QStringLiteral("/data")),
          settings(s),
          suite(settings, platform, notifier, store.profile, loadSuiteConfig(QString()), program, data, {}),
          positions(settings, QStringLiteral("NAKAMA-CHO"))
    {
        QDir().mkpath(program);
        QDir().mkpath(data);
        store.paths.dataFolder = data;
        frame = std::make_unique<MainWindow>(context, suite, settings);
        frame->clock = [today] { return today; };
        frame->setFirstActivationOnShow(false);
        frame->show();
    }
    QAction* action(const QString& name) { return frame->findChild<QAction*>(name); }
};
