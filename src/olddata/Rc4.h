#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The RC4 stream cipher, as Jet uses it for the header block of every file
// and for the pages of a file saved with "encode database". The same call
// encrypts and decrypts.
namespace Rc4 {

QByteArray apply(QByteArrayView key, QByteArrayView data);

} // namespace Rc4
