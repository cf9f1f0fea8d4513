#pragma once

#include <QString>

// The user's language: our Qt Linguist catalogue from <qpeDir>/translations and Qt's own
// (for the standard buttons and dialogs) installed on the running application.
namespace Translations {

// Where the program's catalogues live: <qpeDir>/translations/quavrix_<lang>.qm.
QString folder();

// Installs the catalogues for QUAVRIX_LANG when it is set (tests, screenshots), else for the
// system's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG). Returns the catalogue's language
// ("de", "pt_BR"), or "en" when none ships for that language: the texts stay English and
// Qt's own catalogue is left out too, so a dialog never mixes two languages. A second call
// replaces what the first installed. Needs a QCoreApplication.
QString install();

} // namespace Translations
