#pragma once

#include <QObject>
#include <QString>

#include <array>

class QDateTime;
class QLabel;
class QStatusBar;

// The main window's status bar StatusBar1 and its three panels: the record
// status of the chosen category's list, the hint line, and the clock.
class StatusLine : public QObject
{
    Q_OBJECT

public:
    enum Panel { RecordStatus = 0, Hint = 1, Clock = 2 };

    explicit StatusLine(QStatusBar *bar);

    QString text(Panel panel) const;

    void showRecordStatus(const QString &text);
    // The long part of a hint, after one blank.
    void showHint(const QString &longHint);
    void showClock(const QDateTime &moment);

private:
    std::array<QLabel *, 3> m_panels{};
};
