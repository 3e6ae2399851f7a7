#pragma once

#include "controls/TrayIconBackend.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

// Put on the main window: while the program is minimised it leaves the task
// bar and sits in the notification area instead; using the icon brings it back.
class TTrayMinimizer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool HideWhenMinimized READ hideWhenMinimized WRITE setHideWhenMinimized)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)
    Q_PROPERTY(QMenu *PopupMenu READ popupMenu WRITE setPopupMenu)
    Q_PROPERTY(TTrayRestoreMode RestoreMode READ restoreMode WRITE setRestoreMode)
    Q_PROPERTY(TTrayMode TrayMode READ trayMode WRITE setTrayMode)
    Q_PROPERTY(QIcon TrayIcon READ trayIcon WRITE setTrayIcon)

public:
    enum TTrayRestoreMode { rmClick, rmDblClick };
    Q_ENUM(TTrayRestoreMode)
    enum TTrayMode { tmOnMinimize, tmAlways };
    Q_ENUM(TTrayMode)

    // Longer tips are cut, as the notification area has always done.
    static constexpr int kMaxTipLength = 63;

    // Watches owner when it is a top-level window. Without a backend the
    // desktop's notification area is used.
    explicit TTrayMinimizer(QWidget *owner, std::unique_ptr<TrayIconBackend> backend = nullptr);
    ~TTrayMinimizer() override;

    bool hideWhenMinimized() const { return m_hideWhenMinimized; }
    void setHideWhenMinimized(bool hide);

    QString hint() const { return m_hint; }
    void setHint(const QString &hint);

    // Becomes null by itself when the menu is destroyed.
    QMenu *popupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu *menu);

    TTrayRestoreMode restoreMode() const { return m_restoreMode; }
    void setRestoreMode(TTrayRestoreMode mode);

    TTrayMode trayMode() const { return m_trayMode; }
    void setTrayMode(TTrayMode mode);

    // Used the next time the icon is shown; empty means the application's icon.
    QIcon trayIcon() const { return m_trayIcon; }
    void setTrayIcon(const QIcon &icon);

    bool isMinimised() const { return m_minimised; }
    bool isIconShown() const { return m_iconShown; }

public slots:
    // Brings the program back from the notification area.
    void restore();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ownerMinimised();
    void ownerRestored();
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void showIcon();
    void removeIcon();
    QString tip() const;

    QPointer<QWidget> m_owner;
    std::unique_ptr<TrayIconBackend> m_backend;

    bool m_hideWhenMinimized = true;
    QString m_hint;
    QPointer<QMenu> m_popupMenu;
    TTrayRestoreMode m_restoreMode = rmDblClick;
    TTrayMode m_trayMode = tmOnMinimize;
    QIcon m_trayIcon;

    bool m_minimised = false;
    bool m_iconShown = false;
};
