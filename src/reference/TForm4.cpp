#include "reference/TForm4.h"

TForm4::TForm4(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Kurum - İmza Bilgileri Girişi"));
    setFixedSize(518, 261);
}
