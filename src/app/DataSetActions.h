#pragma once

#include "base/Result.h"

#include <QObject>
#include <QPointer>

#include <functional>

class PayeeList;
class QAction;
class QWidget;

// The "Düzenle" and "Kaydet" commands (the actions DataSetEdit1 and
// DataSetPost1), which act on the payee list of the field or grid that has
// the keyboard focus and are enabled as that list allows. Opening the menu
// from the keyboard takes the focus to the menu; they still act on the
// control the user came from.
class DataSetActions : public QObject
{
    Q_OBJECT

public:
    // listOf names the list a control of window belongs to, or none.
    using ListOf = std::function<PayeeList *(const QWidget *control)>;

    DataSetActions(QWidget *window, ListOf listOf);
    ~DataSetActions() override;

    QAction *editAction() const { return m_edit; }
    QAction *postAction() const { return m_post; }

    // The list the two commands act on now.
    PayeeList *focusedList() const;
    // Follows the focused list's state; its owner calls it when a list
    // starts or ends an edit.
    void update();

    Result<> edit();
    Result<> post();

private:
    void focusMoved(QWidget *old, QWidget *now);

    QWidget *m_window;
    ListOf m_listOf;
    QAction *m_edit;
    QAction *m_post;
    QPointer<QWidget> m_focusBeforeMenu;
};
