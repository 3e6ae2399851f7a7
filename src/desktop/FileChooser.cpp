#include "desktop/FileChooser.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace {

// The columns of the file list in Turkish: the type, the size and the date
// of modification, which the file system model words in English or in the
// system's locale.
class TurkishFileColumns final : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || !index.isValid())
            return QIdentityProxyModel::data(index, role);
        const QFileInfo file = files->fileInfo(mapToSource(index));
        const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
        switch (index.column()) {
        case 1:
            return file.isDir() ? QString() : turkish.formattedDataSize(file.size(), 1, QLocale::DataSizeTraditionalFormat);
        case 2:
            if (file.isDir())
                return QStringLiteral("Klasör");
            return file.suffix().isEmpty() ? QStringLiteral("Dosya")
                                           : turkish.toUpper(file.suffix()) + QStringLiteral(" Dosyası");
        case 3:
            return turkish.toString(file.lastModified(), QStringLiteral("dd.MM.yyyy HH:mm"));
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const char16_t *const titles[] = {u"Ad", u"Boyut", u"Tür", u"Değiştirilme tarihi"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
            return QString::fromUtf16(titles[section]);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
};

} // namespace

namespace FileChooser {

std::unique_ptr<QFileDialog> dialogFor(const Request &request, QWidget *parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent, request.caption);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(request.save ? QFileDialog::AnyFile
                                     : request.folder ? QFileDialog::Directory : QFileDialog::ExistingFile);
    if (request.folder) {
        dialog->setOption(QFileDialog::ShowDirsOnly);
        dialog->setLabelText(QFileDialog::FileName, QStringLiteral("Klasör:"));
    }
    dialog->setNameFilter(request.filter);
    dialog->setDefaultSuffix(request.suffix);
    dialog->setLabelText(QFileDialog::LookIn, QStringLiteral("Konum:"));
    if (!request.folder)
        dialog->setLabelText(QFileDialog::FileName, QStringLiteral("Dosya adı:"));
    dialog->setLabelText(QFileDialog::FileType, QStringLiteral("Dosya türü:"));
    dialog->setLabelText(QFileDialog::Accept, request.save     ? QStringLiteral("Kaydet")
                                                  : request.folder ? QStringLiteral("Seç")
                                                                   : QStringLiteral("Aç"));
    dialog->setLabelText(QFileDialog::Reject, QStringLiteral("İptal"));
    dialog->setProxyModel(new TurkishFileColumns(dialog.get()));
    if (request.save) {
        dialog->setDirectory(QFileInfo(request.start).absolutePath());
        dialog->selectFile(QFileInfo(request.start).fileName());
    } else {
        dialog->setDirectory(request.start);
    }
    return dialog;
}

QString ask(const Request &request, QWidget *parent)
{
    const std::unique_ptr<QFileDialog> dialog = dialogFor(request, parent);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return dialog->selectedFiles().constFirst();
}

} // namespace FileChooser
