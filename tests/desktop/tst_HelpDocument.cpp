// The help document next to the program: text a browser shows as written,
// and every topic the windows open.
#include <QFile>
#include <QStringDecoder>
#include <QtTest>

class TestHelpDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void holdsNoControlCharacters();
    void hasEveryTopic();
    void backupTopicNamesNestedFolders();

private:
    QString m_text;
};

void TestHelpDocument::initTestCase()
{
    QFile file(QStringLiteral(MIRVASEL_HELP_DOCUMENT));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    m_text = decoder.decode(bytes);
    QVERIFY2(!decoder.hasError(), "the help document is not UTF-8 throughout");
    QVERIFY(!m_text.isEmpty());
}

void TestHelpDocument::holdsNoControlCharacters()
{
    // A control character is shown as a box or as nothing: an escape that
    // went wrong, never a letter of the text. Only line ends and tabs.
    QStringList found;
    int line = 1;
    for (const QChar c : std::as_const(m_text)) {
        const char16_t code = c.unicode();
        if (code == u'\n')
            ++line;
        const bool c0 = code < 0x20 && code != u'\n' && code != u'\t';
        const bool c1 = code >= 0x7F && code <= 0x9F;
        if (c0 || c1)
            found.append(QStringLiteral("U+%1 on line %2").arg(int(code), 4, 16, QLatin1Char('0')).arg(line));
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral(", "))));
}

void TestHelpDocument::hasEveryTopic()
{
    // HelpViewer::showTopic(n) goes to the anchor "topic-n"; the windows ask
    // for topics 2 to 6, the contents list every one.
    for (int topic = 1; topic <= 6; ++topic) {
        QVERIFY2(m_text.contains(QStringLiteral("id=\"topic-%1\"").arg(topic)), qPrintable(QString::number(topic)));
        QVERIFY2(m_text.contains(QStringLiteral("href=\"#topic-%1\"").arg(topic)), qPrintable(QString::number(topic)));
    }
}

void TestHelpDocument::backupTopicNamesNestedFolders()
{
    const qsizetype start = m_text.indexOf(QStringLiteral("id=\"topic-3\""));
    const qsizetype end = m_text.indexOf(QStringLiteral("id=\"topic-4\""));
    QVERIFY(start > 0 && end > start);
    QVERIFY2(m_text.mid(start, end - start).contains(QStringLiteral("<kbd>Yedek\\2026</kbd>")),
             "topic 3 names a nested folder as the backup dialog takes it");
}

QTEST_GUILESS_MAIN(TestHelpDocument)
#include "tst_HelpDocument.moc"
