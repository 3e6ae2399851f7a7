#include "desktop/MessageBoxes.h"

#include "desktop/FixedSizeDialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace MessageBoxes {

namespace {

Responder &responder()
{
    static Responder installed;
    return installed;
}

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Error:
    case Icon::Stop:
        return QMessageBox::Critical;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole role(Button button)
{
    switch (button) {
    case Button::Yes:
        return QMessageBox::YesRole;
    case Button::No:
        return QMessageBox::NoRole;
    case Button::Ok:
        return QMessageBox::AcceptRole;
    case Button::Cancel:
        return QMessageBox::RejectRole;
    case Button::Help:
        return QMessageBox::HelpRole;
    }
    return QMessageBox::ActionRole;
}

} // namespace

QString buttonText(Button button)
{
    switch (button) {
    case Button::Yes:
        return QStringLiteral("Evet");
    case Button::No:
        return QStringLiteral("Hayır");
    case Button::Ok:
        return QStringLiteral("TAMAM");
    case Button::Cancel:
        return QStringLiteral("İptal");
    case Button::Help:
        return QStringLiteral("Yardım");
    }
    return QString();
}

Button show(QWidget *parent, const Request &request)
{
    QList<Button> buttons = request.buttons;
    if (buttons.isEmpty())
        buttons = {Button::Ok};
    if (responder())
        return responder()(Request{request.caption, request.text, request.icon, buttons, request.defaultButton});

    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowFlags(FixedSizeDialog::flags());
    box.setWindowTitle(request.caption);
    box.setText(request.text);
    box.setIcon(qtIcon(request.icon));
    QList<QPair<QAbstractButton *, Button>> made;
    for (Button button : buttons)
        made.append({box.addButton(buttonText(button), role(button)), button});
    QAbstractButton *defaultButton = made.first().first;
    for (const auto &[widget, button] : made) {
        if (request.defaultButton && button == *request.defaultButton)
            defaultButton = widget;
    }
    box.setDefaultButton(static_cast<QPushButton *>(defaultButton));
    box.setEscapeButton(made.last().first);
    box.exec();
    for (const auto &[widget, button] : made) {
        if (box.clickedButton() == widget)
            return button;
    }
    return buttons.last();
}

bool askYesNo(QWidget *parent, const QString &caption, const QString &text, Icon icon)
{
    return show(parent, {caption, text, icon, {Button::Yes, Button::No}}) == Button::Yes;
}

bool askYesNoDefaultNo(QWidget *parent, const QString &caption, const QString &text, Icon icon)
{
    return show(parent, {caption, text, icon, {Button::Yes, Button::No}, Button::No}) == Button::Yes;
}

void warning(QWidget *parent, const QString &text)
{
    show(parent, {QStringLiteral("Dikkat !"), text, Icon::Warning, {Button::Ok}});
}

void information(QWidget *parent, const QString &caption, const QString &text)
{
    show(parent, {caption, text, Icon::Information, {Button::Ok}});
}

QString errorBoxText(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void showError(QWidget *parent, const QString &text)
{
    show(parent, {QStringLiteral("Mirvasel"), errorBoxText(text), Icon::Stop, {Button::Ok}});
}

ScopedOverride<Responder> overrideResponder(Responder replacement)
{
    return {responder(), std::move(replacement)};
}

} // namespace MessageBoxes
