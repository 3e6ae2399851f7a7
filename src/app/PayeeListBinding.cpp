#include "app/PayeeListBinding.h"

#include "app/PayeeFieldGroup.h"
#include "controls/ChangedOnly.h"
#include "controls/TStripedDBGrid.h"
#include "registry/PayeeList.h"
#include "registry/PayeeListModel.h"

#include <QLineEdit>

#include <algorithm>

PayeeListBinding::PayeeListBinding(PayeeDatabase &database, PaymentCategory category, TStripedDBGrid *grid,
                                   PayeeFieldGroup *fields, QObject *parent)
    : QObject(parent)
    , m_category(category)
    , m_list(new PayeeList(database, category, this))
    , m_model(new PayeeListModel(m_list, this))
    , m_grid(grid)
    , m_fields(fields)
{
    m_list->setObjectName(QStringLiteral("Query%1").arg(categoryIndex(category) + 1));
    m_grid->setDataSet(m_list);

    connect(m_list, &PayeeList::afterScroll, this, &PayeeListBinding::recordMoved);
    connect(m_list, &PayeeList::afterScroll, m_grid, &TStripedDBGrid::syncCurrentRow);
    connect(m_list, &PayeeList::fieldsChanged, this, &PayeeListBinding::showFields);
    connect(m_list, &PayeeList::rowsReset, this, &PayeeListBinding::showFields);
    connect(m_list, &PayeeList::stateChanged, this, [this] {
        showFields();
        emit editStateChanged();
    });
    connect(m_list, &PayeeList::errorOccurred, this, &PayeeListBinding::failed);
    // Reported after the paint or the move that ran into it is over.
    connect(m_list, &PayeeList::recordUnreadable, this, &PayeeListBinding::failed, Qt::QueuedConnection);
    connect(m_list, &PayeeList::listUnreadable, this, &PayeeListBinding::failed, Qt::QueuedConnection);

    for (PayeeColumn column : kAllPayeeColumns) {
        connect(m_fields->edit(column), &QLineEdit::textEdited, this,
                [this, column](const QString &text) { fieldEdited(int(column), text); });
    }
    showFields();
}

PayeeListBinding::~PayeeListBinding()
{
    // A grid that outlives its list must not reach for it.
    if (m_grid)
        m_grid->setDataSet(nullptr);
    m_list->disconnect(this);
}

void PayeeListBinding::attachGrid()
{
    // A hidden grid would ask for the count, and so for every key.
    if (m_grid && m_grid->model() != m_model)
        m_grid->setModel(m_model);
}

bool PayeeListBinding::serves(const QWidget *control) const
{
    if (control && control == m_grid)
        return true;
    const auto &edits = m_fields->edits();
    return std::find(edits.begin(), edits.end(), control) != edits.end();
}

void PayeeListBinding::showFields()
{
    for (PayeeColumn column : kAllPayeeColumns) {
        QLineEdit *edit = m_fields->edit(column);
        if (int(column) != m_columnBeingTyped)
            ChangedOnly::setText(edit, m_list->field(column));
        // A record that could not be read is not edited: its save would
        // wipe the fields nobody typed over.
        edit->setReadOnly(!m_list->isOpen() || !m_list->isCurrentReadable());
    }
}

void PayeeListBinding::fieldEdited(int column, const QString &text)
{
    // Typing starts the list's edit, whose state change shows the record in
    // the fields: the typed field must keep what the user sees.
    m_columnBeingTyped = column;
    const Result<> stored = m_list->setField(PayeeColumn(column), text);
    m_columnBeingTyped = -1;
    if (stored.failed()) {
        showFields();
        emit failed(stored.message());
    }
}
