#include "printing/PreviewOutput.h"

#include <QWidget>

#include "printing/PreviewWindow.h"

PreviewOutput::PreviewOutput(QWidget *parent)
    : m_parent(parent)
{
}

Delivery PreviewOutput::deliver(const PaymentOrderPage &page, const QString &documentName, const Departure &left)
{
    PreviewWindow window(page, documentName, m_parent);
    bool leftOnce = false;
    QObject::connect(&window, &PreviewWindow::issued, &window, [&](OrderWay way) {
        leftOnce = true;
        if (left)
            left(way);
    });
    window.run();
    return leftOnce ? Delivery::left() : Delivery::closed();
}
