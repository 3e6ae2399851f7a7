#pragma once

#include "olddata/OldDatabaseChild.h"

#include <QtTest>

// The main of a test that reads old databases: the test's own executable is
// also the reading child (OldDatabaseChild), as the program's is, when it
// is started with the child's hidden option.
#define MIRVASEL_OLD_READER_TEST_MAIN(Application, TestObject)                                                   \
    int main(int argc, char *argv[])                                                                             \
    {                                                                                                            \
        if (OldDatabaseChild::requested(argc, argv))                                                             \
            OldDatabaseChild::run(argc, argv);                                                                   \
        Application application(argc, argv);                                                                     \
        TestObject test;                                                                                         \
        return QTest::qExec(&test, argc, argv);                                                                  \
    }
