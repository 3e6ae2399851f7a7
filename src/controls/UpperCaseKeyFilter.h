#pragma once

#include <QObject>

// Raises every typed character to its Turkish capital before it reaches the
// field. Pasted text is not converted: it does not arrive as key presses.
class UpperCaseKeyFilter : public QObject
{
    Q_OBJECT

public:
    explicit UpperCaseKeyFilter(QObject *parent = nullptr);

    void watch(QObject *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_forwarding = false;
};
