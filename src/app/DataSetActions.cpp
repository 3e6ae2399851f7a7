#include "app/DataSetActions.h"

#include "registry/PayeeList.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

bool isMenu(const QWidget *widget)
{
    return qobject_cast<const QMenuBar *>(widget) || qobject_cast<const QMenu *>(widget);
}

} // namespace

DataSetActions::DataSetActions(QWidget *window, ListOf listOf)
    : QObject(window)
    , m_window(window)
    , m_listOf(std::move(listOf))
    , m_edit(new QAction(window))
    , m_post(new QAction(window))
{
    m_edit->setObjectName(QStringLiteral("DataSetEdit1"));
    m_post->setObjectName(QStringLiteral("DataSetPost1"));
    connect(qApp, &QApplication::focusChanged, this, &DataSetActions::focusMoved);
    update();
}

DataSetActions::~DataSetActions()
{
    disconnect(qApp, nullptr, this, nullptr);
}

void DataSetActions::focusMoved(QWidget *old, QWidget *now)
{
    if (isMenu(now) && !isMenu(old))
        m_focusBeforeMenu = old;
    update();
}

PayeeList *DataSetActions::focusedList() const
{
    const QWidget *focus = QApplication::focusWidget();
    if (isMenu(focus))
        focus = m_focusBeforeMenu;
    if (!focus || focus->window() != m_window)
        return nullptr;
    return m_listOf(focus);
}

void DataSetActions::update()
{
    PayeeList *list = focusedList();
    m_edit->setEnabled(list && list->isOpen() && list->canEdit());
    m_post->setEnabled(list && list->canPost());
}

Result<> DataSetActions::edit()
{
    PayeeList *list = focusedList();
    return list ? list->edit() : Result<>::success();
}

Result<> DataSetActions::post()
{
    PayeeList *list = focusedList();
    return list ? list->post() : Result<>::success();
}
