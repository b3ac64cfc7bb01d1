// The staff editor in a real window, for the input-method test that types
// into it with a real input method (tests/system/input_method_test.sh).
// Reads commands from standard input, one a line:
//   focus NAME | focus FURI   gives that box the keyboard focus
//   show                       prints "S_NAME=<name>\tS_FURI=<reading>"
//   shot PATH                  keeps a picture of the window
//   quit
// and prints "ready" once the window is up with the focus in the name box.
#include "app_context.h"
#include "settings_store.h"
#include "staff_editor.h"
#include "user_notifier.h"

#include <QApplication>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

using namespace Qt::StringLiterals;

namespace {
class SilentNotifier : public UserNotifier {
public:
    MessageAnswer ask(const UserMessage& m) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(m.text));
        return MessageAnswer::No;
    }
};

void say(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir settingsFolder;
    SettingsStore settings(settingsFolder.path());
    WindowPositions positions(settings, u"NAKAMA-CHO"_s);
    RosterStore store;
    store.fiscalYear = 38;
    SilentNotifier notifier;
    AppContext context{store, notifier, positions};

    // A new record at the end of an empty roster, as 追加 opens it.
    StaffEditor editor(context, StaffEditor::EditM, 0);
    editor.show();
    editor.activateWindow();
    auto* name = editor.findChild<QLineEdit*>(u"S_NAME"_s);
    auto* reading = editor.findChild<QLineEdit*>(u"S_FURI"_s);
    if (!name || !reading)
        return 2;

    QTimer ready;
    ready.setInterval(50);
    QObject::connect(&ready, &QTimer::timeout, [&] {
        if (editor.isActiveWindow() && name->hasFocus()) {
            ready.stop();
            say(u"ready"_s);
        } else {
            editor.activateWindow();
            name->setFocus();
        }
    });
    ready.start();

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string raw;
        if (!std::getline(std::cin, raw)) {
            app.quit();
            return;
        }
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line == u"focus NAME"_s) {
            name->setFocus();
        } else if (line == u"focus FURI"_s) {
            reading->setFocus();
        } else if (line == u"show"_s) {
            say(u"S_NAME="_s + name->text() + u"\tS_FURI="_s + reading->text());
        } else if (line.startsWith(u"shot "_s)) {
            editor.grab().save(line.mid(5));
            say(u"shot"_s);
        } else if (line == u"quit"_s) {
            app.quit();
        }
    });
    return app.exec();
}
