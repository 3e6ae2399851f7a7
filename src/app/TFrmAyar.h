#pragma once

#include <QDialog>

class TFrmAyar : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmAyar(QWidget *parent = nullptr);
};
