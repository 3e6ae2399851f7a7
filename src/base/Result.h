#pragma once

#include <QString>

#include <utility>

// The outcome of an operation that can fail: success, or a failure with the
// Turkish message to show. A failure always carries a message and never
// reads as success, whatever its text; a caller that drops the result gets
// a compiler warning.
class [[nodiscard]] Result
{
public:
    static Result success() { return Result(); }
    // An empty message still makes a failure, with a general text.
    static Result failure(QString message)
    {
        if (message.isEmpty())
            message = QStringLiteral("Beklenmeyen bir hata oluştu.");
        return Result(std::move(message));
    }

    bool succeeded() const { return !m_failed; }
    bool failed() const { return m_failed; }
    explicit operator bool() const { return succeeded(); }
    // Empty on success.
    const QString &message() const { return m_message; }

    // The same failure with a head in front of its message ("Kayıt
    // kaydedilemedi: " + reason); a success stays a success.
    Result prefixed(const QString &head) const
    {
        return m_failed ? Result(head + m_message) : *this;
    }

    friend bool operator==(const Result &, const Result &) = default;

private:
    Result() = default;
    explicit Result(QString message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    QString m_message;
};
