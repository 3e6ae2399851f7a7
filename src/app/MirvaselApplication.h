#pragma once

#include <QApplication>

// The application object. An error that a command does not handle ends that
// command only: it is shown in the standard error box and the program goes on.
class MirvaselApplication : public QApplication
{
    Q_OBJECT

public:
    MirvaselApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
