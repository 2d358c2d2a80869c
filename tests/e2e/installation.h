// The built zuvo run as a child process, on an installation in a throwaway
// Wine prefix that it finds through the prefix's registry (WINEPREFIX):
// prefix/system.reg names C:\Sim\Kantrelwick.exe, prefix/dosdevices/c: links
// to ../drive_c, prefix/drive_c/Sim/ is the installation.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "stand-in/protocol.h"
#include "e2e/fault_sweep.h"
#include "support/test_support.h"

namespace e2e {

using Args = std::vector<std::string>;  // a row's command line, kept on one line by the formatter

struct RunResult {
  int exitCode = -1;  // -1 when it did not exit normally
  std::string out, err;
};

// zuvo with `args`, and `env` ("NAME=value") added to our environment.
struct Child {
  pid_t pid = -1;
  std::shared_ptr<testing_support::TempDir> io;  // its standard output and error
};
Child SpawnZuvo(const Args& args, const Args& env);
// Any program: argv[0] is its path; standard error to `errorTo` when given.
Child SpawnProgram(const Args& argv, const Args& env, const std::string& errorTo = "");
RunResult Finish(const Child& child);
inline RunResult RunZuvo(const Args& args, const Args& env = {}) { return Finish(SpawnZuvo(args, env)); }

std::string CrLf(const Args& lines);
// Polls `done` until it holds; false after `seconds`.
bool Eventually(const std::function<bool()>& done, int seconds = 60);
void WaitUntilGone(long pid);  // up to ten seconds
// `text` with each "(Prozess 4711)" as "(Prozess N)".
std::string WithoutPid(const std::string& text);
// The line a start prints before the simulator runs, its process as N.
const char kRunning[] =
    "Kantrelwick l\xC3\xA4uft (Prozess N) \xE2\x80\x93 Strg+C beendet den Lauf und stellt alles zur\xC3\xBC"
    "ck.\n";
// The value of `key` in `section` of the settings text, "(fehlt)" without one.
std::string SettingsValue(const std::string& text, const char* section, const char* key);

extern const char kOwnBufferStop[];

// C:\Sim\: the stand-in as Kantrelwick.exe, the active files each with its own text, one
// alternative in each kind folder, Anlagen\Test.anl with cameras 1 to 5 and a model twice.
class InstallationTest : public ::testing::Test {
 protected:
  void SetUp() override;
  std::string Layout() const { return Native("Anlagen\\Test.anl"); }
  std::string Inside(const std::string& relative) const { return "prefix/drive_c/Sim\\" + relative; }
  std::string Native(const std::string& relative = "") const { return dir_.NativePath(Inside(relative)); }
  std::string Prefix() const { return dir_.NativePath("prefix"); }
  std::vector<std::string> Env() const { return {"WINEPREFIX=" + Prefix()}; }
  void Write(const std::string& relative, const std::string& bytes) const { dir_.Write(Inside(relative), bytes); }
  std::string Read(const std::string& relative) const { return dir_.Read(Inside(relative)); }
  bool Exists(const std::string& relative) const { return dir_.Exists(Inside(relative)); }
  // `text` as zuvo shows it to a user who types Unix paths: each path on C:
  // ("C:\Sim\Anlagen\Berg.anl") as the Unix path through the prefix's drive.
  std::string Typed(const std::string& text) const;
  // The registry's command for the simulator's files; empty leaves the key out.
  void SetRegistryCommand(const std::string& command) const;
  RunResult Zuvo(const Args& args, Args env = {}) const {
    env.insert(env.begin(), Env().front());
    return RunZuvo(args, env);
  }
  RunResult Start(Args options = {}) const {  // zuvo start LAYOUT OPTIONS
    options.insert(options.begin(), {"start", Layout()});
    return Zuvo(options);
  }
  // Anlagen\Berg.anl: a present and a missing object of each kind.
  void WriteMixedLayout() const;

  void WriteSettings(const Args& lines) const { Write("Anlagen\\Test.danl", CrLf(lines)); }
  std::string ReadSettings() const { return Read("Anlagen\\Test.danl"); }
  void WritePlan(const Args& lines) const { Write(stand_in::kPlanFileName, CrLf(lines)); }
  std::vector<stand_in::Run> Runs() const { return stand_in::ReadRuns(Read(stand_in::kLogFileName)); }
  stand_in::Run OnlyRun() const;                    // a test failure when there is not exactly one
  bool WaitForHangingRun(std::size_t count) const;  // run number `count` hangs; false after a minute

  testing_support::TempDir dir_;
  const std::string host_ = "C:\\Sim\\";
};

}  // namespace e2e
