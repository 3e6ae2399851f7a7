#pragma once

#include "base/PaymentCategory.h"

#include <QList>
#include <QString>
#include <QStringList>

// One attachment line as the form prints it: printed when its count is
// above zero.
struct EntryAttachment
{
    int count = 0;
    QString description;

    friend bool operator==(const EntryAttachment &, const EntryAttachment &) = default;
};

// A computed payment as a worksheet shows it, as plain values: what the
// payment order is filled from, whether the worksheet is the main window's
// or one without widgets.
struct WorksheetEntry
{
    PaymentCategory category = PaymentCategory::Pharmacy;
    QStringList lines; // the entry's lines 1..n as their fields show them
    QString debitTotal;
    QString creditTotal;
    QString firstSentence;
    QString secondSentence;
    QList<EntryAttachment> attachments; // the category's lines, from line 1

    friend bool operator==(const WorksheetEntry &, const WorksheetEntry &) = default;
};
