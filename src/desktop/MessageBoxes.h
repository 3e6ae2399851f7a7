#pragma once

#include "base/ScopedOverride.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Every message box of the program goes through here, so that the boxes look
// the same everywhere (Turkish captions and buttons) and tests can answer them.
namespace MessageBoxes {

enum class Icon { None, Warning, Error, Information, Question, Stop };
enum class Button { Yes, No, Ok, Cancel, Help };

struct Request {
    QString caption;
    QString text;
    Icon icon = Icon::None;
    QList<Button> buttons;
    // The button Enter presses; the first one offered when none is named.
    std::optional<Button> defaultButton = std::nullopt;
};

// "Evet", "Hayır", "TAMAM", "İptal", "Yardım".
QString buttonText(Button button);

// Shows the box modally over parent and returns the button pressed. Closing
// the box with its close box or Esc answers the last button offered ("Hayır",
// "İptal" or "TAMAM").
Button show(QWidget *parent, const Request &request);

// Yes/No question; true on "Evet".
bool askYesNo(QWidget *parent, const QString &caption, const QString &text, Icon icon);
// The same question with "Hayır" as the default: for a step that is hard to
// take back, Enter and Esc both say no.
bool askYesNoDefaultNo(QWidget *parent, const QString &caption, const QString &text, Icon icon);

void warning(QWidget *parent, const QString &text); // "Dikkat !", one "TAMAM"
void information(QWidget *parent, const QString &caption, const QString &text);

// The standard error box for an error a command does not handle: stop icon,
// "TAMAM", titled "Mirvasel"; a full stop is appended when the text's last
// character comes after "." in character-code order.
void showError(QWidget *parent, const QString &text);
QString errorBoxText(const QString &text);

// Tests install a responder that sees each request and gives the answer;
// nothing is shown while one is installed.
using Responder = std::function<Button(const Request &)>;
[[nodiscard]] ScopedOverride<Responder> overrideResponder(Responder responder);

} // namespace MessageBoxes
