#pragma once

#include <QString>

class QAction;
class QWidget;

// A hint has a short part for the tool tip and a long part for the status bar,
// separated by "|"; a hint without "|" serves as both.
namespace HintText {

QString shortPart(const QString &hint);
QString longPart(const QString &hint);

// Tool tip from the short part, status tip from the long part.
void apply(QWidget *widget, const QString &hint);

// Menu items have no short part: the whole hint goes to the status bar.
void applyToMenuItem(QAction *action, const QString &hint);

} // namespace HintText
