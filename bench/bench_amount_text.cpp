// How long the amount field needs per keystroke: formatting, reading a text
// back, and one key through the key rules on the longest amount a field holds;
// then a paste, and the kuruş amounts the register reads and shows.
#include "base/AmountKeyEditor.h"
#include "base/AmountText.h"
#include "base/KurusAmount.h"

#include "BenchTiming.h"

#include <cstdio>

namespace {

volatile long double sinkValue = 0;
volatile qsizetype sinkLength = 0;

} // namespace

int main()
{
    const auto measure = [](const char *name, int rounds, const std::function<void(int)> &work) {
        BenchTiming::printMeanPerCall(name, rounds, work, BenchTiming::Unit::Nanoseconds);
    };
    constexpr int rounds = 200000;
    const QString longest = QStringLiteral("9.999.999.999.999,99");

    measure("format 13 whole digits", rounds, [](int i) {
        sinkLength = AmountText::format(9999999999999.99L - i, 2).size();
    });
    measure("TextAsFloat of the longest text", rounds, [&](int) {
        sinkValue = AmountText::TextAsFloat(longest, 2);
    });
    measure("reformat the longest text", rounds, [&](int) {
        sinkLength = AmountText::reformat(longest, 2).size();
    });

    AmountKeyEditor editor;
    editor.setDecimals(2);
    editor.setMaxLength(20);
    const AmountKeyEditor::State middle{longest, 8, 0};
    measure("one digit key (down and press)", rounds, [&](int) {
        const auto down = editor.keyDown(middle, Qt::Key_5, Qt::NoModifier);
        sinkLength = editor.keyPress(down.rewritten ? down.state() : middle, u'5').text.size();
    });
    measure("one backspace over a separator", rounds, [&](int) {
        const AmountKeyEditor::State afterSeparator{longest, 2, 0};
        sinkLength = editor.keyPress(afterSeparator, u'\b').text.size();
    });

    const QString pasted = QStringLiteral(" 9 999 999 999 999,99 TL ");
    measure("paste the longest amount with blanks and TL", rounds, [&](int) {
        sinkLength = AmountText::pastedAmount(pasted, 2).value_or(QString()).size();
    });
    measure("KurusAmount::fromText of the longest text", rounds, [&](int) {
        sinkValue = KurusAmount::fromText(longest).value_or(0);
    });
    measure("KurusAmount::toText of 13 whole digits", rounds, [](int i) {
        sinkLength = KurusAmount::toText(999999999999999LL - i).size();
    });
    return 0;
}
