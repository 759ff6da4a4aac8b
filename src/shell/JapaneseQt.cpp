#include "shell/JapaneseQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstring>

namespace tarnbook::shell {

namespace {

// The file chooser's type column asks for strings the installed catalogue does not hold yet
// (they moved to a new context); these are their Japanese texts.
class CatalogueGaps : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* = nullptr,
                      int = -1) const override {
        if (!context || !source || std::strcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        static const struct {
            const char* source;
            const char* text;
        } gaps[] = {
            {"Folder", "フォルダ"}, {"File Folder", "ファイル フォルダ"},
            {"Drive", "ドライブ"},  {"File", "ファイル"},
            {"Unknown", "不明"},    {"%1 File", "%1 ファイル"},
        };
        for (const auto& g : gaps)
            if (std::strcmp(source, g.source) == 0) return QString::fromUtf8(g.text);
        return {};
    }
};

}  // namespace

bool installJapaneseQt(QCoreApplication& app) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // Numbers and dates in Qt's dialogs, and the preview engine's own pages, follow it.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QCoreApplication::installTranslator(new CatalogueGaps(&app));
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // Installed last, asked first; the gaps answer only what it leaves untranslated.
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace tarnbook::shell
