// The overrides through which tests replace a part of the program: each puts
// back what was there before it, whichever way its scope is left.
#include "base/ProgramFolder.h"
#include "base/ScopedOverride.h"
#include "support/ProgramFolderFixture.h"

#include <QCoreApplication>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

namespace {

// A test that fails a check with its override in place: QVERIFY returns
// from here at once.
void failWhileOverridden(QString &slot, bool &finished)
{
    const ScopedOverride<QString> failing(slot, QStringLiteral("yarıda kalan"));
    QVERIFY(slot.isEmpty());
    finished = true;
}

} // namespace

class TestScopedOverride : public QObject
{
    Q_OBJECT

private slots:
    void nestedOverridesPutBackTheOuterOne();
    void aReplacedFunctionIsLetGoAtTheEnd();
    void aMovedOverrideEndsOnceWhereItWasMovedTo();
    void aFailedCheckLeavesNothingBehind();
    void programFoldersNest();
};

void TestScopedOverride::nestedOverridesPutBackTheOuterOne()
{
    QString slot = QStringLiteral("program");
    {
        const ScopedOverride<QString> outer(slot, QStringLiteral("dış"));
        QCOMPARE(slot, QStringLiteral("dış"));
        {
            const ScopedOverride<QString> inner(slot, QStringLiteral("iç"));
            QCOMPARE(slot, QStringLiteral("iç"));
            {
                // An empty replacement is a value like any other.
                const ScopedOverride<QString> empty(slot, QString());
                QVERIFY(slot.isEmpty());
            }
            QCOMPARE(slot, QStringLiteral("iç"));
        }
        QCOMPARE(slot, QStringLiteral("dış"));
    }
    QCOMPARE(slot, QStringLiteral("program"));
}

void TestScopedOverride::aReplacedFunctionIsLetGoAtTheEnd()
{
    std::function<int()> slot;
    const auto captured = std::make_shared<int>(2);
    {
        const ScopedOverride<std::function<int()>> outer(slot, [] { return 1; });
        {
            const ScopedOverride<std::function<int()>> inner(slot, [captured] { return *captured; });
            QCOMPARE(slot(), 2);
            QCOMPARE(captured.use_count(), 2);
        }
        // What the inner one captured (a test's locals, by reference) is
        // no longer reachable through the slot.
        QCOMPARE(captured.use_count(), 1);
        QCOMPARE(slot(), 1);
    }
    QVERIFY(!slot);
}

void TestScopedOverride::aMovedOverrideEndsOnceWhereItWasMovedTo()
{
    QString slot = QStringLiteral("program");
    std::optional<ScopedOverride<QString>> kept;
    {
        ScopedOverride<QString> made(slot, QStringLiteral("test"));
        kept.emplace(std::move(made));
    }
    // The moved-from one put nothing back.
    QCOMPARE(slot, QStringLiteral("test"));
    {
        const ScopedOverride<QString> moved(std::move(*kept));
        kept.reset();
        QCOMPARE(slot, QStringLiteral("test"));
    }
    QCOMPARE(slot, QStringLiteral("program"));
}

void TestScopedOverride::aFailedCheckLeavesNothingBehind()
{
    QString slot = QStringLiteral("önceki");
    bool finished = false;
    QEXPECT_FAIL("", "the check fails on purpose, to leave the function early", Abort);
    failWhileOverridden(slot, finished);
    QVERIFY(!finished);
    QCOMPARE(slot, QStringLiteral("önceki"));
}

// The fixtures of the test suites nest: an inner one gives the folder back
// to the outer one, not to the folder the program chose for itself.
void TestScopedOverride::programFoldersNest()
{
    const QString chosen = ProgramFolder::path();
    QVERIFY(!chosen.isEmpty());
    {
        ProgramFolderFixture outer;
        QCOMPARE(ProgramFolder::path(), outer.path());
        {
            ProgramFolderFixture inner;
            QCOMPARE(ProgramFolder::path(), inner.path());
            {
                const auto missing = ProgramFolder::override(inner.filePath(QStringLiteral("yok")));
                QCOMPARE(ProgramFolder::path(), inner.filePath(QStringLiteral("yok")));
            }
            QCOMPARE(ProgramFolder::path(), inner.path());
        }
        QCOMPARE(ProgramFolder::path(), outer.path());
    }
    QCOMPARE(ProgramFolder::path(), chosen);
}

QTEST_GUILESS_MAIN(TestScopedOverride)
#include "tst_ScopedOverride.moc"
