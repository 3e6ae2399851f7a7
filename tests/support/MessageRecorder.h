#pragma once

#include "desktop/MessageBoxes.h"

#include <QList>

// Answers the program's message boxes in tests and keeps what they asked.
// Answers are taken in order; when they run out, each box gets its last
// button.
class MessageRecorder
{
public:
    explicit MessageRecorder(QList<MessageBoxes::Button> answers = {});
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    void setAnswers(QList<MessageBoxes::Button> answers);
    const QList<MessageBoxes::Request> &requests() const { return m_requests; }
    QStringList texts() const;
    void clear() { m_requests.clear(); }

private:
    QList<MessageBoxes::Button> m_answers;
    QList<MessageBoxes::Request> m_requests;
    // Ends before what it answers from.
    const ScopedOverride<MessageBoxes::Responder> m_responder;
};
