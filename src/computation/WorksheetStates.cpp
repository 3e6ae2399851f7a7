#include "computation/WorksheetStates.h"

#include "computation/AttachmentLines.h"
#include "computation/PaymentEntry.h"
#include "computation/WorksheetFields.h"

#include <QAbstractEventDispatcher>

WorksheetStates::WorksheetStates(const Sheets &sheets, QObject *parent)
    : QObject(parent)
    , m_sheets(sheets)
{
}

WorksheetStates::~WorksheetStates()
{
    uninstall();
}

void WorksheetStates::install()
{
    if (m_connection)
        return;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return;
    m_connection = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                           &WorksheetStates::UpdateWorksheetStates, Qt::DirectConnection);
}

void WorksheetStates::uninstall()
{
    disconnect(m_connection);
    m_connection = {};
}

void WorksheetStates::UpdateWorksheetStates()
{
    // A nested event loop started by anything below (a message box from the
    // date hook, say) idles too; that pass must wait for this one.
    if (m_running)
        return;
    m_running = true;

    for (WorksheetFields *sheet : m_sheets)
        sheet->setComputeEnabled(PaymentEntry::hasAmount(*sheet));
    for (WorksheetFields *sheet : m_sheets) {
        if (!sheet->definition().stampAlwaysApplies)
            sheet->setStampEnabled(sheet->stampSwitchChecked());
    }
    for (WorksheetFields *sheet : m_sheets)
        sheet->setClearEnabled(PaymentEntry::hasAmount(*sheet));

    for (const PaymentCategory category : {PaymentCategory::Pharmacy, PaymentCategory::Hospital,
                                           PaymentCategory::Private, PaymentCategory::Treatment}) {
        WorksheetFields *sheet = m_sheets[std::size_t(categoryIndex(category))];
        for (int line = 1; line <= AttachmentLines::lineCount(category); ++line)
            sheet->setAttachmentHighlighted(line, sheet->attachmentCount(line) > 0);
    }

    if (m_dateHook)
        m_dateHook(m_today());
    m_running = false;
}
