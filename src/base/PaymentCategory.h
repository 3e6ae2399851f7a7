#pragma once

#include <QString>

#include <array>

// The four payment categories, always in this order. -1 means that none has
// been chosen yet.
enum class PaymentCategory : int {
    Pharmacy = 0, // table "Eczane", selector item "Eczane Nakit"
    Hospital = 1, // table "Hastane", item "Hastane/Öz Hst. Nakit"
    Treatment = 2, // table "Tedavi", item "Tedavi Nakit"
    Private = 3, // table "Ozel", item "ÖZEL ..."
};

inline constexpr int kNoCategory = -1;
inline constexpr int kCategoryCount = 4;

inline constexpr std::array<PaymentCategory, kCategoryCount> kAllCategories = {
    PaymentCategory::Pharmacy, PaymentCategory::Hospital, PaymentCategory::Treatment,
    PaymentCategory::Private};

inline constexpr int categoryIndex(PaymentCategory category)
{
    return static_cast<int>(category);
}

inline constexpr bool isCategoryIndex(int index)
{
    return index >= 0 && index < kCategoryCount;
}

// The category's word where a person reads it: a column of the register of
// issued orders, the name of a print job or a saved PDF.
inline QString categoryWord(PaymentCategory category)
{
    switch (category) {
    case PaymentCategory::Pharmacy:
        return QStringLiteral("Eczane");
    case PaymentCategory::Hospital:
        return QStringLiteral("Hastane");
    case PaymentCategory::Treatment:
        return QStringLiteral("Tedavi");
    case PaymentCategory::Private:
        break;
    }
    return QStringLiteral("Özel");
}
