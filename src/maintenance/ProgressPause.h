#pragma once

#include <functional>

// The pauses between the progress steps of the backup and the compaction.
// The window repaints meanwhile (the bar moves), but takes no keyboard or
// mouse input until the pause is over. Tests replace the waiting, so that
// the steps run at once and can be counted.
namespace ProgressPause {

void pause(int milliseconds);

using Handler = std::function<void(int milliseconds)>;
// An empty handler restores the real waiting.
void setHandlerForTesting(Handler handler);

} // namespace ProgressPause
