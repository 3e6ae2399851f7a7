#pragma once

#include "issuing/DuplicateGuard.h"

#include <QPointer>

class QWidget;

// YAZDIR's guard: asks over the window whether to issue the payment all the
// same (Evet/Hayır, "Hayır" by default).
class AskingGuard final : public DuplicateGuard
{
public:
    explicit AskingGuard(QWidget *window);
    bool proceed(const IssuedOrder &earlier) override;

private:
    QPointer<QWidget> m_window;
};
