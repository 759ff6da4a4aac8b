#pragma once

class QCoreApplication;

namespace tarnbook::shell {

// Makes Qt's own texts Japanese: its translation catalogue (file and folder choosers, standard
// buttons, the context menus of text fields), the Japanese locale, and Qt's file dialogs
// instead of the desktop's, which would follow the desktop's language. Returns false when the
// catalogue is not installed; the window then still works, with Qt's texts in English.
bool installJapaneseQt(QCoreApplication& app);

}  // namespace tarnbook::shell
