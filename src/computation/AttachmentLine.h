#pragma once

#include "base/PaymentCategory.h"

#include <QString>

// One attachment line of a worksheet ("E K L E R"): a count and a
// description, each kept in the settings file under its own key number.
struct AttachmentLine
{
    PaymentCategory category;
    int line; // 1..6 within the category
    QString countField; // SpinEdit<n>
    QString descriptionField;
    QString defaultDescription;
    int countKey; // "Rakam<countKey>"
    int descriptionKey; // "Yazi<descriptionKey>"
};
