#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

// Layout faults a screenshot would show: a control sticking out of the panel
// that holds it, a caption cut short.
namespace WidgetLayout {

inline QString describe(const QWidget *widget)
{
    const QString name = widget->objectName().isEmpty() ? QStringLiteral("(unnamed)") : widget->objectName();
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(widget->metaObject()->className()), name);
}

// The text a control shows as a caption, or nothing for a value field.
inline bool captionFits(const QWidget *widget, QString *caption)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        *caption = label->text();
        if (label->wordWrap())
            return label->heightForWidth(label->width()) <= label->height();
        return label->sizeHint().width() <= label->width();
    }
    if (const auto *box = qobject_cast<const QCheckBox *>(widget)) {
        *caption = box->text();
        return box->sizeHint().width() <= box->width();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        *caption = button->text();
        return button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width();
    }
    if (const auto *cell = qobject_cast<const QLineEdit *>(widget); cell && !cell->isEnabled()) {
        // A disabled cell is a caption: a frame and Qt's margin on each side.
        *caption = cell->text();
        return cell->fontMetrics().horizontalAdvance(cell->text()) + 2 * (1 + 2) <= cell->width();
    }
    return true;
}

// Looks at the children of container and, recursively, theirs. The widgets
// must have their final geometry: show the window first.
inline QStringList problems(const QWidget *container)
{
    QStringList found;
    const QList<QWidget *> children = container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *child : children) {
        if (child->isWindow() || child->isHidden())
            continue;
        if (!container->rect().contains(child->geometry()))
            found << QStringLiteral("%1 sticks out of %2").arg(describe(child), describe(container));
        QString caption;
        if (!captionFits(child, &caption))
            found << QStringLiteral("%1: \"%2\" does not fit").arg(describe(child), caption);
        found << problems(child);
    }
    return found;
}

} // namespace WidgetLayout
