#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

// Makes every write past bytes into any file of this process fail, as a
// full disk or a failing stick would, for the fixture's life. Works for
// root too, where taking write permission away does not.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
#ifdef Q_OS_UNIX
        // The write fails with EFBIG instead of the signal killing us.
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = rlim_t(bytes);
        m_applied = setrlimit(RLIMIT_FSIZE, &limit) == 0;
#else
        Q_UNUSED(bytes);
#endif
    }
    ~FileSizeLimit()
    {
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
#endif
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isApplied() const { return m_applied; }

private:
    bool m_applied = false;
#ifdef Q_OS_UNIX
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
#endif
};
