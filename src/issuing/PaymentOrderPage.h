#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// One box's new text, as the filling steps write them, in order.
struct BoxWrite
{
    QString box;
    QString text;

    friend bool operator==(const BoxWrite &, const BoxWrite &) = default;
};
using BoxWrites = QList<BoxWrite>;

// A prepared page as a plain value: the text of every box of the form by
// name, the preparation date included, and the day it was prepared. It can
// be kept and painted again to give the same page.
struct PaymentOrderPage
{
    QHash<QString, QString> texts; // every box of the template; "" for an empty one
    QDate preparedOn;

    QString text(const QString &box) const { return texts.value(box); }

    friend bool operator==(const PaymentOrderPage &, const PaymentOrderPage &) = default;
};

// The page as the register of issued orders keeps it: the box texts and the
// day as JSON (a stable text, keys in order), compressed. pageFromStore()
// gives the same page back, or nothing for bytes that are not a stored page.
QByteArray storedPage(const PaymentOrderPage &page);
std::optional<PaymentOrderPage> pageFromStore(const QByteArray &stored);

// The report object that holds the form: one instance, created with the main
// window. A box keeps the last text written into it, across documents, until
// it is written again; the template's fixed texts are only the first state.
class Raporlar
{
public:
    Raporlar();

    // Replaces the box's whole text; an empty text clears it. Only names of
    // the template are written: any other is a programming error.
    void setText(const QString &box, const QString &text);
    void apply(const BoxWrites &writes);
    QString text(const QString &box) const { return m_texts.value(box); }

    // The page as it would print now: the box texts with the preparation
    // date in its box.
    PaymentOrderPage prepare(const QDate &today) const;

private:
    QHash<QString, QString> m_texts;
};
