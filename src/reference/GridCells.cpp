#include "reference/GridCells.h"

#include "base/SettingsTextValidator.h"
#include "controls/ChangedOnly.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>

namespace GridCells {

namespace {
const char *const kHeadingProperty = "gridHeading";
const char *const kHeaderProperty = "gridHeader";
} // namespace

QString styleSheet()
{
    // Disabled captions keep black text: grey on grey would not read.
    return QStringLiteral(
        "QLineEdit { border: 1px solid #808080; background: white; color: black; padding: 0px; }"
        "QLineEdit:disabled { background: #d4d0c8; color: black; }"
        "QLineEdit[gridHeading=\"true\"] { background: #d4d0c8; }"
        "QLabel[gridHeader=\"true\"] { border: 1px solid #808080; background: #ece9e4; color: black;"
        " padding: 0px 2px; }");
}

void showText(QLineEdit *cell, const QString &text)
{
    ChangedOnly::setText(cell, text);
    cell->setCursorPosition(0);
}

QLineEdit *valueCell(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *cell = new QLineEdit(parent);
    cell->setObjectName(name);
    cell->setGeometry(geometry);
    cell->setFocusPolicy(Qt::ClickFocus);
    // Every value cell is kept in the settings file.
    cell->setValidator(new SettingsTextValidator(cell));
    return cell;
}

QLineEdit *labelCell(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    QLineEdit *cell = valueCell(parent, name, geometry);
    showText(cell, text);
    cell->setEnabled(false);
    cell->setFocusPolicy(Qt::NoFocus);
    return cell;
}

QLineEdit *headingCell(QWidget *parent, const QString &name, const QRect &geometry)
{
    QLineEdit *cell = valueCell(parent, name, geometry);
    cell->setProperty(kHeadingProperty, true);
    return cell;
}

QLabel *headerBox(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *box = new QLabel(text, parent);
    box->setProperty(kHeaderProperty, true);
    box->setAlignment(Qt::AlignCenter);
    box->setWordWrap(true);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(9);
    box->setFont(font);
    box->setGeometry(geometry);
    return box;
}

} // namespace GridCells
