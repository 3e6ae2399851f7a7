#pragma once

#include "base/WindowsColour.h"

#include <QtGlobal>

// The six colours of the main window that the user chooses, as Windows colour
// values. The defaults are those of a fresh start and of "Ayarları Sıfırla".
struct MainWindowColours
{
    qint32 gridAlternative = 14738665; // every second list row: red 233, green 228, blue 224
    qint32 gridSelect = WindowsColour::kBlack; // selected list row
    qint32 gridSelectText = WindowsColour::kLime; // text of the selected list row
    qint32 edits = WindowsColour::kWhite; // payee fields, search box, category selector, unselected tabs
    qint32 editsFont = WindowsColour::kBlack; // their text
    qint32 background = WindowsColour::kSilver; // the work area

    friend bool operator==(const MainWindowColours &, const MainWindowColours &) = default;
};
