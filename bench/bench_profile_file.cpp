// Times the codes window's save sequence (448 values at once) on the settings
// file, into an absent file and into a full one, and the matching load.
#include "base/ProfileFile.h"

#include "BenchTiming.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr int kRuns = 101;

struct Cell
{
    QString section;
    QString key;
};

QStringList numberedKeys(int count)
{
    QStringList keys;
    for (int number = 1; number <= count; ++number)
        keys << QStringLiteral("%1").arg(number, 2, 10, QChar(u'0'));
    return keys;
}

std::vector<Cell> codesWindowCells()
{
    const QList<std::pair<QString, QStringList>> sheets = {
        {QStringLiteral("Eczane Kod"), numberedKeys(105)},
        {QStringLiteral("Hastane Kod"), numberedKeys(105)},
        {QStringLiteral("Nakit Kod"), numberedKeys(135)},
        {QStringLiteral("Hesap Ayrinti"), {"1 :", "3 :", "4 :", "5 :", "6 :"}},
        {QStringLiteral("Ozel Kod"), numberedKeys(98)},
    };
    std::vector<Cell> cells;
    for (const auto &[section, keys] : sheets) {
        for (const QString &key : keys)
            cells.push_back({section, key});
    }
    return cells;
}

QString cellText(const Cell &cell, int round)
{
    if (cell.section == u"Hesap Ayrinti")
        return QStringLiteral("Sağlık Hizmetleri Alımı %1").arg(round);
    return QString::number((cell.key.toInt() * 7 + round) % 1000);
}

// The sections of the other windows as the Windows build writes them.
QByteArray otherWindowsSections()
{
    QByteArray text = "[Extra]\r\nBaslik2=Kamu Personeli Tedavi Giderleri\r\n"
                      "[Pen Ayar]\r\nKonum=185\r\n[Ek Dokumanlar]\r\n";
    for (int number = 1; number <= 20; ++number)
        text += "Yazi" + QByteArray::number(number) + "=Adet Re\xE7" "ete\r\n";
    for (int number = 1; number <= 20; ++number)
        text += "Rakam" + QByteArray::number(number) + "=0\r\n";
    text += "[Colors]\r\nGridAlternatif=14738665\r\nGridSelect=0\r\nGridSelectTxt=65280\r\n"
            "Edits=16777215\r\nEditsFont=0\r\nBRound=12632256\r\n"
            "[Ayar]\r\nOnIzle=1\r\nTarih=1\r\nDM=8,25\r\nPara=1\r\n[Kurum Imza]\r\n";
    for (int number = 1; number <= 12; ++number)
        text += QByteArray::number(number).rightJustified(2, '0') + "=\xDE\xDD\xDEL\xDD Sa\xF0l\xFDk M\xFC" "d\xFCrl\xFC\xF0\xFC\r\n";
    text += "[Kurum Amirler]\r\n";
    for (int number = 1; number <= 13; ++number)
        text += QByteArray::number(number) + "=Ahmet Y\xFDlmaz\r\n";
    text += "[Tercih]\r\n1=0\r\n2=0\r\n[Tetkik]\r\n";
    for (int number = 1; number <= 7; ++number)
        text += QByteArray::number(number) + "=Mutemet\r\n";
    return text;
}

bool saveSequence(const QString &path, const std::vector<Cell> &cells, int round)
{
    ProfileFile file(path);
    for (const Cell &cell : cells)
        file.writeString(cell.section, cell.key, cellText(cell, round));
    return file.save().succeeded();
}

} // namespace

int main()
{
    const auto report = [](const char *name, const std::function<void(int)> &run) {
        BenchTiming::printSpread(QString::fromUtf8(name), kRuns, run);
    };
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const QString path = folder.filePath(QStringLiteral("Zenparol.ini"));
    const std::vector<Cell> cells = codesWindowCells();
    const QByteArray others = otherWindowsSections();
    bool ok = true;

    const auto putOthers = [&] {
        QFile file(path);
        ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(others) == others.size() && ok;
    };

    report("448 writes + save, file absent", [&](int round) {
        QFile::remove(path);
        ok = saveSequence(path, cells, round) && ok;
    });
    report("448 writes + save, new sections in other file", [&](int round) {
        putOthers();
        ok = saveSequence(path, cells, round) && ok;
    });
    report("448 writes + save, full file, all changed", [&](int round) {
        ok = saveSequence(path, cells, round) && ok;
    });
    report("448 writes + save, full file, none changed", [&](int) {
        ok = saveSequence(path, cells, kRuns - 1) && ok;
    });
    report("448 reads, full file", [&](int) {
        const ProfileFile file(path);
        for (const Cell &cell : cells)
            ok = !file.readString(cell.section, cell.key, QString()).isNull() && ok;
    });
    std::printf("file size %lld bytes\n", static_cast<long long>(QFile(path).size()));
    return ok ? 0 : 1;
}
