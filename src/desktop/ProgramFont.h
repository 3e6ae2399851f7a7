#pragma once

class QFont;

namespace ProgramFont {

// The program's own font: Liberation Sans (Arial's metrics) at 8.25 points,
// the size its window layouts are drawn for.
QFont font();
void applyToApplication();

} // namespace ProgramFont
