#include "platform/win/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace plat {

const char* QtLocaleNameOf(LCID language) {
  switch (language & 0xFFFF) {
    case 1031: return "de";
    case 3082: return "es";
    case 1036: return "fr";
    case 1040: return "it";
    case 1046: return "pt_BR";
    case 1055: return "tr";
    default: return "";
  }
}

bool InstallQtTranslations(LCID language) {
  static std::unique_ptr<QTranslator> installed;
  if (installed) {
    QCoreApplication::removeTranslator(installed.get());
    installed.reset();
  }
  const QString name = QString::fromLatin1(QtLocaleNameOf(language));
  if (name.isEmpty() || !QCoreApplication::instance()) return false;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_") + name, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return false;
  QCoreApplication::installTranslator(translator.get());
  installed = std::move(translator);
  return true;
}

}  // namespace plat
