#pragma once

#include <QDialog>

class TFrmYedek : public QDialog
{
    Q_OBJECT

public:
    explicit TFrmYedek(QWidget *parent = nullptr);
};
