#pragma once

class QCoreApplication;

// Qt's own texts (the buttons of its standard dialogs, the colour chooser,
// the right-click menu of every edit field) in Turkish, whatever language
// the system speaks: the program's users read only Turkish.
namespace QtTurkishTexts {

// Makes Turkish (Turkey) the default locale, so that what Qt's widgets show
// by the default locale (the margins of the page set-up, a spin box, a
// calendar) reads "1.234,5" and Turkish month names on any system. Nothing
// the program writes into a file formats through the default locale: the
// settings file, the CSV export and the register write their own forms.
// Then loads Qt's Turkish translations from Qt's translations folder, or
// from the "translations" folder beside the program where an installation
// carries its own. False when neither has them; Qt then speaks English.
bool install(QCoreApplication &application);

} // namespace QtTurkishTexts
