#include "olddata/OldDatabaseCopy.h"

#include "base/FileProblem.h"
#include "olddata/JetHeader.h"

#include <QFile>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 kBlock = 1 << 20;

#ifdef Q_OS_LINUX
bool writeAll(int descriptor, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, std::size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}
#endif

} // namespace

OldDatabaseCopy::~OldDatabaseCopy()
{
#ifdef Q_OS_LINUX
    if (m_descriptor >= 0)
        ::close(m_descriptor);
#endif
}

Result<std::shared_ptr<const OldDatabaseCopy>> OldDatabaseCopy::make(const QString &filePath)
{
    QFile source(filePath);
    if (!source.open(QIODevice::ReadOnly))
        return Failure(FileProblem::reading(filePath, source.error()) + u'.');
    std::shared_ptr<OldDatabaseCopy> copy(new OldDatabaseCopy);
    const QString notMade = QStringLiteral("geçici kopyası yazılamadı");

#ifdef Q_OS_LINUX
    // Close-on-exec: only the reading child gets it, on purpose.
    copy->m_descriptor = ::memfd_create("eski-veritabani", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (copy->m_descriptor < 0)
        return Failure(notMade + QStringLiteral(" (bellekte yer açılamadı)."));
    copy->m_path = QStringLiteral("/proc/self/fd/%1").arg(copy->m_descriptor);
    const auto put = [&](const QByteArray &block) { return writeAll(copy->m_descriptor, block.constData(), block.size()); };
#else
    copy->m_folder = std::make_unique<QTemporaryDir>();
    if (!copy->m_folder->isValid())
        return Failure(QStringLiteral("geçici klasör oluşturulamadı."));
    copy->m_path = copy->m_folder->filePath(QStringLiteral("eski.mdb"));
    QFile target(copy->m_path);
    if (!target.open(QIODevice::WriteOnly))
        return Failure(QStringLiteral("%1 (%2).").arg(notMade, FileProblem::writing(copy->m_path, target.error())));
    const auto put = [&](const QByteArray &block) { return target.write(block) == block.size(); };
#endif

    for (;;) {
        const QByteArray block = source.read(kBlock);
        if (block.isEmpty()) {
            if (source.error() != QFileDevice::NoError)
                return Failure(FileProblem::reading(filePath, source.error()) + u'.');
            break;
        }
        if (copy->m_firstPage.size() < JetHeader::kPageSize)
            copy->m_firstPage.append(block.first(std::min<qsizetype>(block.size(), JetHeader::kPageSize - copy->m_firstPage.size())));
        copy->m_size += block.size();
        if (!put(block))
            return Failure(notMade + u'.');
    }

#ifdef Q_OS_LINUX
    if (::fcntl(copy->m_descriptor, F_ADD_SEALS, F_SEAL_WRITE | F_SEAL_GROW | F_SEAL_SHRINK | F_SEAL_SEAL) != 0)
        return Failure(notMade + QStringLiteral(" (mühürlenemedi)."));
#else
    if (!target.flush())
        return Failure(notMade + u'.');
    target.close();
#endif
    return std::shared_ptr<const OldDatabaseCopy>(std::move(copy));
}

bool OldDatabaseCopy::sameBytesAs(const QString &filePath) const
{
    QFile file(filePath);
    QFile copy(m_path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != m_size || !copy.open(QIODevice::ReadOnly))
        return false;
    for (;;) {
        const QByteArray x = file.read(kBlock);
        const QByteArray y = copy.read(kBlock);
        if (x != y || file.error() != QFileDevice::NoError || copy.error() != QFileDevice::NoError)
            return false;
        if (x.isEmpty())
            return true;
    }
}
