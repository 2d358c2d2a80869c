// Sectioned key/value text files.
//
// Line rules of the reader, in the order they apply to each line:
//   1. The line ends at LF; a CR right before the LF belongs to the line end.
//      Spaces, tabs and line feeds at the end are stripped; leading white
//      space stays. A line may be of any length.
//   2. With a start line, every line before the first one equal to it is
//      skipped; that line and all later ones are handled normally.
//   3. Continuation: while the last entry is a key whose value is non-empty
//      and ends in a backslash, the backslash is removed and the line is
//      appended to the value as plain text (even "[...]" or "k=v"). An empty
//      line ends the continuation and is used up.
//   4. Empty lines are skipped.
//   5. "[" ... "]": a section named by the text up to the first "]"; text
//      after it is ignored. "[]" ends the reading; "[" without "]" is skipped.
//   6. A line with "=" is split at the first "=": key and value, untrimmed.
//   7. Anything else is skipped (there is no comment syntax).
#include "settings/settings_file.h"

#include <climits>
#include <cstdlib>

#include "host/messages.h"
#include "host/save.h"
#include "platform/cp1252.h"
#include "platform/platform.h"

namespace settings {
namespace {

bool IsTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// White space as the C library's isspace() sees it in the "C" locale.
bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The line [begin, end) without its CR LF / LF end and trailing blanks.
void TrimLineEnd(const char* begin, const char** end) {
  const char* e = *end;
  if (e > begin && e[-1] == '\r') --e;
  while (e > begin && IsTrailingBlank(e[-1])) --e;
  *end = e;
}

}  // namespace

void SettingsFile::Clear() {
  entries_.clear();
  entries_.shrink_to_fit();
}

void SettingsFile::Append(const std::string& name, const std::string& value) {
  SettingsEntry entry;
  entry.name = name;
  entry.value = value;
  entries_.push_back(std::move(entry));
}

void SettingsFile::AppendSection(const std::string& name) {
  SettingsEntry entry;
  entry.name = name;
  entry.isSection = true;
  entries_.push_back(std::move(entry));
}

int SettingsFile::Read(const std::string& path, const char* startLine, ReadNote* note) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, &bytes)) return 0;
  std::string text;
  int utf8 = 0, badLine = 0;
  if (!platform::TextFileToCp1252(bytes, &text, &utf8, &badLine)) {
    host::Report(host::Why::kTextLineNotCp1252, path, badLine);
    if (note != nullptr) note->refused = true;
    return 0;
  }
  if (note != nullptr) note->utf8 = utf8 != 0;
  Parse(text, startLine);
  return 1;
}

void SettingsFile::Parse(const std::string& text, const char* startLine) {
  const std::string start = startLine != nullptr ? startLine : "";
  bool waitingForStart = startLine != nullptr;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char* lineEnd = p;
    while (lineEnd < end && *lineEnd != '\n') ++lineEnd;
    const char* next = lineEnd < end ? lineEnd + 1 : end;
    TrimLineEnd(p, &lineEnd);
    const char* line = p;
    std::size_t length = static_cast<std::size_t>(lineEnd - line);
    p = next;

    if (waitingForStart) {
      if (start.size() != length || start.compare(0, length, line, length) != 0) continue;
      waitingForStart = false;
    }

    if (!entries_.empty()) {
      SettingsEntry& last = entries_.back();
      if (!last.isSection && !last.value.empty() && last.value.back() == '\\') {
        last.value.pop_back();
        last.value.append(line, length);
        continue;
      }
    }

    if (length == 0) continue;

    if (line[0] == '[') {
      const char* close = line + 1;
      while (close < lineEnd && *close != ']') ++close;
      if (close == lineEnd) continue;  // no "]": not a section line
      if (close == line + 1) return;   // "[]" ends the reading
      AppendSection(std::string(line + 1, close));
      continue;
    }

    const char* equals = line;
    while (equals < lineEnd && *equals != '=') ++equals;
    if (equals == lineEnd) continue;
    Append(std::string(line, equals), std::string(equals + 1, lineEnd));
  }
}

std::string SettingsFile::Serialize() const {
  std::string text;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const SettingsEntry& entry = entries_[i];
    if (entry.isSection) {
      if (i > 0) text += "\r\n";
      text += '[';
      text += entry.name;
      text += "]\r\n";
    } else {
      text += entry.name;
      text += '=';
      text += entry.value;
      text += "\r\n";
    }
  }
  return text;
}

int SettingsFile::Write(const std::string& path, const std::string& within) const {
  return host::SaveFileReporting(path, Serialize(), within);
}

int SettingsFile::FindSection(const std::string& section) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].isSection && entries_[i].name == section) return static_cast<int>(i);
  }
  return -1;
}

std::vector<const SettingsEntry*> SettingsFile::EntriesOf(const std::string& section) const {
  std::vector<const SettingsEntry*> found;
  bool inside = false;
  for (const SettingsEntry& entry : entries_) {
    if (entry.isSection) {
      inside = entry.name == section;
    } else if (inside) {
      found.push_back(&entry);
    }
  }
  return found;
}

const std::string* SettingsFile::Find(const std::string& section, const std::string& key) const {
  int header = FindSection(section);
  if (header < 0) return nullptr;
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < entries_.size(); ++i) {
    const SettingsEntry& entry = entries_[i];
    if (entry.isSection) break;
    if (entry.name == key) return &entry.value;
  }
  return nullptr;
}

int SettingsFile::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
  const std::string* value = Find(section, key);
  if (value == nullptr) return defaultValue;
  return ParseInt(*value);
}

int SettingsFile::ParseInt(const std::string& text) {
  // atoi: white space, an optional sign, then decimal digits up to the first
  // other character; 0 without digits. A number beyond the int range
  // saturates at INT_MAX or INT_MIN (as the Windows C library's atoi does)
  // instead of overflowing.
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // The magnitude stops growing once past INT_MAX + 1, so it cannot overflow.
  long long magnitude = 0;
  const long long limit = static_cast<long long>(INT_MAX) + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (magnitude <= limit) magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (negative) return magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

double SettingsFile::GetReal(const std::string& section, const std::string& key, float defaultValue) const {
  const std::string* value = Find(section, key);
  if (value == nullptr) return static_cast<double>(defaultValue);
  return ParseReal(*value);
}

double SettingsFile::ParseReal(const std::string& text) {
  // atof is strtod without the end pointer. The program never changes the
  // locale, so the decimal point is ".". strtod stops at a NUL byte, which is
  // where the value would end as a C string too.
  return std::strtod(text.c_str(), nullptr);
}

void SettingsFile::Set(const std::string& section, const std::string& key, const std::string& value) {
  int header = FindSection(section);
  if (header < 0) {
    AppendSection(section);
    Append(key, value);
    return;
  }
  std::size_t i = static_cast<std::size_t>(header) + 1;
  for (; i < entries_.size() && !entries_[i].isSection; ++i) {
    if (entries_[i].name == key) {
      entries_[i].value = value;
      return;
    }
  }
  SettingsEntry entry;
  entry.name = key;
  entry.value = value;
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(i), std::move(entry));
}

int SettingsFile::RemoveSection(const std::string& section) {
  int header = FindSection(section);
  if (header < 0) return 0;
  auto first = entries_.begin() + header;
  auto last = first + 1;
  while (last != entries_.end() && !last->isSection) ++last;
  entries_.erase(first, last);
  return 1;
}

int SettingsFile::HasSection(const std::string& section) const { return FindSection(section) >= 0; }

}  // namespace settings
