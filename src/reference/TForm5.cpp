#include "reference/TForm5.h"

TForm5::TForm5(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Kurumsal / Fonksiyonel / Ek. Ayrıntı Kodları"));
    setFixedSize(469, 258);
}
