#include "maintenance/CopyProblemText.h"

#include <QDir>
#include <QFileInfo>

namespace CopyProblemText {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString reason(DatabaseCopy::Problem problem, const QString &detail, const QString &sourcePath,
               const QString &targetPath)
{
    using Problem = DatabaseCopy::Problem;
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::SourceMissing:
        return QStringLiteral("veritabanı dosyası bulunamadı: %1").arg(shown(sourcePath));
    case Problem::SourceNotOurs:
        return QStringLiteral("%1 başka bir parolayla şifrelenmiş ya da bir veritabanı dosyası değil")
            .arg(shown(sourcePath));
    case Problem::SourceLocked:
        return QStringLiteral("veritabanı dosyası başka bir program tarafından kilitlenmiş; "
                              "o program işini bitirince yeniden deneyin");
    case Problem::SourceDamaged:
        return QStringLiteral("veritabanı dosyası bozuk");
    case Problem::SourceUnreadable:
        return QStringLiteral("veritabanı dosyası okunamadı: %1 (%2)").arg(shown(sourcePath), detail);
    case Problem::TargetExists:
        return QStringLiteral("%1 adında bir dosya zaten var").arg(shown(targetPath));
    case Problem::TargetDiskFull:
        return QStringLiteral("%1 klasörünün bulunduğu diskte yer kalmadı")
            .arg(shown(QFileInfo(targetPath).absolutePath()));
    case Problem::TargetUnwritable:
        return QStringLiteral("%1 yazılamadı; klasöre yazma izni olmayabilir, disk dolmuş ya da yazmaya kapalı "
                              "olabilir")
            .arg(shown(targetPath));
    case Problem::CopyDiffers:
        return QStringLiteral("yazılan kopya veritabanıyla aynı değil");
    }
    return detail;
}

} // namespace CopyProblemText
