// The names of a safe save's temporary files, the same on every system.
#include <string>

#include "platform/platform.h"
#include "platform/temporary_name.h"

namespace platform {
namespace {

const char kTempPrefix[] = ".zuvo-";
const std::size_t kPrefixLength = sizeof kTempPrefix - 1;
const std::size_t kSuffixLength = 6;     // ".zuvo-<pid>-XXXXXX"
const std::size_t kOldSuffixLength = 8;  // ".zuvo-XXXXXXXX"
const long long kMaxPid = 0xFFFFFFFFll;

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

bool AllHex(const std::string& text, std::size_t from) {
  for (std::size_t pos = from; pos < text.size(); ++pos) {
    if (!IsHexDigit(text[pos])) return false;
  }
  return true;
}

}  // namespace

std::string TemporaryFileName(long pid, unsigned long long value) {
  std::string name = kTempPrefix + std::to_string(pid) + "-";
  for (int shift = 4 * (static_cast<int>(kSuffixLength) - 1); shift >= 0; shift -= 4) {
    name.push_back("0123456789abcdef"[(value >> shift) & 0xF]);
  }
  return name;
}

int IsTemporaryFileName(const std::string& name, long* writer) {
  if (name.compare(0, kPrefixLength, kTempPrefix) != 0) return 0;
  if (name.size() == kPrefixLength + kOldSuffixLength && AllHex(name, kPrefixLength)) {
    if (writer != nullptr) *writer = 0;
    return 1;
  }
  std::size_t pos = kPrefixLength;
  long long pid = 0;
  while (pos < name.size() && name[pos] >= '0' && name[pos] <= '9' && pid <= kMaxPid) {
    pid = pid * 10 + (name[pos++] - '0');
  }
  if (pos == kPrefixLength || name[kPrefixLength] == '0' || pid > kMaxPid || pos >= name.size() || name[pos] != '-' ||
      name.size() - pos - 1 != kSuffixLength || !AllHex(name, pos + 1)) {
    return 0;
  }
  if (writer != nullptr) *writer = static_cast<long>(pid);
  return 1;
}

}  // namespace platform
