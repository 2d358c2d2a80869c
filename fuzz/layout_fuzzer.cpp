// Layout files (".anl") from hostile bytes. A temporary installation holds
// data sheets, so the extra data of library-driven rolling stock is read with
// real lengths (and refused ones). A layout that loads must save into bytes
// that load again, and saving those must give the same bytes: a resave never
// makes a layout unreadable or drifts. A load that fails must say so.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "host/installation.h"
#include "app/installation_seams.h"
#include "layout/json_dump.h"
#include "layout/layout.h"
#include "platform/platform.h"

namespace {

// The scratch installation, once it is made.
host::Installation& Installation() {
  static host::Installation installation;
  return installation;
}

// The scratch file that each input is also read from, and its Windows path.
std::string& InputFile() {
  static std::string unixPath;
  return unixPath;
}
std::string& InputPath() {
  static std::string windowsPath;
  return windowsPath;
}

// The same bytes read from a file a few bytes at a time load as they do from
// memory, with as many messages and lines, into the same records.
void CheckChunkedRead(const std::string& bytes, const layout::Layout& fromMemory, int messages, int lines) {
  fuzz::WriteScratchFile(InputFile(), bytes);
  fuzz::ResetReportCounts();
  layout::Layout fromFile;
  const int loaded = fromFile.LoadInChunks(InputPath(), app::DataSheets(Installation()), 1 + bytes.size() % 700);
  FUZZ_CHECK(loaded == fromMemory.loaded);
  FUZZ_CHECK(fuzz::MessagesShown() == messages && fuzz::DiagnosticsWritten() == lines);
  if (loaded) FUZZ_CHECK(layout::DumpJson(fromFile, "") == layout::DumpJson(fromMemory, ""));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string& scratch = fuzz::ScratchFolder("layout");
  // A prefix of our own: no dosdevices, so Z: is the root folder.
  setenv("WINEPREFIX", (scratch + "/prefix").c_str(), 1);
  const std::string sheets = scratch + "/host/Rollmaterial/Datenbl\xC3\xA4tter/";
  fuzz::WriteScratchFile(sheets + "V200.txt", "[Zuvo]\r\nZusLen=3\r\n");
  fuzz::WriteScratchFile(sheets + "Lok.txt", "Vorspann\r\n[Zuvo]\r\nZusLen=16\r\n");
  fuzz::WriteScratchFile(sheets + "Lang.txt", "[Zuvo]\nZusLen=300\n");
  fuzz::WriteScratchFile(sheets + "Null.txt", "[Zuvo]\r\nZusLen=0\r\n");
  fuzz::WriteScratchFile(sheets + "Neg.txt", "[Zuvo]\r\nZusLen=-1\r\n");
  fuzz::WriteScratchFile(sheets + "Gross.txt", "[Zuvo]\r\nZusLen=40000\r\n");
  fuzz::WriteScratchFile(sheets + "Leer.txt", "");
  std::string host, error;
  if (!platform::ToWindowsPath(scratch + "/host", &host, &error)) fuzz::Fail("host path", __FILE__, __LINE__);
  Installation() = host::InstallationAt(host);
  InputFile() = scratch + "/input.anl";
  if (!platform::ToWindowsPath(InputFile(), &InputPath(), &error)) fuzz::Fail("input path", __FILE__, __LINE__);
  fuzz::SilenceReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  fuzz::ResetReportCounts();
  layout::Layout layout;
  int loaded = layout.LoadFromBytes(bytes, app::DataSheets(Installation()));
  FUZZ_CHECK(loaded == layout.loaded);
  const int messages = fuzz::MessagesShown(), lines = fuzz::DiagnosticsWritten();
  CheckChunkedRead(bytes, layout, messages, lines);
  if (!loaded) {
    FUZZ_CHECK(messages + lines > 0);
    return 0;
  }
  FUZZ_CHECK(messages == 0);
  layout::DumpJson(layout, "");

  std::string first;
  layout.PrepareForSave();
  if (!layout.Serialize(&first)) return 0;  // a name or count the format cannot hold
  layout::Layout again;
  FUZZ_CHECK(again.LoadFromBytes(first, app::DataSheets(Installation())));
  again.PrepareForSave();
  std::string second;
  FUZZ_CHECK(again.Serialize(&second));
  FUZZ_CHECK(first == second);
  return 0;
}
