#pragma once

#include "app/MainWindowColours.h"

class QWidget;

// The "Edits" and "EditsFont" colours on one field of the main window: its
// face and its text. A colour value the field cannot show leaves that part
// as it is.
namespace FieldColours {

void apply(QWidget *field, const MainWindowColours &colours);

} // namespace FieldColours
