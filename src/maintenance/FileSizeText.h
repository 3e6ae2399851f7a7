#pragma once

#include <QString>

// The size of a file as the compact-and-repair wizard shows it before and
// after: "Veritabanı dosyası bulunamadı!" when there is no such file,
// otherwise formatByteSize of its size.
QString FileSizeText(const QString &path);

// A short size text in the Turkish way: "532 bayt", "12,5 KB", "532 KB",
// "1,2 MB". Units of 1024; one decimal under 100 of a unit, none above; a
// value that would read 1000 or more goes up a unit.
QString formatByteSize(qint64 bytes);
