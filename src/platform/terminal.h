// Whether the standard streams are a terminal (for questions and progress).
#pragma once

namespace platform {

enum StandardStream { kStandardInput = 0, kStandardOutput = 1, kStandardError = 2 };

// 1 when the stream is connected to a terminal (console), else 0.
int IsTerminal(StandardStream stream);

}  // namespace platform
