#include "computation/AttachmentLines.h"

#include <algorithm>

namespace AttachmentLines {

namespace {

AttachmentLine row(PaymentCategory category, int line, int spin, int edit, const char *description,
                   int countKey, int descriptionKey)
{
    return {category,
            line,
            QStringLiteral("SpinEdit%1").arg(spin),
            QStringLiteral("Edit%1").arg(edit),
            QString::fromUtf8(description),
            countKey,
            descriptionKey};
}

std::array<AttachmentLine, kCount> buildLines()
{
    using C = PaymentCategory;
    return {
        row(C::Pharmacy, 1, 1, 38, "Adet Fatura", 1, 5),
        row(C::Pharmacy, 2, 2, 39, "Adet Sevk", 2, 6),
        row(C::Pharmacy, 3, 3, 40, "Adet Reçete", 3, 7),
        row(C::Pharmacy, 4, 4, 41, "Adet Liste", 4, 8),
        row(C::Hospital, 1, 5, 42, "Adet Fatura", 5, 9),
        row(C::Hospital, 2, 6, 43, "Adet Sevk", 6, 10),
        row(C::Hospital, 3, 7, 44, "Adet Reçete", 7, 11),
        row(C::Hospital, 4, 8, 45, "Adet Liste", 8, 12),
        row(C::Treatment, 1, 9, 34, "Adet Fatura", 9, 1),
        row(C::Treatment, 2, 10, 35, "Adet Sevk", 10, 2),
        row(C::Treatment, 3, 11, 36, "Adet Reçete", 11, 3),
        row(C::Treatment, 4, 12, 37, "Adet Liste", 12, 4),
        row(C::Treatment, 5, 19, 74, "", 19, 19),
        row(C::Treatment, 6, 20, 77, "", 20, 20),
        row(C::Private, 1, 13, 46, "Adet Fatura", 13, 13),
        row(C::Private, 2, 14, 47, "Adet Sevk", 14, 14),
        row(C::Private, 3, 15, 48, "Adet Reçete", 15, 15),
        row(C::Private, 4, 16, 49, "Adet Liste", 16, 16),
        row(C::Private, 5, 17, 71, "", 17, 17),
        row(C::Private, 6, 18, 72, "", 18, 18),
    };
}

template<typename Match>
const AttachmentLine &find(Match match)
{
    const auto &lines = all();
    const auto found = std::find_if(lines.begin(), lines.end(), match);
    Q_ASSERT(found != lines.end());
    return found != lines.end() ? *found : lines.front();
}

} // namespace

const std::array<AttachmentLine, kCount> &all()
{
    static const std::array<AttachmentLine, kCount> lines = buildLines();
    return lines;
}

int lineCount(PaymentCategory category)
{
    return category == PaymentCategory::Treatment || category == PaymentCategory::Private ? 6 : 4;
}

const AttachmentLine &of(PaymentCategory category, int line)
{
    return find([&](const AttachmentLine &l) { return l.category == category && l.line == line; });
}

const AttachmentLine &byCountKey(int key)
{
    return find([key](const AttachmentLine &l) { return l.countKey == key; });
}

const AttachmentLine &byDescriptionKey(int key)
{
    return find([key](const AttachmentLine &l) { return l.descriptionKey == key; });
}

} // namespace AttachmentLines
