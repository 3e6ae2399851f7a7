#include "support/MessageRecorder.h"

MessageRecorder::MessageRecorder(QList<MessageBoxes::Button> answers)
    : m_answers(std::move(answers))
{
    MessageBoxes::setResponder([this](const MessageBoxes::Request &request) {
        m_requests.append(request);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return request.buttons.last();
    });
}

MessageRecorder::~MessageRecorder()
{
    MessageBoxes::setResponder({});
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
