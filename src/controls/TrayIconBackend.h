#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <memory>

// The notification-area icon of the tray minimizer. The desktop's own icon is
// made by createSystem(); tests put a recording one in its place.
class TrayIconBackend : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    static std::unique_ptr<TrayIconBackend> createSystem();

    // False on desktops without a notification area.
    virtual bool isAvailable() const = 0;

    virtual void showIcon(const QIcon &icon, const QString &tip) = 0;
    virtual void setTip(const QString &tip) = 0;
    virtual void removeIcon() = 0;

signals:
    void activated(QSystemTrayIcon::ActivationReason reason);
};
