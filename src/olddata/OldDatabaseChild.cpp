#include "olddata/OldDatabaseChild.h"

#include "olddata/OldDatabaseFile.h"
#include "olddata/OldPayeeStreamWriter.h"

#include <QString>

#include <cstdio>
#include <cstring>

#ifndef Q_OS_WIN
#include <sys/resource.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define MIRVASEL_CHILD_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MIRVASEL_CHILD_SANITIZED 1
#endif
#endif

namespace OldDatabaseChild {

namespace {

[[noreturn]] void end(int status)
{
    std::fflush(stdout);
    std::fflush(stderr);
    // Without the handlers at exit: the child's memory goes with it.
    _exit(status);
}

void limitResources()
{
#ifndef Q_OS_WIN
    // A damaged file must not take the machine's memory with it; the
    // sanitizers reserve vast address ranges of their own and go without.
#ifndef MIRVASEL_CHILD_SANITIZED
    constexpr rlim_t kMemory = rlim_t(2) << 30;
    const rlimit memory = {kMemory, kMemory};
    setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
#endif
#ifdef Q_OS_LINUX
    // A parent killed while the child reads leaves no reader behind (one
    // killed before this line leaves a reader that ends with its file).
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
}

} // namespace

bool requested(int argc, char **argv)
{
    return argc >= 2 && (std::strcmp(argv[1], kOption) == 0 || std::strcmp(argv[1], kLookOption) == 0);
}

void run(int argc, char **argv)
{
    limitResources();
    if (argc != 3)
        end(2);
    const bool look = std::strcmp(argv[1], kLookOption) == 0;
    const QString path = QString::fromLocal8Bit(argv[2]);
    OldPayeeStreamWriter writer;
    // Sent in pieces the parent takes in as they come, while the next rows
    // are read.
    constexpr qsizetype kPiece = 64 * 1024;
    const auto send = [&writer] {
        QByteArray &bytes = writer.bytes();
        if (!bytes.isEmpty() && std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout) != std::size_t(bytes.size()))
            end(1);
        bytes.resize(0);
    };
    const OldDatabaseFile::Outcome outcome
        = look ? OldDatabaseFile::look(path)
               : OldDatabaseFile::read(path, [&](PaymentCategory category, const PayeeUtf8Fields &fields) {
                     writer.row(category, fields);
                     if (writer.bytes().size() >= kPiece)
                         send();
                 });
    writer.end(outcome);
    send();
    end(0);
}

} // namespace OldDatabaseChild
