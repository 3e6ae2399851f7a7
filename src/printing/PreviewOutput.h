#pragma once

#include "issuing/PageOutput.h"

#include <QPointer>

class QWidget;

// The page in the modal preview window, over parent: the user may print it or
// save it as a PDF, once or more, then closes the window. Each time the page
// leaves it is told at once.
class PreviewOutput final : public PageOutput
{
public:
    explicit PreviewOutput(QWidget *parent);

    Delivery deliver(const PaymentOrderPage &page, const QString &documentName, const Departure &left) override;

private:
    QPointer<QWidget> m_parent;
};
