// How long the amount field needs per keystroke: formatting, reading a text
// back, and one key through the key rules on the longest amount a field holds.
#include "controls/AmountKeyEditor.h"
#include "controls/AmountText.h"

#include <chrono>
#include <cstdio>
#include <functional>

namespace {

volatile long double sinkValue = 0;
volatile qsizetype sinkLength = 0;

void measure(const char *name, int rounds, const std::function<void(int)> &work)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        work(i);
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    std::printf("%-36s %10.0f ns per call\n", name, spent.count() / rounds);
}

} // namespace

int main()
{
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
    return 0;
}
