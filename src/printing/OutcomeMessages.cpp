#include "printing/OutcomeMessages.h"

#include "desktop/MessageBoxes.h"
#include "issuing/OrderRecording.h"

namespace OutcomeMessages {

void show(QWidget *parent, const IssueOutcome &outcome)
{
    switch (outcome.kind) {
    case IssueOutcome::Kind::Issued:
    case IssueOutcome::Kind::Declined:
    case IssueOutcome::Kind::Closed:
        return;
    case IssueOutcome::Kind::NotRecorded:
        MessageBoxes::warning(parent, OrderRecording::notRecordedText(outcome.message));
        return;
    case IssueOutcome::Kind::Refused:
    case IssueOutcome::Kind::Failed:
        MessageBoxes::showError(parent, outcome.message);
        return;
    }
}

} // namespace OutcomeMessages
