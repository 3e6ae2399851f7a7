#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn in code so that they stay sharp at any scale
// and need no image files.
namespace ToolIcons {

enum class Picture { New, Delete, Edit, Save, Backup, Repair, Settings, Help, Exit, About, Orders };

QIcon icon(Picture picture);

// The application's own icon: a receipt with the lira sign.
QIcon applicationIcon();

// The about box picture, 104 × 180.
QPixmap aboutPicture();

} // namespace ToolIcons
