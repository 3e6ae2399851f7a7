#pragma once

#include "base/Result.h"
#include "printing/PageOutput.h"
#include "issuing/PaymentOrderPage.h"
#include "registry/OrderRegister.h"

#include <QDateTime>

#include <functional>
#include <memory>

class QWidget;

// A stored order out again: its page exactly as it was issued (its date
// included), through the preview or straight into a PDF file. Each issue is
// recorded in the register as a reprint of the original order, once it has
// left the program; a preview closed without printing or saving records
// nothing.
class OrderReprinting
{
public:
    explicit OrderReprinting(OrderRegister &orders);
    ~OrderReprinting();

    // The preview window unless replaced (tests).
    void setOutput(std::unique_ptr<PageOutput> output);
    // The moment a reprint is recorded at; now unless fixed (tests).
    void setClock(std::function<QDateTime()> clock);

    // The stored page of a record and the record itself.
    Result<> storedPage(qint64 number, PaymentOrderPage *page, IssuedOrder *order = nullptr) const;

    // Shows the record's page in the preview, over parent. reprinted is the
    // reprint's number once it has left, 0 when it did not. A reprint that
    // could not be recorded is said in a warning.
    Result<> reprint(qint64 number, QWidget *parent, qint64 *reprinted);
    // Writes the record's page into a PDF file and records it as a reprint.
    Result<> savePdf(qint64 number, const QString &filePath, qint64 *reprinted);

    // "Eczane - ŞİFA ECZANESİ": the name of the print job and of the PDF.
    static QString documentNameOf(const IssuedOrder &order);

private:
    Result<> load(qint64 number, PaymentOrderPage *page, IssuedOrder *order, QByteArray *stored) const;
    Result<> prepare(qint64 number, PaymentOrderPage *page, IssuedOrder *reprint, QByteArray *stored) const;

    OrderRegister &m_orders;
    std::unique_ptr<PageOutput> m_output;
    std::function<QDateTime()> m_clock;
};
