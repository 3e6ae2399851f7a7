#pragma once

#include "reference/CellWindow.h"
#include "referencedata/InstitutionSettings.h"

#include <QHash>

class QCheckBox;
class QDate;
class QLineEdit;

// The institution and signatories window. Its values, read from the settings
// file at start, are the live store that the form-filling step reads; its
// fields edit them from their first keystroke, and every close writes them
// to the settings file. There is no cancel.
class TForm4 : public CellWindow
{
    Q_OBJECT

public:
    explicit TForm4(QWidget *parent = nullptr);

    // What the form-filling step reads: the text of a stored field by its
    // object name ("EdSaymanKod", "Edit19", ...), empty for any other name.
    QString fieldText(const QString &objectName) const;
    // All 34 stored values as they stand.
    const InstitutionValues &values() const { return m_values; }

    // The idle update's step: with CheckBox1 ticked EdButceYili shows the
    // year, else nothing; with CheckBox2 ticked EdTarih shows the date, else
    // nothing. A field that already shows the right text is left alone, so an
    // idle program changes nothing and repaints nothing.
    void applyAutomaticYearAndDate(const QDate &today);

    void done(int result) override;

private:
    void FormCreate();
    void FormClose();
    void buildPages() override;
    void showValues();
    void setValue(const QString &objectName, const QString &text);

    void buildInstitutionTab();
    void buildSignatoriesTab();
    void buildReviewersTab();
    QLineEdit *addField(QWidget *panel, const QString &name, const QRect &geometry, bool heading = false);
    QCheckBox *addCheckBox(QWidget *panel, const QString &name, const QPoint &topLeft);

    InstitutionValues m_values = InstitutionSettings::defaults();
    QHash<QString, QLineEdit *> m_fields;
    QHash<QString, QCheckBox *> m_checkBoxes;
};
