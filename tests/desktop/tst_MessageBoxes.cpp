#include "desktop/MessageBoxes.h"
#include "support/MessageRecorder.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest>

class TestMessageBoxes : public QObject
{
    Q_OBJECT

private slots:
    void errorTextGetsFullStop_data();
    void errorTextGetsFullStop();
    void standardErrorBox();
    void turkishButtons();
    void boxHasOnlyATitleAndAClose();
};

void TestMessageBoxes::errorTextGetsFullStop_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Dosya bulunamadı" << "Dosya bulunamadı.";
    QTest::newRow("digit") << "Hata 42" << "Hata 42.";
    QTest::newRow("full stop") << "Bitti." << "Bitti.";
    QTest::newRow("exclamation comes before the full stop") << "Dikkat !" << "Dikkat !";
    QTest::newRow("comma comes before the full stop") << "a," << "a,";
    QTest::newRow("slash comes after the full stop") << "a/" << "a/.";
    QTest::newRow("empty") << "" << "";
}

void TestMessageBoxes::errorTextGetsFullStop()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(MessageBoxes::errorBoxText(text), shown);
}

void TestMessageBoxes::standardErrorBox()
{
    MessageRecorder recorder;
    MessageBoxes::showError(nullptr, QStringLiteral("Veritabanı açılamadı"));
    QCOMPARE(recorder.requests().size(), 1);
    const auto &request = recorder.requests().first();
    QCOMPARE(request.caption, QStringLiteral("Mirvasel"));
    QCOMPARE(request.text, QStringLiteral("Veritabanı açılamadı."));
    QCOMPARE(request.icon, MessageBoxes::Icon::Stop);
    QCOMPARE(request.buttons, QList<MessageBoxes::Button>{MessageBoxes::Button::Ok});
}

void TestMessageBoxes::turkishButtons()
{
    using MessageBoxes::Button;
    QCOMPARE(MessageBoxes::buttonText(Button::Yes), QStringLiteral("Evet"));
    QCOMPARE(MessageBoxes::buttonText(Button::No), QStringLiteral("Hayır"));
    QCOMPARE(MessageBoxes::buttonText(Button::Ok), QStringLiteral("TAMAM"));
    QCOMPARE(MessageBoxes::buttonText(Button::Cancel), QStringLiteral("İptal"));

    MessageRecorder recorder({Button::Yes});
    QVERIFY(MessageBoxes::askYesNo(nullptr, QStringLiteral("Dikkat !"), QStringLiteral("?"),
                                   MessageBoxes::Icon::Warning));
    QVERIFY(!MessageBoxes::askYesNo(nullptr, QStringLiteral("Dikkat !"), QStringLiteral("?"),
                                    MessageBoxes::Icon::Warning));
}

void TestMessageBoxes::boxHasOnlyATitleAndAClose()
{
    QWidget parent;
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    Qt::WindowFlags flags;
    bool shown = false;
    QTimer::singleShot(0, &parent, [&] {
        QWidget *box = QApplication::activeModalWidget();
        shown = box != nullptr;
        if (box) {
            flags = box->windowFlags();
            box->close();
        }
    });
    MessageBoxes::information(&parent, QStringLiteral("Bilgi"), QStringLiteral("Yedekleme tamamlandı."));
    QVERIFY(shown);
    const QString said = QStringLiteral("flags 0x%1").arg(int(flags), 0, 16);
    QVERIFY2(flags.testFlag(Qt::CustomizeWindowHint), qPrintable(said));
    QVERIFY2(flags.testFlag(Qt::WindowTitleHint) && flags.testFlag(Qt::WindowCloseButtonHint), qPrintable(said));
    QVERIFY2(!(flags & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)), qPrintable(said));
}

QTEST_MAIN(TestMessageBoxes)
#include "tst_MessageBoxes.moc"
