#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// The application's current hint: the hint of the control under the mouse,
// or of the nearest container of it that has one, or of the highlighted menu
// item. It follows every window of the program and announces a change only,
// so that a dialog that opens or closes, or the mouse moving between two
// controls with the same hint, changes nothing.
class ApplicationHint : public QObject
{
    Q_OBJECT

public:
    explicit ApplicationHint(QObject *parent = nullptr);
    ~ApplicationHint() override;

    // As the hint was given (short and long parts); empty for none.
    QString current() const { return m_hint; }

    // The hint a control shows: its own, or that of the nearest container
    // within its window that has one.
    static QString hintOf(const QWidget *control);

signals:
    // The long part of the new hint ("" for a control without one).
    void changed(const QString &longHint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow(const QString &hint);
    void followEnteredControl();

    QString m_hint;
    QPointer<QWidget> m_entered;
    bool m_followPending = false;
};
