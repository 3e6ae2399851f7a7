#include "app/CategoryScreen.h"

namespace {

const std::array<CategoryScreen, kCategoryCount> &screens()
{
    static const std::array<CategoryScreen, kCategoryCount> table = {{
        {
            .category = PaymentCategory::Pharmacy,
            .selectorItem = QStringLiteral("Eczane Nakit"),
            .gridName = QStringLiteral("DBGrid1"),
            .panelName = QStringLiteral("Panel1"),
            .payeeGroupCaption = QStringLiteral(" Eczane Nakit "),
            .payeeEditNames = {QStringLiteral("DBEdit1"), QStringLiteral("DBEdit2"), QStringLiteral("DBEdit4"),
                               QStringLiteral("DBEdit5"), QStringLiteral("DBEdit6")},
            .tabOrder = {0, 1, 2, 3, 4},
        },
        {
            .category = PaymentCategory::Hospital,
            .selectorItem = QStringLiteral("Hastane/Öz Hst. Nakit"),
            .gridName = QStringLiteral("DBGrid2"),
            .panelName = QStringLiteral("Panel2"),
            .payeeGroupCaption = QStringLiteral(" Hastane Nakit "),
            .payeeEditNames = {QStringLiteral("DBEdit9"), QStringLiteral("DBEdit10"), QStringLiteral("DBEdit11"),
                               QStringLiteral("DBEdit12"), QStringLiteral("DBEdit16")},
            .tabOrder = {0, 1, 2, 3, 4},
        },
        {
            .category = PaymentCategory::Treatment,
            .selectorItem = QStringLiteral("Tedavi Nakit"),
            .gridName = QStringLiteral("DBGrid3"),
            .panelName = QStringLiteral("Panel3"),
            .payeeGroupCaption = QStringLiteral(" Tedavi Nakit  "),
            .payeeEditNames = {QStringLiteral("DBEdit7"), QStringLiteral("DBEdit8"), QStringLiteral("DBEdit13"),
                               QStringLiteral("DBEdit14"), QStringLiteral("DBEdit15")},
            .tabOrder = {0, 2, 4, 1, 3},
        },
        {
            .category = PaymentCategory::Private,
            .selectorItem = QStringLiteral("ÖZEL ..."),
            .gridName = QStringLiteral("DBGrid4"),
            .panelName = QStringLiteral("PanelOzel"),
            .payeeGroupCaption = QString(),
            .payeeEditNames = {QStringLiteral("DBEdit18"), QStringLiteral("DBEdit19"), QStringLiteral("DBEdit20"),
                               QStringLiteral("DBEdit21"), QStringLiteral("DBEdit22")},
            .tabOrder = {0, 1, 2, 3, 4},
        },
    }};
    return table;
}

} // namespace

const CategoryScreen &categoryScreen(PaymentCategory category)
{
    return screens()[std::size_t(categoryIndex(category))];
}
