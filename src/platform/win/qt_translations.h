#pragma once
// Qt's own texts (message-box buttons, file, save and print dialogs,
// context menus) in the program's language, from Qt's translation files.
#include "platform/win/types.h"

namespace plat {

// The Qt locale name of a language id ("1031" -> "de", "1046" -> "pt_BR");
// empty for English and for a language the program does not offer.
const char* QtLocaleNameOf(LCID language);

// Installs Qt's translation of that language into the running application,
// in place of one installed before. False, and Qt's English, when there is
// none (English, or the translations are not installed).
bool InstallQtTranslations(LCID language);

}  // namespace plat
