#pragma once

class QCoreApplication;

namespace pq::app {

// Qt's own texts (file, print and print preview dialogs, message-box buttons, context menus) in
// the program's language: Traditional Chinese where the system language is a Traditional one, as
// the serial library decides (TAppLang), Simplified Chinese otherwise. The program's own texts are
// Chinese already. Returns false when Qt's translations are not installed; Qt then stays English.
bool installQtTranslations(QCoreApplication& application);

// The locale name of the catalogue for a Windows language identifier: "zh_TW" or "zh_CN".
const char* qtTranslationLocale(unsigned systemLanguageId);

}  // namespace pq::app
