#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "base/AppLang.h"
#include "base/SystemLanguage.h"

namespace pq::app {

const char* qtTranslationLocale(unsigned systemLanguageId) {
  return TAppLang(static_cast<std::uint16_t>(systemLanguageId)).fGetLangType() == ltBig5 ? "zh_TW" : "zh_CN";
}

bool installQtTranslations(QCoreApplication& application) {
  const QString locale = QString::fromLatin1(qtTranslationLocale(systemDefaultLanguageId()));
  // qt_<locale> is the meta catalogue that loads qtbase_<locale> (and the other modules' catalogues)
  // from the same folder.
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qt_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace pq::app
