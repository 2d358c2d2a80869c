// A stand-in for the simulator Kantrelwick, for the tests and the demo.
//
//   Kantrelwick.exe LAYOUT
//
// Installed as Kantrelwick.exe in a test installation, it does the least a
// simulator does that the start sequence relies on: it is started with the
// layout's path, looks at the installation while it runs, and may change the
// layout's camera views and write into the layout's ".danl". It writes what it
// saw and did into its log, and follows a plan for what else to do (crash,
// hang, delete a file). Log and plan: see protocol.h.
//
// The installation is the folder that holds the program.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "stand-in/protocol.h"
#include "host/installation.h"
#include "host/installation_path.h"
#include "host/messages.h"
#include "host/paths.h"
#include "app/installation_seams.h"
#include "layout/camera_set.h"
#include "layout/layout.h"
#include "platform/cp1252.h"
#include "platform/platform.h"
#include "settings/settings_file.h"

namespace stand_in {
namespace {

// The folder that holds the running program, as a native path; empty when
// it cannot be found.
std::string OwnFolder() {
#ifdef _WIN32
  std::string path(32768, '\0');
  DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return std::string();
  path.resize(length);
  return std::filesystem::path(path).parent_path().string();
#else
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.parent_path().string();
#endif
}

long OwnProcessId() {
#ifdef _WIN32
  return static_cast<long>(GetCurrentProcessId());
#else
  return static_cast<long>(getpid());
#endif
}

const double kDegreesPerRadian = 57.29577951308232;
const double kRadiansPerDegree = 0.017453292519943295;

// The log: one "Key: value" line at a time, flushed at once so that a run
// that is killed leaves every line written before.
class Log {
 public:
  explicit Log(const std::string& nativePath) : file_(std::fopen(nativePath.c_str(), "ab")) {}
  ~Log() {
    if (file_ != nullptr) std::fclose(file_);
  }
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;

  void Raw(const std::string& line) {
    if (file_ == nullptr) return;
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
  }
  void Line(const std::string& key, const std::string& value) { Raw(key + ": " + value); }

 private:
  std::FILE* file_;
};

// Text in code page 1252 (paths, names) as the log's UTF-8.
std::string Utf8(const std::string& cp1252) { return platform::Cp1252ToUtf8(cp1252); }

// A command-line argument or a native file name as code page 1252. On Linux
// they are UTF-8; on Windows they are the ANSI code page already.
std::string FromNative(const std::string& text) {
#ifdef _WIN32
  return text;
#else
  std::string cp1252;
  return platform::Utf8ToCp1252(text, &cp1252) ? cp1252 : text;
#endif
}

std::string NativeToLog(const std::string& text) {
#ifdef _WIN32
  return Utf8(text);
#else
  return text;
#endif
}

bool ReadNative(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  *bytes = content.str();
  return true;
}

// A path of the ".danl" or the plan, resolved as the tool resolves swaps.
std::string InInstallation(const std::string& host, const std::string& path) { return host::ResolvePath(host, path); }

// "N Bytes ..." of a file, or "fehlt".
std::string DescribeFile(const std::string& path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, &bytes)) return "fehlt";
  return DescribeContent(bytes);
}

// The files of the kind folder whose content equals `bytes`, as
// "(wie Kind\A, Kind\B)"; empty when none does.
std::string SameAsInKindFolder(const std::string& host, const char* kind, const std::string& bytes) {
  std::string folder = platform::NativePathOf(host + kind);
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    std::string other;
    if (entry.is_regular_file(ec) && ReadNative(entry.path().string(), &other) && other == bytes) {
      names.push_back(NativeToLog(entry.path().filename().string()));
    }
  }
  if (names.empty()) return std::string();
  std::sort(names.begin(), names.end());
  std::string out = " (wie ";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += ", ";
    out += std::string(kind) + "\\" + names[i];
  }
  return out + ")";
}

void RecordActiveFiles(Log& log, const std::string& host) {
  for (int k = 0; k < host::kAssetKindCount; ++k) {
    const host::AssetKindInfo& info = host::AssetKindOf(static_cast<host::AssetKind>(k));
    std::string bytes;
    std::string value = "fehlt";
    if (platform::ReadWholeFile(host + info.activeFile, &bytes)) {
      value = DescribeContent(bytes) + SameAsInKindFolder(host, info.name, bytes);
    }
    log.Line(std::string("Datei ") + info.activeFile, value);
  }
}

// The keys of every section named exactly "Copy", in file order.
std::vector<std::string> SwapKeys(const settings::SettingsFile& danl) {
  std::vector<std::string> keys;
  for (const settings::SettingsEntry* entry : danl.EntriesOf("Copy")) keys.push_back(entry->name);
  return keys;
}

void RecordSwaps(Log& log, const std::string& host, const std::string& danlPath) {
  settings::SettingsFile danl;
  danl.Read(danlPath);
  for (const std::string& key : SwapKeys(danl)) {
    log.Line("Tausch " + Utf8(key), DescribeFile(InInstallation(host, key)));
    log.Line("Tausch " + Utf8(key) + ".sav", DescribeFile(InInstallation(host, key + ".sav")));
  }
}

double AngleWX(const layout::CameraView& view) {
  return std::atan2(static_cast<double>(view.dirY), static_cast<double>(view.dirX)) * kDegreesPerRadian;
}

double AngleWH(const layout::CameraView& view) {
  const double x = view.dirX, y = view.dirY;
  return std::atan2(static_cast<double>(view.dirZ), std::sqrt(x * x + y * y)) * kDegreesPerRadian;
}

std::string DescribeCamera(const layout::CameraView& view) {
  return host::StringPrintf("PX=%d PY=%d PZ=%d OW=%d LH=%d WX=%s WH=%s", static_cast<int>(view.PX),
                            static_cast<int>(view.PY), static_cast<int>(view.PZ), static_cast<int>(view.OW),
                            static_cast<int>(view.LH),
                            layout::FormatCameraReal(static_cast<float>(AngleWX(view))).c_str(),
                            layout::FormatCameraReal(static_cast<float>(AngleWH(view))).c_str());
}

// Moves view `number` as the plan's section "Kamera N" says. True when the
// section exists.
bool MoveCamera(const settings::SettingsFile& plan, int number, layout::CameraView* view) {
  const std::string section = "Kamera " + std::to_string(number);
  if (!plan.HasSection(section)) return false;
  struct IntKey {
    const char* name;
    std::int32_t* value;
  } ints[] = {{"PX", &view->PX}, {"PY", &view->PY}, {"PZ", &view->PZ}, {"OW", &view->OW}, {"LH", &view->LH}};
  for (const IntKey& key : ints) {
    if (plan.Find(section, key.name) != nullptr) *key.value = plan.GetInt(section, key.name, 0);
  }
  if (plan.Find(section, "WX") != nullptr || plan.Find(section, "WH") != nullptr) {
    const double wx = plan.GetReal(section, "WX", static_cast<float>(AngleWX(*view))) * kRadiansPerDegree;
    const double wh = plan.GetReal(section, "WH", static_cast<float>(AngleWH(*view))) * kRadiansPerDegree;
    view->dirX = static_cast<float>(std::cos(wh) * std::cos(wx));
    view->dirY = static_cast<float>(std::cos(wh) * std::sin(wx));
    view->dirZ = static_cast<float>(std::sin(wh));
  }
  return true;
}

void LookAtLayout(Log& log, const std::string& host, const std::string& layoutPath,
                  const settings::SettingsFile& plan) {
  layout::Layout layout;
  if (!layout.Load(layoutPath, app::DataSheets(host::InstallationAt(host)))) {
    log.Line("Anlage", "nicht lesbar");
    return;
  }
  log.Line("Anlage", host::StringPrintf("geladen, %d Gleise, %d Modelle, %d Fahrzeuge", layout.CountLiveTracks(),
                                        layout.CountLiveModels(), layout.CountLiveRollingStock()));
  for (int i = 0; i < layout::kCameraViewCount; ++i) {
    log.Line("Kamera " + std::to_string(i + 1), DescribeCamera(layout.cameraViews[i]));
  }
  bool moved = false;
  for (int i = 0; i < layout::kCameraViewCount; ++i) {
    if (MoveCamera(plan, i + 1, &layout.cameraViews[i])) {
      log.Line("Kamera " + std::to_string(i + 1) + " bewegt", DescribeCamera(layout.cameraViews[i]));
      moved = true;
    }
  }
  if (moved) layout.PrepareForSave();
  if (moved) log.Line("Anlage gespeichert", layout.Save(layoutPath, "") ? "ja" : "nein");
}

// Sets the keys of the plan's "Danl <Section>" sections in the ".danl".
void WriteIntoDanl(Log& log, const std::string& danlPath, const settings::SettingsFile& plan) {
  const std::string prefix = "Danl ";
  settings::SettingsFile danl;
  danl.Read(danlPath);
  std::string section;
  bool changed = false;
  for (const settings::SettingsEntry& entry : plan.entries()) {
    if (entry.isSection) {
      section = entry.name.compare(0, prefix.size(), prefix) == 0 ? entry.name.substr(prefix.size()) : std::string();
    } else if (!section.empty()) {
      danl.Set(section, entry.name, entry.value);
      log.Line("Danl", Utf8("[" + section + "] " + entry.name + "=" + entry.value));
      changed = true;
    }
  }
  if (changed && !danl.Write(danlPath, "")) log.Line("Danl", "nicht geschrieben");
}

// The files the plan names with "Zeigen": what they hold during the run.
void ShowFiles(Log& log, const std::string& host, const settings::SettingsFile& plan) {
  for (const settings::SettingsEntry* entry : plan.EntriesOf("Ablauf")) {
    if (entry->name == "Zeigen") {
      log.Line("Zeigen " + Utf8(entry->value), DescribeFile(InInstallation(host, entry->value)));
    }
  }
}

void DeleteFiles(Log& log, const std::string& host, const settings::SettingsFile& plan) {
  for (const settings::SettingsEntry* entry : plan.EntriesOf("Ablauf")) {
    if (entry->name == "Loeschen") {
      bool removed = platform::RemoveFile(InInstallation(host, entry->value), "") != 0;
      log.Line(removed ? "Geloescht" : "Nicht geloescht", Utf8(entry->value));
    }
  }
}

volatile std::sig_atomic_t g_signals = 0;     // signals received
volatile std::sig_atomic_t g_lastSignal = 0;  // the last one's number

extern "C" void OnSignal(int signal) {
  g_lastSignal = signal;
  g_signals = g_signals + 1;
}

// The plan's "Warten": waits for SIGINT, SIGTERM or SIGHUP, logging each, and
// ends after the plan's "Signale" of them (default 1), at most after
// `seconds`. Returns true when it ended on a signal.
bool WaitForSignals(Log& log, const settings::SettingsFile& plan, int seconds) {
  std::signal(SIGINT, &OnSignal);
  std::signal(SIGTERM, &OnSignal);
#ifdef SIGHUP
  std::signal(SIGHUP, &OnSignal);
#endif
  const int wanted = plan.GetInt("Ablauf", "Signale", 1);
  log.Line("Haengt", std::to_string(seconds) + " s, bis zu einem Signal");
  int logged = 0;
  for (int tick = 0; tick < seconds * 100; ++tick) {
    while (logged < g_signals) {
      ++logged;
      log.Line("Signal", std::to_string(static_cast<int>(g_lastSignal)));
    }
    if (logged >= wanted) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

settings::SettingsFile ReadPlan(const std::string& ownFolder) {
  settings::SettingsFile plan;
  std::string text;
  if (ReadNative((std::filesystem::path(ownFolder) / kPlanFileName).string(), &text)) plan.Parse(text);
  return plan;
}

int RunStandIn(int argc, char** argv) {
  const std::string ownFolder = OwnFolder();
  if (ownFolder.empty()) return 2;
  Log log((std::filesystem::path(ownFolder) / kLogFileName).string());
  log.Raw(kRunHeader);
  log.Line("Prozess", std::to_string(OwnProcessId()));
  log.Line("Argumente", std::to_string(argc));
  for (int i = 0; i < argc; ++i) log.Line("Argument " + std::to_string(i), NativeToLog(argv[i]));

  // The installation is the program's own folder.
  std::string host, error;
  if (!platform::ToWindowsPath(ownFolder, &host, &error)) {
    log.Line("Ende", "Installation unbekannt");
    return 2;
  }
  host = host::InstallationAt(host).folder;

  RecordActiveFiles(log, host);
  if (argc < 2) {
    log.Line("Ende", "keine Anlage angegeben");
    return 2;
  }
  const std::string layoutPath = FromNative(argv[1]);
  const std::string danlPath = host::StripExtension(layoutPath) + ".danl";
  RecordSwaps(log, host, danlPath);

  const settings::SettingsFile plan = ReadPlan(ownFolder);
  ShowFiles(log, host, plan);
  LookAtLayout(log, host, layoutPath, plan);
  WriteIntoDanl(log, danlPath, plan);
  DeleteFiles(log, host, plan);

  const int exitCode = plan.GetInt("Ablauf", "Exitcode", 0);
  // A short run of a given length, so that tests can start a second run
  // while the first one still runs.
  const int pauseMs = plan.GetInt("Ablauf", "Pause", 0);
  if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs < 60000 ? pauseMs : 60000));
  if (plan.GetInt("Ablauf", "Absturz", 0) != 0) {
    log.Line("Absturz", "abort()");
    std::abort();
  }
  const int waitSeconds = plan.GetInt("Ablauf", "Warten", 0);
  if (waitSeconds > 0 && !WaitForSignals(log, plan, waitSeconds)) {
    log.Line("Ende", "Warten abgelaufen");
    return exitCode;
  }
  const int hangSeconds = plan.GetInt("Ablauf", "Haengen", 0);
  if (hangSeconds > 0) {
    log.Line("Haengt", std::to_string(hangSeconds) + " s");
    // Killed long before in every use; the limit only keeps a forgotten
    // stand-in from running for ever.
    std::this_thread::sleep_for(std::chrono::seconds(hangSeconds));
    log.Line("Ende", "Haengen abgelaufen");
    return exitCode;
  }
  log.Line("Ende", "Exitcode " + std::to_string(exitCode));
  return exitCode;
}

}  // namespace
}  // namespace stand_in

int main(int argc, char** argv) { return stand_in::RunStandIn(argc, argv); }
