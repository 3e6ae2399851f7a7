#pragma once

#include "issuing/PaymentOrderPage.h"
#include "registry/OrderStore.h"

#include <QString>

#include <functional>
#include <optional>

// What became of a page handed to an output.
struct Delivery
{
    enum class End {
        Left, // it left the program, once or more: printed or saved
        Closed, // the preview was closed and the page never left
        Refused, // the printer did not take it
        Failed, // it could not be written or sent
    };

    End end = End::Failed;
    QString message; // Turkish: why, for Refused and Failed

    static Delivery left() { return {End::Left, QString()}; }
    static Delivery closed() { return {End::Closed, QString()}; }
    static Delivery refused(QString why) { return {End::Refused, std::move(why)}; }
    static Delivery failed(QString why) { return {End::Failed, std::move(why)}; }
};

// Where a prepared page goes: the preview window (the user may print or save
// it from there, again and again, or close it), a printer, a PDF file.
class PageOutput
{
public:
    virtual ~PageOutput() = default;

    // Told at once each time the page leaves the program, so that it is
    // recorded then and not only when the output is done.
    using Departure = std::function<void(OrderWay way)>;

    // Why this output cannot take a page now, asked before anything is
    // filled or asked; nothing when it can.
    virtual std::optional<Delivery> obstacle() const { return std::nullopt; }

    virtual Delivery deliver(const PaymentOrderPage &page, const QString &documentName, const Departure &left) = 0;
};
