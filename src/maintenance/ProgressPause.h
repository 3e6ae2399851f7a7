#pragma once

#include "base/ScopedOverride.h"

#include <functional>

// The pauses between the progress steps of the backup and the compaction.
// The window repaints meanwhile (the bar moves), but takes no keyboard or
// mouse input until the pause is over. Tests replace the waiting, so that
// the steps run at once and can be counted.
namespace ProgressPause {

void pause(int milliseconds);

using Handler = std::function<void(int milliseconds)>;
// The handler replaces the waiting while the override lives.
[[nodiscard]] ScopedOverride<Handler> overrideHandler(Handler handler);

} // namespace ProgressPause
