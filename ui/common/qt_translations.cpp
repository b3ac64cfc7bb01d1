#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {
// Debian's Japanese file for Qt's own texts predates a few captions of the
// print dialog's options part and the printer properties; without these the
// clerk meets them in English.
class PrintDialogTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (!context || !sourceText || qstrncmp(context, "QPrint", 6) != 0)
            return {};
        static const std::pair<const char*, const char*> texts[] = {
            {"Pages", "ページ指定"},           {"Double Sided Printing", "両面印刷"},
            {"Off", "しない"},                 {"Long side binding", "長辺綴じ"},
            {"Short side binding", "短辺綴じ"}, {"Advanced", "詳細設定"},
        };
        for (const auto& [english, japanese] : texts)
            if (qstrcmp(sourceText, english) == 0)
                return QString::fromUtf8(japanese);
        return {};
    }
};
} // namespace

bool installQtTranslations(QCoreApplication& app)
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    auto* translator = new QTranslator(&app);
    if (!translator->load(japanese, u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // Installed after Qt's own file, so it is asked first.
    return QCoreApplication::installTranslator(translator) &&
           QCoreApplication::installTranslator(new PrintDialogTexts(&app));
}
