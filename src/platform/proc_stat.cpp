// Reading the Linux process table, the same for the native and the wine build.
#include "platform/proc_stat.h"

#include <string>

#include "platform/platform.h"

namespace platform {
namespace procfs {
namespace {

const int kStateField = 3;
const int kStartField = 22;

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

int ParseStat(const std::string& text, char* state, std::string* start) {
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::size_t pos = close + 1;
  for (int number = kStateField; number <= kStartField; ++number) {
    const std::size_t begin = text.find_first_not_of(' ', pos);
    if (begin == std::string::npos) return 0;
    pos = text.find_first_of(" \n", begin);
    const std::string field = text.substr(begin, pos == std::string::npos ? std::string::npos : pos - begin);
    if (number == kStateField) {
      if (field.size() != 1) return 0;
      *state = field[0];
    }
    if (number == kStartField) {
      if (!AllDigits(field)) return 0;
      *start = field;
    }
    if (pos == std::string::npos && number < kStartField) return 0;
  }
  return 1;
}

std::string FirstLine(const std::string& name, Reader read) {
  std::string text;
  if (read(name, &text) != kRead) return std::string();
  text = text.substr(0, text.find('\n'));
  const std::size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(" \t\r") + 1 - begin);
}

std::string StartOf(long pid, Reader read, bool* running) {
  *running = false;
  if (pid <= 0) return std::string();
  std::string text, start;
  char state = 0;
  if (read(std::to_string(pid) + "/stat", &text) != kRead || !ParseStat(text, &state, &start)) return std::string();
  const std::string boot = FirstLine("sys/kernel/random/boot_id", read);
  if (boot.empty()) return std::string();
  *running = state != 'Z' && state != 'X';
  return boot + ":" + start;
}

int Liveness(long pid, const std::string& startTime, Reader read) {
  if (startTime.empty() || pid <= 0) return kDead;
  const std::size_t colon = startTime.rfind(':');
  if (colon == std::string::npos || colon == 0 || !AllDigits(startTime.substr(colon + 1))) return kCannotTell;
  const std::string boot = FirstLine("sys/kernel/random/boot_id", read);
  if (boot.empty()) return kCannotTell;
  if (boot != startTime.substr(0, colon)) return kDead;  // started before this boot
  std::string text, start;
  char state = 0;
  const ReadResult got = read(std::to_string(pid) + "/stat", &text);
  if (got == kMissing) return kDead;
  if (got != kRead || !ParseStat(text, &state, &start)) return kCannotTell;
  if (state == 'Z' || state == 'X') return kDead;
  return start == startTime.substr(colon + 1) ? kAlive : kDead;
}

}  // namespace procfs
}  // namespace platform
