#include "maintenance/TFrmTamir.h"

TFrmTamir::TFrmTamir(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmTamir"));
    setWindowTitle(QStringLiteral(" Veritabanı Bakım ve Onarım Sihirbazı"));
    setFixedSize(408, 175);
}
