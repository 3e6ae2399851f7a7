#pragma once

#include <QFileDevice>
#include <QString>

// Why a file could not be read or written, in Turkish words a clerk can act
// on ("dosya bulunamadı", "yazma izni yok"), whatever language the system
// reports in.
namespace FileProblem {

QString reading(const QString &filePath, QFileDevice::FileError error);
QString writing(const QString &filePath, QFileDevice::FileError error);

// The whole sentence, the same wherever a file could not be written or read:
// "'C:\Belgeler\a.pdf' dosyası yazılamadı: klasör bulunamadı."
QString notWritten(const QString &filePath, QFileDevice::FileError error);
QString notRead(const QString &filePath, QFileDevice::FileError error);

} // namespace FileProblem
