#include "controls/CaptionBand.h"

#include <QLabel>

namespace CaptionBand {

QLabel *create(const QString &caption, QWidget *parent)
{
    auto *band = new QLabel(caption, parent);
    band->setAutoFillBackground(true);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    palette.setColor(QPalette::WindowText, Qt::white);
    band->setPalette(palette);
    QFont font = band->font();
    font.setBold(true);
    band->setFont(font);
    band->setIndent(6);
    return band;
}

} // namespace CaptionBand
