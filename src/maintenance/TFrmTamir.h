#pragma once

#include <QDialog>

class TFrmTamir : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmTamir(QWidget *parent = nullptr);
};
