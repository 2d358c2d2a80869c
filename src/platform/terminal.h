// Whether the standard streams are a terminal (for questions and progress),
// and text written to them as the user reads it.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

enum StandardStream { kStandardInput = 0, kStandardOutput = 1, kStandardError = 2 };

// 1 when the stream is connected to a terminal (console), else 0.
int IsTerminal(StandardStream stream);

// Writes text in code page 1252 to `stream` and flushes it: on Linux as
// UTF-8; on Windows to a console as UTF-16 (WriteConsoleW, so that every
// character shows whatever the console's code page), to a pipe or a file as
// the code page 1252 bytes themselves. 0 when the write failed.
int WriteText(std::FILE* stream, const std::string& cp1252);

}  // namespace platform
