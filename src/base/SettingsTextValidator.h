#pragma once

#include <QStringView>
#include <QValidator>

// Keeps out of a field the characters that the settings file cannot hold:
// those outside the Windows Turkish code page, and line breaks. A keystroke or
// a paste that would bring one in is refused whole, the way a field refuses a
// key it cannot take, so that the text stays storable and every save of the
// file goes through. Texts set by the program itself are not checked.
class SettingsTextValidator : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;

    static bool isStorable(QStringView text);
};
