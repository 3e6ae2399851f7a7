#include "maintenance/OldProgramDialogs.h"

#include "base/ApplicationInfo.h"
#include "desktop/FileChooser.h"
#include "desktop/MessageBoxes.h"

#include <QDir>

namespace OldProgramDialogs {

namespace {

QString listed(const QStringList &names)
{
    return names.join(QStringLiteral(", "));
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString chooseFolder(QWidget *parent)
{
    FileChooser::Request request;
    request.caption = QStringLiteral("Eski programın klasörünü seç");
    request.save = false;
    request.folder = true;
    request.filter = QStringLiteral("Klasörler (*)");
    request.start = QDir::homePath();
    const QString folder = FileChooser::ask(request, parent);
    if (folder.isEmpty())
        return {};
    if (OldProgramTransfer::filesIn(folder).isEmpty()) {
        MessageBoxes::warning(parent, QStringLiteral("Seçilen klasörde eski programın dosyaları (%1, %2) yok:\n%3")
                                          .arg(ApplicationInfo::settingsFileName(),
                                               ApplicationInfo::databaseFileName(), native(folder)));
        return {};
    }
    return folder;
}

bool confirm(QWidget *parent, const QString &oldFolder, const QString &targetFolder)
{
    const QStringList files = OldProgramTransfer::filesIn(oldFolder);
    QStringList present;
    for (const QString &name : OldProgramTransfer::filesIn(targetFolder)) {
        if (files.contains(name))
            present.append(name);
    }
    const QString caption = QStringLiteral("Eski Programdan Aktar");
    if (present.isEmpty()) {
        return MessageBoxes::askYesNo(
            parent, caption,
            QStringLiteral("Eski programın dosyaları (%1) programın kullandığı klasöre getirilecek:\n%2\n\n"
                           "Program bundan sonra yeniden başlatılır. Devam edilsin mi?")
                .arg(listed(files), native(targetFolder)),
            MessageBoxes::Icon::Question);
    }
    QStringList kept;
    for (const QString &name : present)
        kept.append(name + QStringLiteral(".onceki"));
    return MessageBoxes::askYesNoDefaultNo(
        parent, caption,
        QStringLiteral("Programın kullandığı klasörde bu dosyalar zaten var: %1\n%2\n\n"
                       "Eski programın dosyaları bunların yerine getirilsin mi? Şimdiki dosyalar silinmez, aynı "
                       "klasörde %3 adıyla saklanır. Program bundan sonra yeniden başlatılır.")
            .arg(listed(present), native(targetFolder), listed(kept)),
        MessageBoxes::Icon::Warning);
}

void report(QWidget *parent, const Result<OldProgramTransfer::Brought> &brought)
{
    if (!brought) {
        MessageBoxes::showError(parent, brought.message() + QStringLiteral("\n\nEski programın dosyaları getirilmedi. "
                                                                           "Program yeniden başlatılıyor"));
        return;
    }
    QString text = QStringLiteral("Eski programın dosyaları getirildi: %1.").arg(listed(brought->files));
    if (!brought->keptPaths.isEmpty()) {
        QStringList kept;
        for (const QString &path : brought->keptPaths)
            kept.append(native(path));
        text += QStringLiteral("\nÖnceki dosyalar saklandı: %1").arg(kept.join(QStringLiteral(", ")));
    }
    if (brought->oldDatabase)
        text += QStringLiteral("\n\nVeritabanı eski programın biçiminde: program açılırken dönüştürülmesini soracak.");
    text += QStringLiteral("\n\nProgram yeniden başlatılıyor.");
    MessageBoxes::information(parent, QStringLiteral("Eski Programdan Aktar"), text);
}

} // namespace OldProgramDialogs
