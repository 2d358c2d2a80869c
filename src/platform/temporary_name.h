// The names of a safe save's temporary files, made in one place (the form is
// read by IsTemporaryFileName, platform.h). Internal to the platform layer.
#pragma once

#include <string>

namespace platform {

// ".zuvo-<pid>-XXXXXX": the writer's process id and the low 24 bits of
// `value` as six lower-case hexadecimal digits. Short, so that a target name
// near the length limit still gets one beside it.
std::string TemporaryFileName(long pid, unsigned long long value);

}  // namespace platform
