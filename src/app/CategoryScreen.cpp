#include "app/CategoryScreen.h"

namespace {

const std::array<CategoryScreen, kCategoryCount> &screens()
{
    static const std::array<CategoryScreen, kCategoryCount> table = {{
        {PaymentCategory::Pharmacy, QStringLiteral("Eczane Nakit"), QStringLiteral("DBGrid1"),
         QStringLiteral("Panel1"), QStringLiteral(" Eczane Nakit "),
         {QStringLiteral("DBEdit1"), QStringLiteral("DBEdit2"), QStringLiteral("DBEdit4"),
          QStringLiteral("DBEdit5"), QStringLiteral("DBEdit6")},
         {0, 1, 2, 3, 4}},
        {PaymentCategory::Hospital, QStringLiteral("Hastane/Öz Hst. Nakit"), QStringLiteral("DBGrid2"),
         QStringLiteral("Panel2"), QStringLiteral(" Hastane Nakit "),
         {QStringLiteral("DBEdit9"), QStringLiteral("DBEdit10"), QStringLiteral("DBEdit11"),
          QStringLiteral("DBEdit12"), QStringLiteral("DBEdit16")},
         {0, 1, 2, 3, 4}},
        {PaymentCategory::Treatment, QStringLiteral("Tedavi Nakit"), QStringLiteral("DBGrid3"),
         QStringLiteral("Panel3"), QStringLiteral(" Tedavi Nakit  "),
         {QStringLiteral("DBEdit7"), QStringLiteral("DBEdit8"), QStringLiteral("DBEdit13"),
          QStringLiteral("DBEdit14"), QStringLiteral("DBEdit15")},
         {0, 2, 4, 1, 3}},
        {PaymentCategory::Private, QStringLiteral("ÖZEL ..."), QStringLiteral("DBGrid4"),
         QStringLiteral("PanelOzel"), QString(),
         {QStringLiteral("DBEdit18"), QStringLiteral("DBEdit19"), QStringLiteral("DBEdit20"),
          QStringLiteral("DBEdit21"), QStringLiteral("DBEdit22")},
         {0, 1, 2, 3, 4}},
    }};
    return table;
}

} // namespace

const CategoryScreen &categoryScreen(PaymentCategory category)
{
    return screens()[std::size_t(categoryIndex(category))];
}

QString payeeFieldCaption(int row)
{
    static const std::array<QString, 5> captions = {
        QStringLiteral("Adı Soyadı :"), QStringLiteral("T.C. Kimlik No :"),
        QStringLiteral("Banka Şube Adı :"), QStringLiteral("Banka Hesap Numarası :"),
        QStringLiteral("Bağlı Olduğu Vergi Dairesi :")};
    return captions[std::size_t(row)];
}

int payeeFieldWidth(int row)
{
    return row == 1 || row == 3 ? 153 : 241;
}
