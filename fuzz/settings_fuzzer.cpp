// Settings files (".danl", data sheets, terrain descriptions) from hostile
// text: read with and without a start line, written back, and looked up and
// changed the way the commands do it.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "host/installation_path.h"
#include "host/paths.h"
#include "settings/settings_file.h"

namespace {

// 1 when `path` (on drive Z:), folded by name, lies below Z:\zuvo-fuzz\Sim.
bool BelowFuzzHost(std::string path) {
  if (path.size() < 3 || (path[0] | 0x20) != 'z' || path[1] != ':') return false;
  for (char& c : path) c = c == '\\' ? '/' : c;
  const std::string folded = std::filesystem::path("/" + path.substr(2)).lexically_normal().generic_string();
  return folded.size() > 15 && folded.compare(0, 15, "/zuvo-fuzz/Sim/") == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  setenv("WINEPREFIX", "/nonexistent-zuvo-fuzz-prefix", 1);  // only Z: exists, as "/"
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

  // Whatever names a file, only a path below the installation is accepted.
  const std::string host = "Z:\\zuvo-fuzz\\Sim\\";
  for (const settings::SettingsEntry& entry : file.entries()) {
    for (const std::string& path : {entry.name, entry.value}) {
      if (host::IsInsideInstallation(host, path)) FUZZ_CHECK(BelowFuzzHost(host::ResolvePath(host, path)));
    }
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
