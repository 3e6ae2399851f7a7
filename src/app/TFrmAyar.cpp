#include "app/TFrmAyar.h"

TFrmAyar::TFrmAyar(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmAyar"));
    setWindowTitle(QStringLiteral("Ayarlar"));
    setFixedSize(402, 234);
}
