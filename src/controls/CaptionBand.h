#pragma once

#include <QString>

class QLabel;
class QWidget;

// A grey band with a white bold caption, as over the parts of the private
// category's panel.
namespace CaptionBand {

QLabel *create(const QString &caption, QWidget *parent);

} // namespace CaptionBand
