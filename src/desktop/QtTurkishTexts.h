#pragma once

class QCoreApplication;

// Qt's own texts (the buttons of its standard dialogs, the colour chooser,
// the right-click menu of every edit field) in Turkish, whatever language
// the system speaks: the program's users read only Turkish.
namespace QtTurkishTexts {

// Loads Qt's Turkish translations from Qt's translations folder, or from the
// "translations" folder beside the program where an installation carries its
// own. False when neither has them; Qt then speaks English.
bool install(QCoreApplication &application);

} // namespace QtTurkishTexts
