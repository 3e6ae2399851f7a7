#include "desktop/HelpButton.h"

#include "desktop/HintText.h"
#include "desktop/ToolIcons.h"

#include <QToolButton>

namespace HelpButton {

QToolButton *create(QWidget *parent, const QRect &geometry, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("SpeedButton1"));
    button->setAutoRaise(true);
    button->setIcon(ToolIcons::icon(ToolIcons::Picture::Help));
    button->setIconSize(QSize(18, 18));
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    HintText::apply(button, hint);
    return button;
}

} // namespace HelpButton
