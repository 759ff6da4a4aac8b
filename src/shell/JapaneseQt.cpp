#include "shell/JapaneseQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tarnbook::shell {

bool installJapaneseQt(QCoreApplication& app) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // Numbers and dates in Qt's dialogs, and the preview engine's own pages, follow it.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace tarnbook::shell
