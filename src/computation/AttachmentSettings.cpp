#include "computation/AttachmentSettings.h"

#include "base/ProfileFile.h"

namespace {

constexpr QStringView kSection = u"Ek Dokumanlar";

QString descriptionKey(int number)
{
    return QStringLiteral("Yazi%1").arg(number);
}

QString countKey(int number)
{
    return QStringLiteral("Rakam%1").arg(number);
}

} // namespace

void AttachmentSettings::load(const ProfileFile &file)
{
    for (int k = 1; k <= AttachmentLines::kCount; ++k) {
        QString &description = descriptions[std::size_t(k - 1)];
        description = file.readString(kSection, descriptionKey(k), description);
    }
    for (int k = 1; k <= AttachmentLines::kCount; ++k) {
        int &count = counts[std::size_t(k - 1)];
        count = file.readInteger(kSection, countKey(k), count);
    }
}

void AttachmentSettings::write(ProfileFile &file) const
{
    for (int k = 1; k <= AttachmentLines::kCount; ++k)
        file.writeString(kSection, descriptionKey(k), descriptions[std::size_t(k - 1)]);
    for (int k = 1; k <= AttachmentLines::kCount; ++k)
        file.writeInteger(kSection, countKey(k), counts[std::size_t(k - 1)]);
}
