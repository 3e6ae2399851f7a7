#include "maintenance/TFrmYedek.h"

TFrmYedek::TFrmYedek(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmYedek"));
    setWindowTitle(QStringLiteral(" Yedekleme İşlemi"));
    setFixedSize(408, 228);
}
