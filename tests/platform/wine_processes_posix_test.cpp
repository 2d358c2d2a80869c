// Which programs run in a Wine prefix, judged from /proc: the decision over
// a table of processes, and the reading of /proc for a process made to look
// like a wineserver's neighbour.
#include "platform/posix/wine_processes.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using platform::posix::ProcessEntry;

ProcessEntry Entry(const std::string& exe, const std::string& cwd, const std::string& command,
                   std::vector<std::string> servers = {}, bool zombie = false) {
  return ProcessEntry{0, exe, cwd, command, servers, zombie};
}

TEST(WineProcessesTest, TheProgramNameIsTheFirstWordsFileName) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string("C:\\Sim\\Kantrelwick.exe -x\0", 25), "Kantrelwick.exe"},
      {"\"C:\\Program Files\\Sim\\Kantrelwick.exe\" Berg.anl", "Kantrelwick.exe"},
      {"Z:\\tmp\\sim/K.exe", "K.exe"},
      {std::string("/usr/bin/wine\0/home/a/Sim/K.exe\0-x", 35), "K.exe"},  // not yet rewritten by wine
      {std::string("wine64-preloader\0C:\\K.exe", 26), "K.exe"},
      {"C:\\windows\\system32\\winedevice.exe", "winedevice.exe"},  // a program, not the loader
      {"   ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::posix::ProgramNameOf(c.first), c.second) << c.first;
}

TEST(WineProcessesTest, AProgramRunsOnlyWhileItsPrefixesServerRuns) {
  const std::string ours = "server-fe00-a8e7f6", other = "server-fe00-1234";
  const ProcessEntry server = Entry("wineserver64", ours, "/usr/lib/wine/wineserver64 -p0");
  const std::string kSim = "C:\\Sim\\Kantrelwick.exe";
  const ProcessEntry sim = Entry("wine64", "drive_c", kSim, {ours});
  const struct {
    const char* what;
    std::vector<ProcessEntry> entries;
    int liveness;
  } cases[] = {
      {"server and program", {server, sim}, platform::kAlive},
      {"no server", {sim}, platform::kDead},
      {"another prefix's server", {Entry("wineserver", other, ""), sim}, platform::kDead},
      {"a zombie server", {Entry("wineserver64", ours, "", {}, true), sim}, platform::kDead},
      {"not a wineserver", {Entry("bash", ours, "bash"), sim}, platform::kDead},
      {"no such program", {server, Entry("wine64", "", "C:\\Sim\\Other.exe", {ours})}, platform::kDead},
      {"name in other case", {server, Entry("wine64", "", "C:\\SIM\\KANTRELWICK.EXE", {ours})}, platform::kAlive},
      {"a preloader", {server, Entry("wine64-preloader", "", kSim, {ours})}, platform::kAlive},
      {"a native program of that name", {server, Entry("Kantrelwick.exe", "", kSim)}, platform::kDead},
      {"the program ended", {server, Entry("wine64", "", kSim, {ours}, true)}, platform::kDead},
      {"the program of another prefix", {server, Entry("wine64", "", kSim, {other})}, platform::kDead},
      {"a program that maps no server's files", {server, Entry("wine", "", kSim)}, platform::kAlive},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::posix::JudgeWineProgram(c.entries, ours, "Kantrelwick.exe"), c.liveness) << c.what;
  }
}

// This process stands in a folder named as a prefix's server folder and maps
// a file there, as a wineserver and a wine process do.
TEST(WineProcessesTest, TheScanReadsFoldersMapsAndCommandLines) {
  testing_support::TempDir dir;
  dir.MakeDirs("prefix");
  bool missing = true;
  const std::string server = platform::posix::ServerFolderName(dir.NativePath("prefix"), &missing);
  struct stat st;
  ASSERT_EQ(stat(dir.NativePath("prefix").c_str(), &st), 0);
  char expected[64];
  std::snprintf(expected, sizeof expected, "server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));
  EXPECT_EQ(server, expected);
  EXPECT_EQ(platform::posix::ServerFolderName(dir.NativePath("fehlt"), &missing), "");
  EXPECT_TRUE(missing);
  dir.Write(server + "/tmpmap-1", std::string(4096, 'x'));
  const int fd = open(dir.NativePath(server + "/tmpmap-1").c_str(), O_RDONLY);
  void* mapped = mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0);
  close(fd);
  ASSERT_NE(mapped, MAP_FAILED);
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(dir.NativePath(server).c_str()), 0);
  std::vector<ProcessEntry> entries;
  const int listed = platform::posix::ListProcesses("/proc", &entries);
  // No wineserver stands in that folder: nothing runs in that prefix.
  EXPECT_EQ(platform::WineProgramLiveness(dir.NativePath("prefix"), "zuvo_platform_tests"), platform::kDead);
  EXPECT_EQ(chdir(cwd), 0);
  munmap(mapped, 4096);
  ASSERT_EQ(listed, 1);
  const ProcessEntry* found = nullptr;
  for (const ProcessEntry& e : entries) found = e.pid == getpid() ? &e : found;
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->cwd, server);
  EXPECT_EQ(found->serverFolders, std::vector<std::string>{server});
  EXPECT_EQ(found->exe, "zuvo_platform_tests");
  EXPECT_EQ(platform::posix::ProgramNameOf(found->command), "zuvo_platform_tests");
  EXPECT_FALSE(found->zombie);
  EXPECT_EQ(platform::WineProgramLiveness(dir.NativePath("fehlt"), "Kantrelwick.exe"), platform::kDead);
}

}  // namespace
