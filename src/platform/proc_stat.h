// The Linux process table as /proc shows it: read natively, and under wine
// through drive Z:. The judgement of a start time of the Linux form
// ("BOOTID:TICKS") is the same in both builds; only the reading differs.
// Internal to the platform layer.
#pragma once

#include <string>

namespace platform {
namespace procfs {

enum ReadResult {
  kRead,     // *text holds the file's bytes
  kMissing,  // there is no such file (no such process)
  kRefused,  // it exists, or may, but cannot be read
};

// Reads the file `name` below /proc ("sys/kernel/random/boot_id",
// "1234/stat").
using Reader = ReadResult (*)(const std::string& name, std::string* text);

// Field 3 (the state) and field 22 (the start in clock ticks since the boot)
// of the text of /proc/PID/stat: "PID (NAME) STATE ...", where the name may
// hold blanks and parentheses, so the fields are counted from its last ')'.
// Fails on any other text.
int ParseStat(const std::string& text, char* state, std::string* start);

// "BOOTID:TICKS" of process `pid`; empty when there is none (or it cannot be
// read). *running: it has not ended (it is no zombie).
std::string StartOf(long pid, Reader read, bool* running);

// Whether `pid`, started at `startTime` of the Linux form, runs (a Liveness
// of platform.h): kDead when the boot differs, there is no such process, it
// is a zombie or it started at another tick; kCannotTell when the table
// cannot be read or the start time is malformed.
int Liveness(long pid, const std::string& startTime, Reader read);

// The text of `name` up to its first line end, blanks around it cut; empty
// when it cannot be read.
std::string FirstLine(const std::string& name, Reader read);

}  // namespace procfs
}  // namespace platform
