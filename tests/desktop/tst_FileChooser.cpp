// The program's file dialogs list files in Turkish: a folder's type, a
// file's type, its size and its date, whatever the system's language.
#include "desktop/FileChooser.h"

#include <QAbstractProxyModel>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestFileChooser : public QObject
{
    Q_OBJECT

private slots:
    void listsInTurkish();
};

void TestFileChooser::listsInTurkish()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Yedekler")));
    QFile file(folder.filePath(QStringLiteral("belge.pdf")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2048, 'x')) == 2048);
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 30)), QFileDevice::FileModificationTime));
    file.close();

    const auto dialog = FileChooser::dialogFor({QStringLiteral("PDF olarak kaydet"),
                                                QStringLiteral("PDF belgeleri (*.pdf)"), QStringLiteral("pdf"), true,
                                                folder.filePath(QStringLiteral("yeni.pdf"))},
                                               nullptr);
    auto *files = dialog->findChild<QFileSystemModel *>();
    QVERIFY(files);
    QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
    dialog->show();
    QVERIFY(loaded.count() > 0 || loaded.wait(10000));
    const QAbstractProxyModel *list = dialog->proxyModel();
    QVERIFY(list);

    const auto row = [&](const QString &name, int column) {
        const QModelIndex source = files->index(folder.filePath(name), column);
        return list->mapFromSource(source).data().toString();
    };
    QCOMPARE(row(QStringLiteral("Yedekler"), 2), QStringLiteral("Klasör"));
    QCOMPARE(row(QStringLiteral("belge.pdf"), 2), QStringLiteral("PDF Dosyası"));
    QCOMPARE(row(QStringLiteral("belge.pdf"), 1), QStringLiteral("2,0 kB"));
    QCOMPARE(row(QStringLiteral("belge.pdf"), 3), QStringLiteral("05.03.2024 14:30"));
    QStringList headers;
    for (int column = 0; column < 4; ++column)
        headers.append(list->headerData(column, Qt::Horizontal).toString());
    QCOMPARE(headers, (QStringList{"Ad", "Boyut", "Tür", "Değiştirilme tarihi"}));
    QCOMPARE(dialog->labelText(QFileDialog::Accept), QStringLiteral("Kaydet"));
    QCOMPARE(dialog->labelText(QFileDialog::Reject), QStringLiteral("İptal"));
}

QTEST_MAIN(TestFileChooser)
#include "tst_FileChooser.moc"
