#include "settings/history_index.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/sha256.h"
#include "settings/settings_file.h"

namespace settings {
namespace {

const char kHeader[] = "StartZUVO-Verlauf";
const char kVersionPrefix[] = "Fassung ";
const char kFormat[] = "1";
const int kHighestNumber = 999999999;
const long long kLargestSize = 1LL << 40;  // larger than any layout pair by far
const int kLargestCount = 1000000;

// A decimal number of digits only, at most `largest`; -1 otherwise.
long long DecimalOf(const std::string& text, long long largest) {
  if (text.empty() || text.size() > 13) return -1;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value <= largest ? value : -1;
}

// Control characters and a backslash at the end (which would continue the
// value on the next line) cannot be stored in a value; blanks at the end
// would not be read back.
std::string StorableText(const std::string& text) {
  std::string out;
  for (char c : text) out.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
  while (!out.empty() && (out.back() == '\\' || out.back() == ' ')) out.pop_back();
  return out;
}

void AppendFile(SettingsFile* file, const char* key, const HistoryFile& stored) {
  file->Append(key, stored.content);
  if (!stored.content.empty()) file->Append(std::string(key) + "Groesse", std::to_string(stored.size));
}

void AppendCount(SettingsFile* file, const char* key, int count) {
  if (count >= 0) file->Append(key, std::to_string(count));
}

// The keys of one version section, gathered; a key given twice is a fault.
using Keys = std::map<std::string, std::string>;

int ReadFile(const Keys& keys, const std::string& section, const char* key, const char* extension, HistoryFile* stored,
             std::string* fault) {
  auto name = keys.find(key);
  if (name == keys.end()) return *fault = section + " " + key, 0;
  if (name->second.empty()) return 1;
  if (!IsContentName(name->second, extension)) return *fault = section + " " + key, 0;
  stored->content = name->second;
  const std::string sizeKey = std::string(key) + "Groesse";
  auto size = keys.find(sizeKey);
  stored->size = size == keys.end() ? -1 : DecimalOf(size->second, kLargestSize);
  if (stored->size < 0) return *fault = section + " " + sizeKey, 0;
  return 1;
}

int ReadCount(const Keys& keys, const std::string& section, const char* key, int* count, std::string* fault) {
  auto value = keys.find(key);
  if (value == keys.end()) return 1;  // unknown
  const long long n = DecimalOf(value->second, kLargestCount);
  if (n < 0) return *fault = section + " " + key, 0;
  *count = static_cast<int>(n);
  return 1;
}

int ReadVersion(int number, const std::string& section, const Keys& keys, HistoryVersion* version, std::string* fault) {
  version->number = number;
  auto time = keys.find("Zeit"), command = keys.find("Befehl");
  if (time != keys.end()) version->time = time->second;
  if (command != keys.end()) version->command = command->second;
  if (!ReadFile(keys, section, "Anl", "anl", &version->layout, fault) ||
      !ReadFile(keys, section, "Danl", "danl", &version->settings, fault)) {
    return 0;
  }
  if (version->layout.content.empty() && version->settings.content.empty()) return *fault = section + " Anl", 0;
  return ReadCount(keys, section, "Gleise", &version->tracks, fault) &&
         ReadCount(keys, section, "Modelle", &version->models, fault) &&
         ReadCount(keys, section, "Rollmaterial", &version->rollingStock, fault) &&
         ReadCount(keys, section, "KamSets", &version->cameraSets, fault);
}

// The sections of the text with their keys, in file order; keys before the
// first section are dropped. A key twice in one section is a fault.
struct Section {
  std::string name;
  Keys keys;
};

int GatherSections(const std::string& text, std::vector<Section>* sections, std::string* fault) {
  SettingsFile file;
  file.Parse(text);
  for (const SettingsEntry& entry : file.entries()) {
    if (entry.isSection) {
      sections->push_back(Section{entry.name, {}});
    } else if (!sections->empty() && !sections->back().keys.emplace(entry.name, entry.value).second) {
      return *fault = "[" + sections->back().name + "] " + entry.name, 0;
    }
  }
  return 1;
}

}  // namespace

std::string HistoryIndexText(const HistoryIndex& index) {
  SettingsFile file;
  file.AppendSection(kHeader);
  file.Append("Format", kFormat);
  file.Append("Fassungen", std::to_string(index.versions.size()));
  for (const HistoryVersion& version : index.versions) {
    file.AppendSection(kVersionPrefix + std::to_string(version.number));
    file.Append("Zeit", StorableText(version.time));
    file.Append("Befehl", StorableText(version.command));
    AppendFile(&file, "Anl", version.layout);
    AppendFile(&file, "Danl", version.settings);
    AppendCount(&file, "Gleise", version.tracks);
    AppendCount(&file, "Modelle", version.models);
    AppendCount(&file, "Rollmaterial", version.rollingStock);
    AppendCount(&file, "KamSets", version.cameraSets);
  }
  return file.Serialize();
}

int ParseHistoryIndex(const std::string& text, HistoryIndex* index, std::string* fault) {
  index->versions.clear();
  std::vector<Section> sections;
  HistoryIndex read;
  if (!GatherSections(text, &sections, fault)) return 0;
  const std::string header = std::string("[") + kHeader + "]";
  auto first = std::find_if(sections.begin(), sections.end(), [](const Section& s) { return s.name == kHeader; });
  if (first == sections.end()) return *fault = header, 0;
  auto format = first->keys.find("Format");
  if (format == first->keys.end() || format->second != kFormat) return *fault = header + " Format", 0;
  auto declared = first->keys.find("Fassungen");
  const long long count = declared == first->keys.end() ? -1 : DecimalOf(declared->second, kHighestNumber);
  if (count < 0) return *fault = header + " Fassungen", 0;
  const std::size_t prefix = sizeof kVersionPrefix - 1;
  std::set<int> numbers;
  for (const Section& section : sections) {
    if (section.name.compare(0, prefix, kVersionPrefix) != 0) continue;
    const std::string where = "[" + section.name + "]";
    const std::string digits = section.name.substr(prefix);
    const long long number = digits.size() > 1 && digits[0] == '0' ? -1 : DecimalOf(digits, kHighestNumber);
    if (number < 1 || !numbers.insert(static_cast<int>(number)).second) return *fault = where, 0;
    HistoryVersion version;
    if (!ReadVersion(static_cast<int>(number), where, section.keys, &version, fault)) return 0;
    read.versions.push_back(version);
  }
  if (static_cast<long long>(read.versions.size()) != count) return *fault = header + " Fassungen", 0;
  std::sort(read.versions.begin(), read.versions.end(),
            [](const HistoryVersion& a, const HistoryVersion& b) { return a.number < b.number; });
  *index = std::move(read);
  return 1;
}

std::string ContentName(const std::string& bytes, const char* extension) {
  return platform::Sha256Hex(bytes) + "." + extension;
}

int IsContentName(const std::string& name, const char* extension) {
  const std::string tail = std::string(".") + extension;
  if (name.size() != 64 + tail.size() || name.compare(64, std::string::npos, tail) != 0) return 0;
  return std::all_of(name.begin(), name.begin() + 64,
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::vector<int> VersionsBeyond(const HistoryIndex& index, const HistoryBound& bound) {
  const std::size_t floor = static_cast<std::size_t>(std::max(bound.floor, 0));
  const std::size_t keep = std::max(static_cast<std::size_t>(std::max(bound.keep, 0)), floor);
  std::vector<int> beyond;
  std::size_t first = 0;  // the oldest version still kept
  const std::size_t count = index.versions.size();
  while (count - first > keep) beyond.push_back(index.versions[first++].number);
  if (bound.maxBytes <= 0) return beyond;
  // The bytes of the kept versions, each content counted once.
  const auto storedBytes = [&index](std::size_t from) {
    std::map<std::string, long long> sizes;
    for (std::size_t i = from; i < index.versions.size(); ++i) {
      for (const HistoryFile* file : {&index.versions[i].layout, &index.versions[i].settings}) {
        if (!file->content.empty()) sizes[file->content] = file->size;
      }
    }
    long long total = 0;
    for (const auto& entry : sizes) total += entry.second;
    return total;
  };
  while (count - first > floor && storedBytes(first) > bound.maxBytes) beyond.push_back(index.versions[first++].number);
  return beyond;
}

std::vector<std::string> DropVersions(HistoryIndex* index, const std::vector<int>& numbers) {
  std::set<std::string> candidates, kept;
  std::vector<HistoryVersion> left;
  for (const HistoryVersion& version : index->versions) {
    const bool drop = std::find(numbers.begin(), numbers.end(), version.number) != numbers.end();
    for (const HistoryFile* file : {&version.layout, &version.settings}) {
      if (!file->content.empty()) (drop ? candidates : kept).insert(file->content);
    }
    if (!drop) left.push_back(version);
  }
  index->versions = std::move(left);
  std::vector<std::string> unused;
  for (const std::string& name : candidates) {
    if (!kept.count(name)) unused.push_back(name);
  }
  return unused;
}

int NextVersionNumber(const HistoryIndex& index) {
  if (index.versions.empty()) return 1;
  const int highest = index.versions.back().number;
  return highest < kHighestNumber ? highest + 1 : 0;
}

}  // namespace settings
