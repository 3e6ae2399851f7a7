#include "app/PayeeListSentences.h"

#include "registry/PayeeList.h"

namespace PayeeListSentences {

namespace {

// What the record status calls the records of each kind.
QString recordNoun(PaymentCategory category)
{
    switch (category) {
    case PaymentCategory::Pharmacy:
        return QStringLiteral(" eczane -");
    case PaymentCategory::Hospital:
        return QStringLiteral(" hastane -");
    case PaymentCategory::Treatment:
    case PaymentCategory::Private:
        break;
    }
    return QStringLiteral(" kayıt -");
}

// What follows the quoted name in the delete question.
QString deleteQuestionTail(PaymentCategory category)
{
    switch (category) {
    case PaymentCategory::Pharmacy:
    case PaymentCategory::Hospital:
        return QStringLiteral(" ne ait kayıtlar silinsin mi?");
    case PaymentCategory::Treatment:
        return QStringLiteral(" adına kayıtlı bilgiler silinsin mi?");
    case PaymentCategory::Private:
        break;
    }
    return QStringLiteral(" ilgili kayıtlar silinsin mi?");
}

} // namespace

QString recordStatus(const PayeeList &list)
{
    const int rows = list.rowCount(); // may place the current record among them
    return QStringLiteral("  Toplam %1%2 Gösterilen:  %3")
        .arg(rows)
        .arg(recordNoun(list.category()))
        .arg(list.currentRow() + 1);
}

QString deleteQuestion(const PayeeList &list)
{
    QString name = list.field(PayeeColumn::Name);
    name.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + name + QLatin1Char('\'') + deleteQuestionTail(list.category());
}

} // namespace PayeeListSentences
