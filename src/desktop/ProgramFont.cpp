#include "desktop/ProgramFont.h"

#include <QApplication>
#include <QFont>

namespace ProgramFont {

QFont font()
{
    QFont result(QStringLiteral("Liberation Sans"));
    result.setPointSizeF(8.25);
    return result;
}

void applyToApplication()
{
    // Where Liberation Sans is not installed (Windows), Arial is the same face.
    QFont::insertSubstitution(QStringLiteral("Liberation Sans"), QStringLiteral("Arial"));
    QApplication::setFont(font());
}

} // namespace ProgramFont
