#include "referencedata/InstitutionSettings.h"

#include "base/ProfileFile.h"

#include <algorithm>

QString InstitutionValues::text(const QString &objectName) const
{
    Q_ASSERT_X(InstitutionSettings::isStored(objectName, false), "InstitutionValues::text",
               qPrintable(objectName));
    return texts.value(objectName);
}

bool InstitutionValues::isTicked(const QString &objectName) const
{
    Q_ASSERT_X(InstitutionSettings::isStored(objectName, true), "InstitutionValues::isTicked",
               qPrintable(objectName));
    return ticks.value(objectName);
}

namespace InstitutionSettings {

namespace {

QList<StoredValue> buildStoredValues()
{
    const QString kurumImza = QStringLiteral("Kurum Imza");
    const QString amirler = QStringLiteral("Kurum Amirler");
    const QString tercih = QStringLiteral("Tercih");
    const QString tetkik = QStringLiteral("Tetkik");
    // "Mali Kontol Yetkilisi" and the point of "01." are as the offices have
    // always had them printed.
    return {
        {QStringLiteral("EdSaymanKod"), kurumImza, QStringLiteral("01"), QStringLiteral("07-50")},
        {QStringLiteral("EdSaymanAd"), kurumImza, QStringLiteral("02"), QStringLiteral("Muhasebe Müd.")},
        {QStringLiteral("EdBirim"), kurumImza, QStringLiteral("03"), QStringLiteral("358")},
        {QStringLiteral("EdBirim1"), kurumImza, QStringLiteral("04"), QStringLiteral("1")},
        {QStringLiteral("EdBirim2"), kurumImza, QStringLiteral("05"), QStringLiteral("2")},
        {QStringLiteral("EdBirim3"), kurumImza, QStringLiteral("06"), QStringLiteral("13")},
        {QStringLiteral("EdBirim4"), kurumImza, QStringLiteral("07"), QStringLiteral("01.")},
        {QStringLiteral("EdButceYili"), kurumImza, QStringLiteral("08"), QString()},
        {QStringLiteral("EdTarih"), kurumImza, QStringLiteral("09"), QString()},
        {QStringLiteral("EdNo"), kurumImza, QStringLiteral("10"), QString()},
        {QStringLiteral("EdKurumAdi"), kurumImza, QStringLiteral("11"), QStringLiteral("Milli Eğitim Müdürlüğü")},
        {QStringLiteral("EdBirimAdi"), kurumImza, QStringLiteral("12"), QStringLiteral("Deneme Okulu")},
        {QStringLiteral("Edit1"), amirler, QStringLiteral("1"), QString()},
        {QStringLiteral("Edit2"), amirler, QStringLiteral("2"), QString()},
        {QStringLiteral("Edit19"), amirler, QStringLiteral("3"), QStringLiteral("Mali Kontol Yetkilisi")},
        {QStringLiteral("Edit20"), amirler, QStringLiteral("4"), QString()},
        {QStringLiteral("Edit21"), amirler, QStringLiteral("5"), QString()},
        {QStringLiteral("Edit22"), amirler, QStringLiteral("6"), QStringLiteral("Harcama Yetkilisi")},
        {QStringLiteral("Edit23"), amirler, QStringLiteral("7"), QString()},
        {QStringLiteral("Edit24"), amirler, QStringLiteral("8"), QString()},
        {QStringLiteral("Edit25"), amirler, QStringLiteral("9"), QStringLiteral("Muhasebe Yetkilisi")},
        {QStringLiteral("Edit26"), amirler, QStringLiteral("10"), QString()},
        {QStringLiteral("Edit27"), amirler, QStringLiteral("11"), QString()},
        {QStringLiteral("Edit28"), amirler, QStringLiteral("12"), QStringLiteral("Vize Kontrol Edilmiştir")},
        {QStringLiteral("Edit29"), amirler, QStringLiteral("13"), QStringLiteral("Düzenleyen")},
        {QStringLiteral("CheckBox1"), tercih, QStringLiteral("1"), QString(), true},
        {QStringLiteral("CheckBox2"), tercih, QStringLiteral("2"), QString(), true},
        {QStringLiteral("Edit13"), tetkik, QStringLiteral("1"), QStringLiteral("Memur")},
        {QStringLiteral("Edit14"), tetkik, QStringLiteral("2"), QStringLiteral("Şef")},
        {QStringLiteral("Edit15"), tetkik, QStringLiteral("3"), QStringLiteral("Muhasebe Yetkilisi Yrd.")},
        {QStringLiteral("Edit16"), tetkik, QStringLiteral("4"), QString()},
        {QStringLiteral("Edit17"), tetkik, QStringLiteral("5"), QString()},
        {QStringLiteral("Edit18"), tetkik, QStringLiteral("6"), QString()},
        {QStringLiteral("Edit30"), tetkik, QStringLiteral("7"),
         QStringLiteral("(*) Gerçekleştirme görevlileri arasında harcama yetkilisince görevlendirilen kişi "
                        "tarafından imzalanacaktır.")},
    };
}

} // namespace

const QList<StoredValue> &storedValues()
{
    static const QList<StoredValue> values = buildStoredValues();
    return values;
}

bool isStored(const QString &objectName, bool tick)
{
    const QList<StoredValue> &values = storedValues();
    return std::any_of(values.cbegin(), values.cend(), [&](const StoredValue &value) {
        return value.objectName == objectName && value.isCheckBox == tick;
    });
}

InstitutionValues defaults()
{
    InstitutionValues values;
    for (const StoredValue &stored : storedValues()) {
        if (stored.isCheckBox)
            values.ticks.insert(stored.objectName, false);
        else
            values.texts.insert(stored.objectName, stored.defaultText);
    }
    return values;
}

void load(const ProfileFile &file, InstitutionValues &values)
{
    for (const StoredValue &stored : storedValues()) {
        if (stored.isCheckBox) {
            bool &tick = values.ticks[stored.objectName];
            tick = file.readBool(stored.section, stored.key, tick);
        } else {
            QString &text = values.texts[stored.objectName];
            text = file.readString(stored.section, stored.key, text);
        }
    }
}

Result<> save(ProfileFile &file, const InstitutionValues &values)
{
    for (const StoredValue &stored : storedValues()) {
        if (stored.isCheckBox)
            file.writeBool(stored.section, stored.key, values.isTicked(stored.objectName));
        else
            file.writeString(stored.section, stored.key, values.text(stored.objectName));
    }
    return file.save();
}

} // namespace InstitutionSettings
