#include "olddata/JetHeader.h"

#include "olddata/Rc4.h"

#include <QByteArray>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr char kJetSignature[] = "Standard Jet DB";
constexpr char kAceSignature[] = "Standard ACE DB";
constexpr int kSignatureOffset = 4;

bool hasSignature(QByteArrayView page, const char *signature)
{
    const std::size_t length = std::strlen(signature) + 1;
    return page.size() >= qsizetype(kSignatureOffset + length)
        && std::memcmp(page.data() + kSignatureOffset, signature, length) == 0;
}

// The integer part of the creation date, as Jet takes it; a date that is
// no number or out of range (a damaged header) gives no mask.
qint32 dateMask(double date)
{
    if (!std::isfinite(date) || date >= double(std::numeric_limits<qint32>::max())
        || date <= double(std::numeric_limits<qint32>::min()))
        return 0;
    return qint32(date);
}

} // namespace

QByteArrayView JetHeader::blockKey()
{
    static const char key[] = {char(0xC7), char(0xDA), char(0x39), char(0x6B)};
    return QByteArrayView(key, sizeof key);
}

JetHeader JetHeader::parse(QByteArrayView firstPage)
{
    JetHeader header;
    if (firstPage.size() < kPageSize || firstPage[0] != 0)
        return header;
    const bool jet = hasSignature(firstPage, kJetSignature);
    if (!jet && !hasSignature(firstPage, kAceSignature))
        return header;
    header.m_version = static_cast<unsigned char>(firstPage[kVersionOffset]);
    if (!jet || header.m_version != 1) {
        header.m_kind = Kind::OtherVersion;
        return header;
    }
    header.m_kind = Kind::Jet4;

    QByteArray page = firstPage.first(kPageSize).toByteArray();
    const QByteArray block = Rc4::apply(blockKey(), QByteArrayView(page).sliced(kBlockOffset, kBlockSize));
    page.replace(kBlockOffset, kBlockSize, block);
    const char *bytes = page.constData();

    header.m_databaseKey = qFromLittleEndian<quint32>(bytes + kDatabaseKeyOffset);
    header.m_creationDate = qFromLittleEndian<double>(bytes + kCreationDateOffset);
    unsigned char mask[4];
    qToLittleEndian<qint32>(dateMask(header.m_creationDate), mask);
    QString password;
    for (int i = 0; i + 1 < kPasswordBytes; i += 2) {
        const auto low = static_cast<unsigned char>(bytes[kPasswordOffset + i] ^ mask[i % 4]);
        const auto high = static_cast<unsigned char>(bytes[kPasswordOffset + i + 1] ^ mask[(i + 1) % 4]);
        const char16_t character = char16_t(low | (high << 8));
        if (character == 0)
            break;
        password.append(QChar(character));
    }
    header.m_password = password;
    return header;
}

QString JetHeader::versionName() const
{
    switch (m_version) {
    case 0:
        return QStringLiteral("Access 97 (Jet 3)");
    case 1:
        return QStringLiteral("Jet 4.0");
    default:
        return QStringLiteral("Access 2007 ya da sonrası (ACE)");
    }
}
