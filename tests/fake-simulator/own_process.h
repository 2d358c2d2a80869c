// The few things the stand-in asks of the operating system about itself.
#pragma once

#include <string>

namespace stand_in {

// The folder that holds the running program, as a native path without a
// trailing separator; empty when it cannot be found.
std::string OwnFolder();

// The running process's id.
long OwnProcessId();

// Sleeps about `milliseconds`.
void Pause(int milliseconds);

// The value of an environment variable, empty when unset.
std::string Environment(const char* name);

}  // namespace stand_in
