#include "support/MessageRecorder.h"

MessageRecorder::MessageRecorder(QList<MessageBoxes::Button> answers)
    : m_answers(std::move(answers))
    , m_responder(MessageBoxes::overrideResponder([this](const MessageBoxes::Request &request) {
        m_requests.append(request);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return request.buttons.last();
    }))
{
}

void MessageRecorder::setAnswers(QList<MessageBoxes::Button> answers)
{
    m_answers = std::move(answers);
}

QStringList MessageRecorder::texts() const
{
    QStringList result;
    for (const auto &request : m_requests)
        result.append(request.text);
    return result;
}
