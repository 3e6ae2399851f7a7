#pragma once

#include "computation/AttachmentLine.h"

#include <array>
#include <vector>

// The twenty attachment lines of the four worksheets and their settings
// keys. The count keys and the description keys are numbered differently
// ("Rakam1" goes with "Yazi5"): stored files rely on this mapping.
namespace AttachmentLines {

inline constexpr int kCount = 20;

// Eczane 1-4, Hastane 1-4, Tedavi 1-6, Ozel 1-6.
const std::array<AttachmentLine, kCount> &all();

int lineCount(PaymentCategory category);
// line is 1-based.
const AttachmentLine &of(PaymentCategory category, int line);

const AttachmentLine &byCountKey(int key);
const AttachmentLine &byDescriptionKey(int key);

} // namespace AttachmentLines
