#include "ui/console/choice_files.h"

#include <algorithm>
#include <utility>

#include "host/installation_path.h"
#include "host/messages.h"
#include "host/wording.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "ui/console/commands.h"

namespace console {
namespace {

unsigned char Folded(char c) { return platform::Cp1252Upper(static_cast<unsigned char>(c)); }

// A file dialog pattern ('*' any run, '?' one character), ignoring case.
bool Matches(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
  if (*name == '\0') return false;
  return (*pattern == '?' || Folded(*pattern) == Folded(*name)) && Matches(pattern + 1, name + 1);
}

// The first pattern of a filter "Name|pattern|Name|pattern|".
std::string FirstPattern(const std::string& filter) {
  const std::size_t start = filter.find('|') + 1;  // 0 without a name
  return filter.substr(start, filter.find('|', start) - start);
}

}  // namespace

int ChoiceFiles(host::AssetKind kind, std::vector<std::string>* files) {
  files->clear();
  const char* hostDirectory = host::HostDirectory();
  const host::AssetKindInfo& info = host::AssetKindOf(kind);
  std::vector<std::pair<std::string, int>> entries;
  if (hostDirectory == nullptr || !platform::ListFolder(hostDirectory + std::string(info.name), &entries)) return 0;
  const std::string pattern = FirstPattern(info.filter);
  for (const auto& entry : entries) {
    if (entry.second == platform::kPathFile && Matches(pattern.c_str(), entry.first.c_str())) {
      files->push_back(entry.first);
    }
  }
  std::sort(files->begin(), files->end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Folded(x) < Folded(y); });
  });
  return 1;
}

int CheckChoice(host::AssetKind kind, const char* option, const std::string& choice) {
  const char* hostDirectory = host::HostDirectory();
  if (choice.empty() || hostDirectory == nullptr) return kExitOk;
  const host::AssetKindInfo& info = host::AssetKindOf(kind);
  const bool plain = host::IsPlainName(choice) != 0;
  const std::string folder = hostDirectory + std::string(info.name);
  if (plain && platform::PathStatus(folder + "\\" + choice) == platform::kPathFile) return kExitOk;
  std::vector<std::string> files;
  std::string available;
  if (!ChoiceFiles(kind, &files)) {
    available = host::Wording(host::Why::kChoiceFolderMissing, folder);
  } else if (files.empty()) {
    available = host::Wording(host::Why::kChoiceNone);
  }
  for (const std::string& file : files) available += (available.empty() ? "" : ", ") + file;
  if (plain) {
    host::Report(host::Why::kChoiceMissing, option, choice, folder, available);
  } else {
    host::Report(host::Why::kChoiceNotAName, option, folder, choice, available);
  }
  return plain ? kExitFailed : kExitUsage;
}

}  // namespace console
