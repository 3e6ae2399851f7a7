// Times what the codes window does when it closes: write its 448 stored
// cells and save the settings file in one step, on a fresh file and on a
// full one, through the plain save order and through the window itself.
// Also times the window's creation (load plus its cells), paid at start-up.
#include "base/ProfileFile.h"
#include "base/ProgramFolder.h"
#include "referencedata/CodeSheetSettings.h"
#include "reference/TForm5.h"

#include "BenchTiming.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kRuns = 101;

// Every cell changed, as after a user retyped a whole sheet.
CodeSheets changedSheets(int round)
{
    CodeSheets sheets = defaultCodeSheets();
    for (const CodeSheetSettings::StoredCell &cell : CodeSheetSettings::storedCells()) {
        CodeSheet &sheet = sheets[std::size_t(categoryIndex(cell.category))];
        sheet.setText(cell.row, cell.column, sheet.text(cell.row, cell.column) + QString::number(round % 10));
    }
    return sheets;
}

// The other windows' sections, as a settings file in use holds them.
QByteArray otherSections()
{
    QByteArray text = "[Extra]\r\nBaslik2=Kamu Personeli Tedavi Giderleri\r\n[Pen Ayar]\r\nKonum=185\r\n"
                      "[Ek Dokumanlar]\r\n";
    for (int number = 1; number <= 20; ++number)
        text += "Yazi" + QByteArray::number(number) + "=Adet Re\xE7" "ete\r\nRakam" + QByteArray::number(number)
                + "=0\r\n";
    text += "[Colors]\r\nGridAlternatif=14738665\r\nBRound=12632256\r\n[Ayar]\r\nOnIzle=1\r\nDM=8,25\r\n";
    text += "[Kurum Imza]\r\n01=07-50\r\n11=Milli E\xF0itim M\xFC" "d\xFCrl\xFC\xF0\xFC\r\n[Tetkik]\r\n1=Memur\r\n";
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const auto report = [](const char *name, const std::function<void(int)> &run) {
        BenchTiming::printSpread(QString::fromUtf8(name), kRuns, run);
    };
    QApplication application(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const auto programFolder = ProgramFolder::override(folder.path());
    const QString path = ProfileFile::settingsFilePath();
    bool ok = true;

    std::vector<CodeSheets> rounds;
    for (int round = 0; round < 10; ++round)
        rounds.push_back(changedSheets(round));

    report("save order, file absent", [&](int round) {
        QFile::remove(path);
        ProfileFile file(path);
        ok = CodeSheetSettings::save(file, rounds[std::size_t(round % 10)]) && ok;
    });
    report("save order, other windows' file, sections new", [&](int round) {
        QFile out(path);
        ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(otherSections()) > 0 && ok;
        out.close();
        ProfileFile file(path);
        ok = CodeSheetSettings::save(file, rounds[std::size_t(round % 10)]) && ok;
    });
    report("save order, full file, every cell changed", [&](int round) {
        ProfileFile file(path);
        ok = CodeSheetSettings::save(file, rounds[std::size_t(round % 10)]) && ok;
    });

    std::unique_ptr<TForm5> window;
    report("window created (load + cells), full file", [&](int) { window = std::make_unique<TForm5>(); });
    QLineEdit *cell = window->findChild<QLineEdit *>(QStringLiteral("Edit15"));
    report("window closed after one edit (the save a user waits on)", [&](int round) {
        cell->setText(QString::number(800 + round));
        window->done(QDialog::Rejected);
    });
    report("window closed, nothing changed", [&](int) { window->done(QDialog::Rejected); });

    std::printf("file size %lld bytes\n", static_cast<long long>(QFile(path).size()));
    return ok ? 0 : 1;
}
