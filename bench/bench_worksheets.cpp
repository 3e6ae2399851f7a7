// What a clerk waits for on the worksheets: one keystroke into an amount
// field (the field's rewrite, the stamp duty and the words), HESAPLA, and the
// idle pass that runs after every burst of input, on the real widgets.
#include "computation/PaymentEntry.h"
#include "computation/PaymentPreferences.h"
#include "computation/PlainWorksheet.h"
#include "computation/WorksheetDefinition.h"
#include "controls/TAmountEdit.h"
#include "worksheets/WorksheetPanel.h"
#include "worksheets/WorksheetSet.h"

#include "BenchTiming.h"

#include <QApplication>
#include <QKeyEvent>

#include <cstdio>

namespace {

void pressKey(QWidget *widget, Qt::Key key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const auto measure = [](const char *name, int rounds, const std::function<void(int)> &work) {
        BenchTiming::printMeanPerCall(name, rounds, work, BenchTiming::Unit::Microseconds);
    };
    const StoredPaymentPreferences preferences;

    PlainWorksheet plain(worksheetDefinition(PaymentCategory::Treatment), preferences);
    plain.setStampSwitch(true);
    measure("live update, plain (Tedavi)", 20000, [&](int i) {
        plain.enter(1, PaymentEntry::valueText(9999999999.99L - i));
    });
    measure("HESAPLA, plain (Tedavi)", 20000, [&](int) { plain.pressCompute(); });

    WorksheetSet set;
    set.setPreferences(&preferences);
    WorksheetPanel *panel = set.panel(PaymentCategory::Pharmacy);
    panel->show();
    TAmountEdit *amount = panel->field(1);
    amount->setText(QStringLiteral("9.999.999.999,99"));
    amount->setCursorPosition(amount->text().size() - 3); // in the whole part
    measure("keystroke into Edit1 with its live update", 20000, [&](int i) {
        if (i % 2)
            pressKey(amount, Qt::Key_Backspace, QStringLiteral("\b"));
        else
            pressKey(amount, Qt::Key_7, QStringLiteral("7"));
    });
    measure("HESAPLA on the widgets (Eczane)", 5000, [&](int) { set.BtnHazir1Click(); });
    measure("idle pass, nothing changed", 20000, [&](int) { set.UpdateWorksheetStates(); });
    return 0;
}
