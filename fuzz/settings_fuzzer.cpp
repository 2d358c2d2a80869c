// Settings files (".danl", data sheets, terrain descriptions) from hostile
// text: read with and without a start line, written back, and looked up and
// changed the way the commands do it.
#include <string>

#include "fuzz_support.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  settings::SettingsFile file;
  file.Parse(text);
  std::string written = file.Serialize();

  // What was written reads back into as many entries, except where a value
  // ending in a backslash joins the next line.
  settings::SettingsFile reread;
  reread.Parse(written);
  FUZZ_CHECK(reread.count() <= file.count());

  for (const settings::SettingsEntry& entry : file.entries()) {
    if (entry.isSection) continue;
    file.GetInt("Zuvo", entry.name, 7);
    file.GetReal("Zuvo", entry.name, 1.5f);
    settings::SettingsFile::ParseInt(entry.value);
    settings::SettingsFile::ParseReal(entry.value);
  }

  settings::SettingsFile started;
  started.Parse(text, "[Zuvo]");
  started.GetInt("Zuvo", "ZusLen", 0);

  // A key set is found with exactly its value; a removed section is gone.
  std::string section = file.count() > 0 ? file.entry(0).name : "Zuvo";
  file.Set(section, "Kamera", text.substr(0, 64));
  const std::string* found = file.Find(section, "Kamera");
  FUZZ_CHECK(found != nullptr && *found == text.substr(0, 64));
  if (file.HasSection(section)) {
    int before = file.count();
    FUZZ_CHECK(file.RemoveSection(section));
    FUZZ_CHECK(file.count() < before);
  }
  file.Serialize();
  return 0;
}
