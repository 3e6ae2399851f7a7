#pragma once

#include "issuing/DocumentFilling.h"
#include "registry/OrderStore.h"

#include <QDateTime>
#include <QString>

// What the register of issued orders keeps of a payment about to be issued,
// and what the guard against paying twice says, for YAZDIR and for the
// headless PDF alike.
namespace OrderRecording {

// The record of the payment: its category, payee, the gross amount, the stamp
// duty and the net amount of its entry in whole kuruş, issued at the
// given moment. Not yet numbered. An amount that cannot be read exactly
// fails it: a record never holds a sum the page does not show.
Result<IssuedOrder> describe(const DocumentFilling::PaymentInputs &inputs, const QDateTime &issuedAt);

// "Bu kişiye aynı tutarda 05.03.2024 tarihinde 12 numaralı belge
// düzenlenmiş. Yine de yazdırılsın mı?"
QString duplicateQuestion(const IssuedOrder &earlier);
// The same fact as one line for standard error, for a command that does not ask.
QString duplicateWarning(const IssuedOrder &earlier);

// What follows when the order left the program but its record could not
// be written.
QString notRecordedText(const QString &reason);


} // namespace OrderRecording
