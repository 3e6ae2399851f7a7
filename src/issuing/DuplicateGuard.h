#pragma once

#include "registry/OrderStore.h"

#include <QStringList>

// What happens when a payment looks like one issued a short while ago (same
// category, payee name and gross amount): the window asks the user, a
// windowless command warns and goes on.
class DuplicateGuard
{
public:
    virtual ~DuplicateGuard() = default;
    // Whether to issue the payment all the same.
    virtual bool proceed(const IssuedOrder &earlier) = 0;
};

// Goes on, with a warning line in notes.
class WarningGuard final : public DuplicateGuard
{
public:
    explicit WarningGuard(QStringList &notes) : m_notes(notes) {}
    bool proceed(const IssuedOrder &earlier) override;

private:
    QStringList &m_notes;
};
