#pragma once

#include <QString>
#include <QtTest>

// Types text key by key, Turkish letters included (QTest::keyClicks only
// knows ASCII).
inline void typeText(QWidget *widget, const QString &text)
{
    for (QChar character : text) {
        const auto key = Qt::Key(character.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(character), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(character), Qt::NoModifier);
    }
}
