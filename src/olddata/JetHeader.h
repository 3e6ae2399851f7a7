#pragma once

#include <QByteArrayView>
#include <QString>

// The first page of a Jet database file, as far as the program needs it:
// which engine wrote the file, its database password and whether its pages
// are encoded.
//
// A Jet 4 file keeps its header fields in a 128-byte block at 0x18,
// scrambled with RC4 under a fixed key. In it, the database password is 40
// bytes of UCS-2 text at 0x42, each byte XORed with the little-endian bytes
// of the integer part of the creation date (a double at 0x72). The password
// gates only the Jet engine: the pages themselves are not encrypted by it.
// A file saved with "encode database" has a non-zero key at 0x3E, and every
// page after the first is RC4-encrypted under that key XORed with the
// page's number.
class JetHeader
{
public:
    enum class Kind {
        NotJet, // not a Jet or Access database at all (or too short)
        OtherVersion, // a Jet 3 (Access 97) or an Access 2007+ (ACE) file
        Jet4,
    };

    static constexpr int kPageSize = 4096;
    static constexpr int kBlockOffset = 0x18;
    static constexpr int kBlockSize = 128;
    static constexpr int kPasswordOffset = 0x42;
    static constexpr int kPasswordBytes = 40;
    static constexpr int kCreationDateOffset = 0x72;
    static constexpr int kDatabaseKeyOffset = 0x3E;
    static constexpr int kVersionOffset = 0x14;

    // The fixed key of the header block.
    static QByteArrayView blockKey();

    // The first bytes of a file, at least its first page.
    static JetHeader parse(QByteArrayView firstPage);

    Kind kind() const { return m_kind; }
    int version() const { return m_version; }
    // Empty when the file has none.
    const QString &password() const { return m_password; }
    double creationDate() const { return m_creationDate; }
    bool isEncoded() const { return m_databaseKey != 0; }

    // "Access 97 (Jet 3)", "Access 2007 ya da sonrası (ACE)": for messages.
    QString versionName() const;

private:
    Kind m_kind = Kind::NotJet;
    int m_version = -1;
    QString m_password;
    double m_creationDate = 0;
    quint32 m_databaseKey = 0;
};
