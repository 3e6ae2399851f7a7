#pragma once

#include "base/PaymentCategory.h"

#include <QDate>
#include <QMetaObject>
#include <QObject>

#include <array>
#include <functional>

class WorksheetFields;

// The idle-time pass that keeps the worksheets' controls in step with their
// contents: compute and clear buttons usable only with an amount, stamp-duty
// fields only while their switch is on, attachment descriptions highlighted
// when they have a count, and the institution window's automatic budget year
// and journal date. It derives everything from the controls and keeps no
// state, so it may run at any time and as often as the event loop idles.
class WorksheetStates : public QObject
{
    Q_OBJECT

public:
    using Sheets = std::array<WorksheetFields *, kCategoryCount>; // in category order
    using DateHook = std::function<void(const QDate &today)>;

    explicit WorksheetStates(const Sheets &sheets, QObject *parent = nullptr);
    ~WorksheetStates() override;

    // The institution window's automatic year and date, applied at the end
    // of every pass.
    void setAutomaticYearAndDate(DateHook hook) { m_dateHook = std::move(hook); }
    // Where today's date comes from; the system clock unless replaced.
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }

    // Runs the pass each time the application's event loop is about to wait
    // for input.
    void install();
    void uninstall();
    bool isInstalled() const { return bool(m_connection); }

public slots:
    void UpdateWorksheetStates();

private:
    Sheets m_sheets;
    DateHook m_dateHook;
    std::function<QDate()> m_today = [] { return QDate::currentDate(); };
    QMetaObject::Connection m_connection;
    bool m_running = false;
};
