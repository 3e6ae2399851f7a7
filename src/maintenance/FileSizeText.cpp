#include "maintenance/FileSizeText.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>

QString FileSizeText(const QString &path)
{
    // Only the file's entry is read: opening the database file itself would
    // drop the locks a connection of this process holds on it.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return QStringLiteral("Veritabanı dosyası bulunamadı!");
    return formatByteSize(info.size());
}

QString formatByteSize(qint64 bytes)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    if (bytes < 1000)
        return QStringLiteral("%1 bayt").arg(turkish.toString(bytes));

    static const char *const units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    constexpr int kLastUnit = int(std::size(units)) - 1;
    double value = double(bytes) / 1024.0;
    for (int unit = 0;; ++unit) {
        const int decimals = value < 99.95 ? 1 : 0;
        const double scale = decimals ? 10.0 : 1.0;
        const double rounded = std::round(value * scale) / scale;
        if (rounded >= 1000.0 && unit < kLastUnit) {
            value /= 1024.0;
            continue;
        }
        return QStringLiteral("%1 %2").arg(turkish.toString(rounded, 'f', decimals), QLatin1String(units[unit]));
    }
}
