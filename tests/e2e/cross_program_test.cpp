// The two programs judge and heal each other's runs: "zuvo.exe" under wine
// killed while its simulator runs is refused by the native "zuvo" until the
// simulator has ended, then healed; and the other way round. Both name the
// installation through drive Z:, as a Linux user's two programs would name
// one installation folder.
//
// Runs only where the Windows build and a Wine prefix are at hand
// (ZUVO_CROSS_WINDOWS_BUILD, ZUVO_CROSS_WINEPREFIX: the test stage sets
// them); skipped otherwise.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/installation.h"

namespace e2e {
namespace {

// The processes whose command line holds both texts.
std::vector<pid_t> ProcessesWith(const std::string& a, const std::string& b) {
  std::vector<pid_t> found;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return found;
  while (dirent* entry = readdir(proc)) {
    const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (pid <= 0 || pid == getpid()) continue;
    std::ifstream in("/proc/" + std::string(entry->d_name) + "/cmdline", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string line = text.str();
    if (line.find(a) != std::string::npos && line.find(b) != std::string::npos) found.push_back(pid);
  }
  closedir(proc);
  return found;
}

bool KillAllWith(const std::string& a, const std::string& b) {
  const std::vector<pid_t> pids = ProcessesWith(a, b);
  for (pid_t pid : pids) kill(pid, SIGKILL);
  for (int i = 0; i < 200 && !ProcessesWith(a, b).empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return !pids.empty();
}

class CrossProgramTest : public InstallationTest {
 protected:
  void SetUp() override {
    const char* build = std::getenv("ZUVO_CROSS_WINDOWS_BUILD");
    const char* prefix = std::getenv("ZUVO_CROSS_WINEPREFIX");
    if (build == nullptr || prefix == nullptr) GTEST_SKIP() << "no Windows build or Wine prefix named";
    windowsBuild_ = build;
    winePrefix_ = prefix;
    InstallationTest::SetUp();
    for (const char* name : {"A.dat", "B.dat"}) Write(name, name);
    WriteSettings({"[Copy]", "A.dat=B.dat"});
    WritePlan({"[Ablauf]", "Haengen=60"});
    dir_.MakeDirs("ohne-wine");
    std::string unix = InstallationTest::Native();
    for (char& c : unix) c = c == '/' ? '\\' : c;
    folder_ = "Z:" + unix;
  }
  // The test's own folder, as every command line of its programs names it.
  std::string Folder() const { return dir_.native().substr(dir_.native().rfind('/') + 1); }
  void TearDown() override {
    if (windowsBuild_.empty()) return;
    KillAllWith("Kantrelwick.exe", Folder());
    KillAllWith("zuvo.exe", folder_);
  }
  std::string ZuvoExe() const { return windowsBuild_ + "/src/ui/console/zuvo.exe"; }
  // The native program, with a prefix that has no drives: every path is on Z:.
  std::vector<std::string> NativeEnv() const { return {"WINEPREFIX=" + dir_.NativePath("ohne-wine")}; }
  std::vector<std::string> WineArgs(std::vector<std::string> args) const {
    args.insert(args.begin(),
                {"/usr/bin/env", "WINEPREFIX=" + winePrefix_, "WINEDEBUG=-all", "wine", ZuvoExe(), "--host", folder_});
    return args;
  }
  RunResult NativeZuvo(const std::vector<std::string>& args) const {
    std::vector<std::string> all = {"--host", Unix()};
    all.insert(all.end(), args.begin(), args.end());
    return RunZuvo(all, NativeEnv());
  }
  std::string Unix() const { return InstallationTest::Native(); }
  RunResult UnderWine(const std::vector<std::string>& args) const { return Finish(SpawnProgram(WineArgs(args), {})); }
  bool JournalNamesSimulator() const { return Read("StartZUVO-Lauf.txt").find("Simulator=") != std::string::npos; }
  std::string Files() const { return Read("A.dat") + Read("B.dat") + (Exists("A.dat.sav") ? " sav" : ""); }

  std::string windowsBuild_, winePrefix_, folder_;
};

TEST_F(CrossProgramTest, NativeHealsARunUnderWineAndWineHealsANativeRun) {
  const std::string journal = "StartZUVO-Lauf.txt";
  // zuvo.exe under wine, with the Windows stand-in, killed while it runs.
  std::filesystem::copy_file(windowsBuild_ + "/tools/stand-in/Kantrelwick.exe",
                             InstallationTest::Native("Kantrelwick.exe"),
                             std::filesystem::copy_options::overwrite_existing);
  Child run = SpawnProgram(WineArgs({"start", folder_ + "\\Anlagen\\Test.anl"}), {});
  ASSERT_TRUE(Eventually([&] { return JournalNamesSimulator() && !Runs().empty() && Runs().back().Has("Haengt"); }))
      << Finish(run).err;
  ASSERT_TRUE(KillAllWith("zuvo.exe", folder_));
  Finish(run);
  EXPECT_EQ(Files(), "B.dat sav");
  RunResult native = NativeZuvo({"repair"});
  EXPECT_EQ(native.exitCode, 1);
  EXPECT_EQ(native.err.find("Kantrelwick l\xC3\xA4uft schon auf "), 0u) << native.err;
  ASSERT_TRUE(KillAllWith("Kantrelwick.exe", Folder()));
  ASSERT_TRUE(Eventually([&] { return NativeZuvo({"repair"}).exitCode == 0; })) << NativeZuvo({"repair"}).err;
  EXPECT_EQ(Files(), "A.datB.dat");
  EXPECT_FALSE(Exists(journal));

  // The native zuvo, with the native stand-in, killed while it runs.
  std::filesystem::copy_file(ZUVO_FAKE_SIMULATOR, InstallationTest::Native("Kantrelwick.exe"),
                             std::filesystem::copy_options::overwrite_existing);
  const std::size_t before = Runs().size();
  run = SpawnZuvo({"--host", Unix(), "start", InstallationTest::Native("Anlagen\\Test.anl")}, NativeEnv());
  ASSERT_TRUE(
      Eventually([&] { return JournalNamesSimulator() && Runs().size() > before && Runs().back().Has("Haengt"); }));
  kill(run.pid, SIGKILL);
  Finish(run);
  RunResult wine = UnderWine({"repair"});
  EXPECT_EQ(wine.exitCode, 1);
  // zuvo.exe writes in the ANSI code page.
  EXPECT_EQ(wine.err.find("Kantrelwick l\xE4uft schon auf "), 0u) << wine.err;
  EXPECT_EQ(Files(), "B.dat sav");
  ASSERT_TRUE(KillAllWith("Kantrelwick.exe", Folder()));
  wine = UnderWine({"repair"});
  EXPECT_EQ(wine.exitCode, 0) << wine.err;
  EXPECT_EQ(Files(), "A.datB.dat");
  EXPECT_FALSE(Exists(journal));
}

}  // namespace
}  // namespace e2e
