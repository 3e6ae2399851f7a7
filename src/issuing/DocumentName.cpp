#include "issuing/DocumentName.h"

#include <QRegularExpression>

QString documentName(PaymentCategory category, const QString &payeeName)
{
    const QString word = categoryWord(category);
    static const QRegularExpression unfit(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    const QString name = QString(payeeName).replace(unfit, QStringLiteral(" ")).simplified();
    return name.isEmpty() ? word : word + QStringLiteral(" - ") + name;
}
