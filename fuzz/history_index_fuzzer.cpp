// A layout history's index from hostile text: read; a text that reads is
// written back to the same versions, names only content files, and goes
// through the bound without naming a content that a kept version needs.
#include <set>
#include <string>

#include "fuzz_support.h"
#include "settings/history_index.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  settings::HistoryIndex index;
  std::string fault;
  if (!settings::ParseHistoryIndex(text, &index, &fault)) {
    FUZZ_CHECK(!fault.empty() && index.versions.empty());
    return 0;
  }
  int previous = 0;
  for (const settings::HistoryVersion& v : index.versions) {
    FUZZ_CHECK(v.number > previous);
    previous = v.number;
    FUZZ_CHECK(v.layout.content.empty() || settings::IsContentName(v.layout.content, "anl"));
    FUZZ_CHECK(v.settings.content.empty() || settings::IsContentName(v.settings.content, "danl"));
  }
  const std::string written = settings::HistoryIndexText(index);
  settings::HistoryIndex again;
  FUZZ_CHECK(settings::ParseHistoryIndex(written, &again, &fault));
  FUZZ_CHECK(settings::HistoryIndexText(again) == written);
  const std::vector<std::string> unused =
      settings::DropVersions(&again, settings::VersionsBeyond(again, settings::HistoryBound{2, 1, 100}));
  std::set<std::string> kept;
  for (const settings::HistoryVersion& v : again.versions) kept.insert({v.layout.content, v.settings.content});
  for (const std::string& name : unused) FUZZ_CHECK(!kept.count(name));
  return 0;
}
