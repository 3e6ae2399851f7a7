#pragma once

#include "issuing/IssueOutcome.h"

class QWidget;

// What the window says at the end of an issue: nothing when the page left
// and was recorded, was declined or its preview closed; a warning when it left
// but was not recorded; the error box when the printer refused it or it
// failed.
namespace OutcomeMessages {

void show(QWidget *parent, const IssueOutcome &outcome);

} // namespace OutcomeMessages
