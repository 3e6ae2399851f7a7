#include "app/MirvaselApplication.h"

#include "desktop/MessageBoxes.h"

#include <exception>

MirvaselApplication::MirvaselApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool MirvaselApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        MessageBoxes::showError(nullptr, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        MessageBoxes::showError(nullptr, QStringLiteral("Beklenmeyen bir hata oluştu"));
    }
    return false;
}
