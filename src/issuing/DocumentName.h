#pragma once

#include "base/PaymentCategory.h"

#include <QString>

// The category's word and the payee's name: the print job's name and the default
// name of a saved PDF ("Eczane - ŞİFA ECZANESİ"). Characters that a file
// name cannot hold become blanks.
QString documentName(PaymentCategory category, const QString &payeeName);
