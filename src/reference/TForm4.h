#pragma once

#include "reference/InstitutionSettings.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QDate;
class QLineEdit;
class QTabWidget;

// The institution and signatories window. Its fields are the live store that
// the form-filling step reads; every close writes them to the settings file.
// There is no cancel.
class TForm4 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm4(QWidget *parent = nullptr);

    // What the form-filling step reads: the text of a stored field by its
    // object name ("EdSaymanKod", "Edit19", ...), empty for any other name.
    QString fieldText(const QString &objectName) const;
    // All 34 stored values as they stand.
    InstitutionValues values() const;

    // The idle update's step: with CheckBox1 ticked EdButceYili shows the
    // year, else nothing; with CheckBox2 ticked EdTarih shows the date, else
    // nothing. A field that already shows the right text is left alone, so an
    // idle program changes nothing and repaints nothing.
    void applyAutomaticYearAndDate(const QDate &today);

    void done(int result) override;

private:
    void FormCreate();
    void FormClose();
    void setValues(const InstitutionValues &values);

    void buildInstitutionTab();
    void buildSignatoriesTab();
    void buildReviewersTab();
    QWidget *addPage(const QString &name, const QString &caption);
    QLineEdit *addField(QWidget *panel, const QString &name, const QRect &geometry, bool heading = false);
    QCheckBox *addCheckBox(QWidget *panel, const QString &name, const QPoint &topLeft);

    QTabWidget *m_pageControl = nullptr;
    QHash<QString, QLineEdit *> m_fields;
    QHash<QString, QCheckBox *> m_checkBoxes;
};
