#pragma once

class QCoreApplication;

// Qt's own texts (the buttons of the print, page set-up, preview and file
// dialogs, a message box's 詳細を表示...) in Japanese, whatever the session's
// locale: the program's users read Japanese, and a desktop started with
// LANG=C must not show them English. Loads Debian's qtbase translation from
// Qt's translations folder and makes Japanese the default locale (dates and
// sizes in the file dialog). False when the translation is not installed;
// the program then runs with Qt's English texts.
bool installQtTranslations(QCoreApplication& app);
