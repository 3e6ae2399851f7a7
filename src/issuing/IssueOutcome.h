#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What one issue of a payment order came to. Each end a user can meet is its
// own value: only Issued means that the page left and was recorded.
struct IssueOutcome
{
    enum class Kind {
        Issued, // the page left the program and is in the register
        NotRecorded, // the page left, but its record could not be written
        Declined, // the user said "Hayır" to the guard against paying twice
        Closed, // the preview was closed and the page never left
        Refused, // the printer did not take the page
        Failed, // nothing left: the page could not be made, written or sent
    };

    Kind kind = Kind::Failed;
    int ways = 0; // OrderWay flags: how the page left
    qint64 number = 0; // the record's number, once recorded
    QString message; // Turkish: why, for NotRecorded, Refused and Failed
    QStringList notes; // Turkish: what the user should know along the way

    bool left() const { return kind == Kind::Issued || kind == Kind::NotRecorded; }
    // Whether the same payment may be issued again at once: nothing left,
    // and nothing stood in the user's way but the printer or a failure.
    bool mayTryAgain() const { return kind == Kind::Declined || kind == Kind::Refused || kind == Kind::Failed; }
};
