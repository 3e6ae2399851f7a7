#pragma once

#include <QString>

#include <optional>
#include <type_traits>
#include <utility>

// The Turkish message of a failed operation, on its way into a Result of any
// kind: "return Failure(text);" fails a Result<> and a Result<Payee> alike.
class [[nodiscard]] Failure
{
public:
    // An empty message still makes a failure, with a general text.
    explicit Failure(QString message)
        : m_message(message.isEmpty() ? QStringLiteral("Beklenmeyen bir hata oluştu.") : std::move(message))
    {
    }

    const QString &message() const { return m_message; }

    friend bool operator==(const Failure &, const Failure &) = default;

private:
    QString m_message;
};

// The outcome of an operation that can fail: its value, or a failure with the
// Turkish message to show. A failure always carries a message and never
// reads as success, whatever its text; a caller that drops the result gets
// a compiler warning. Result<> carries no value.
template <typename T = void>
class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_message(std::move(failure).message()) {}

    static Result failure(QString message) { return Result(Failure(std::move(message))); }

    bool succeeded() const { return m_value.has_value(); }
    bool failed() const { return !succeeded(); }
    explicit operator bool() const { return succeeded(); }
    // Empty on success.
    const QString &message() const { return m_message; }
    // The failure, to hand on to a result of another kind; only for a
    // failed result.
    Failure error() const { return Failure(m_message); }

    // Only for a successful result.
    const T &value() const & { return *m_value; }
    T &value() & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    const T &operator*() const & { return *m_value; }
    T &operator*() & { return *m_value; }
    const T *operator->() const { return &*m_value; }
    T *operator->() { return &*m_value; }
    template <typename U>
    T valueOr(U &&fallback) const
    {
        return m_value ? *m_value : T(std::forward<U>(fallback));
    }

    Result prefixed(const QString &head) const { return failed() ? Result(Failure(head + m_message)) : *this; }

    friend bool operator==(const Result &, const Result &) = default;

private:
    std::optional<T> m_value;
    QString m_message;
};

template <>
class [[nodiscard]] Result<void>
{
public:
    Result(Failure failure) : m_failed(true), m_message(std::move(failure).message()) {}

    static Result success() { return Result(); }
    static Result failure(QString message) { return Result(Failure(std::move(message))); }

    bool succeeded() const { return !m_failed; }
    bool failed() const { return m_failed; }
    explicit operator bool() const { return succeeded(); }
    // Empty on success.
    const QString &message() const { return m_message; }
    Failure error() const { return Failure(m_message); }

    // The same failure with a head in front of its message ("Kayıt
    // kaydedilemedi: " + reason); a success stays a success.
    Result prefixed(const QString &head) const { return m_failed ? Result(Failure(head + m_message)) : *this; }

    friend bool operator==(const Result &, const Result &) = default;

private:
    Result() = default;

    bool m_failed = false;
    QString m_message;
};
