// The POSIX implementation in a throwaway Wine prefix, and which programs run
// in a Wine prefix, judged over a table of processes as /proc shows them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/wine_processes.h"
#include "support/test_support.h"

namespace {

class PosixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(cwd_, sizeof cwd_), nullptr);
    for (const char* name : {"WINEPREFIX", "HOME", "WINE", "PATH"}) {
      if (std::getenv(name) != nullptr) saved_.emplace_back(name, std::getenv(name));
      unsetenv(name);
    }
    for (const char* file : {"Sim/K.exe", "Sim/Liste/abc.txt", "Sim/Liste/ABC.txt", "Wurzel.txt", "Sim/Tief/Anlagen/x",
                             "Sim/Datenbl\xE4tter \xFF\xF7/Lok.txt"})
      dir_.Write(std::string("prefix/drive_c/") + file, "MZ");  // K.exe: a Windows program
    dir_.MakeDirs("prefix/dosdevices");
    Link("../drive_c", prefix_ + "/dosdevices/c:");
    Link(c_ + "Sim/Tief", prefix_ + "/dosdevices/f:");  // the same folder: E: wins
    Link(c_ + "Sim/Tief", prefix_ + "/dosdevices/e:");
    setenv("WINEPREFIX", prefix_.c_str(), 1);
  }
  void TearDown() override {
    EXPECT_EQ(chdir(cwd_), 0);
    for (const char* name : {"WINEPREFIX", "HOME", "WINE", "PATH"}) unsetenv(name);
    for (const auto& s : saved_) setenv(s.first.c_str(), s.second.c_str(), 1);
  }
  static void Link(const std::string& target, const std::string& link) {
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0) << link;
  }
  std::vector<std::pair<std::string, std::string>> saved_;
  char cwd_[4096];
  testing_support::TempDir dir_;
  const std::string prefix_ = dir_.NativePath("prefix"), c_ = prefix_ + "/drive_c/";
};

TEST_F(PosixTest, TextNamesUnixPathsThroughTheDrivesFolder) {
  char* real = realpath(c_.c_str(), nullptr);
  ASSERT_NE(real, nullptr);
  const std::string c = std::string(real) + "/";
  std::free(real);
  const std::pair<std::string, std::string> rows[] = {
      {"C:/Sim/Datenbl\xE4tter \xFF\xF7/Neu.anl", c + "Sim/Datenbl\xE4tter \xFF\xF7/Neu.anl"},
      {"e:\\anlagen\\Neu.anl", c + "Sim/Tief/Anlagen/Neu.anl"},
      {"Z:\\tmp\\x", "/tmp/x"},
      {"Z:\\", "/"},
      {"D:\\Sim", "D:\\Sim"},  // no such drive: as it is
      {"C:Berg", "C:Berg"},
  };
  for (const auto& row : rows) EXPECT_EQ(platform::UnixPathForText(row.first), row.second) << row.first;
  for (const char* unixStyle : {"Anlagen/Demo.anl", "/home/a", "C:Berg", "\\\\server\\x"})
    EXPECT_TRUE(platform::IsUnixStyleArgument(unixStyle)) << unixStyle;
  for (const char* windowsStyle : {"C:\\Sim", "c:/Sim"}) EXPECT_FALSE(platform::IsUnixStyleArgument(windowsStyle));
}

TEST_F(PosixTest, PathsConvertAsWineDoes) {
  ASSERT_EQ(platform::ChangeDirectory("C:\\sim\\LISTE"), 1);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\Sim\\Liste");
  const std::pair<std::string, std::string> toNative[] = {
      // "c:/..." is in dosdevices
      {"C:\\Sim\\..\\..\\Wurzel.txt", "c:/Wurzel.txt"},
      {"C:\\SIM\\DATENBL\xC4TTER \x9F\xF7\\lok.TXT", "c:/Sim/Datenbl\xC3\xA4tter \xC3\xBF\xC3\xB7/Lok.txt"},
      {"C:\\SIM\\DATENBL\xC4TTER \x9F\xD7", "c:/Sim/DATENBL\xC3\x84TTER \xC5\xB8\xC3\x97"},  // × is no ÷
      {"C:\\sim\\liste\\Abc.txt", "c:/Sim/Liste/ABC.txt"},  // no exact name: the first in byte order
      {"..\\TIEF", "c:/Sim/Tief"},
      {"C:abc.txt", "c:/Sim/Liste/abc.txt"},  // drive-relative; the exact name wins
      {"E:anlagen", "e:/Anlagen"},            // drive-relative
      {"\\wurzel.txt", "c:/Wurzel.txt"},
      {"D:\\Sim", ""},
      {"\\\\server\\share\\x", ""},
      {std::string("C:\\Sim\0x", 8), ""},
  };
  for (const auto& c : toNative) {
    const bool inPrefix = !c.second.empty() && c.second[0] != '/';
    EXPECT_EQ(platform::NativePathOf(c.first), (inPrefix ? prefix_ + "/dosdevices/" : "") + c.second) << c.first;
  }
  const std::string noName =
      "\" enth\xE4lt Zeichen, die es in Windows-1252 nicht gibt. Bitte die "
      "Datei oder den Ordner umbenennen.";
  const std::string forms =
      " M\xF6glich sind ein Unix-Pfad (Anlagen/Demo.anl, /home/...) und ein Windows-Pfad "
      "mit Laufwerk (\"C:\\...\" oder \"C:/...\").";
  const std::pair<std::string, std::string> toWindows[] = {
      {c_ + "Sim/Tief", "E:\\"},  // the deepest
      {prefix_ + "/dosdevices/c:/Sim/./Tief/../x", "C:\\Sim\\x"},
      {"../x", "C:\\Sim\\x"},
      {"/usr/share/../lib/x", "Z:\\usr\\lib\\x"},
      {c_ + "Gr\xC3\xB6\xC3\x9F 5\xE2\x82\xAC.anl", "C:\\Gr\xF6\xDF 5\x80.anl"},
      {std::string(".\0\0./x", 6), " Der Pfad enth\xE4lt ein Nullzeichen."},
      {"/tmp/\xE4\xB8\xAD\x80\xC3\xA4\xFF.anl", " Der Name \"?\xE4?.anl" + noName},
      {"c:/Sim//./Tief/../Datenbl\xC3\xA4tter/", "C:\\Sim\\Datenbl\xE4tter"},
      {"C:/Stra\xC4\x81", " Der Pfad \"C:/Stra?\" enth\xE4lt Zeichen, die es in Windows-1252 nicht gibt."},
      {"C:x", " Der Pfad \"C:x\" kann nicht umgesetzt werden: \"C:x\" ist unter Windows kein Name." + forms},
      {"/usr/x", " Der Pfad \"/usr/x\" liegt auf keinem Laufwerk von Wine." + forms},  // with a z:
  };
  for (const auto& c : toWindows) {
    std::string windows, error;
    if (c.first == "/usr/x") Link(c_ + "Sim", prefix_ + "/dosdevices/z:");
    if (!platform::ToWindowsPath(c.first, &windows, &error)) windows += " " + error;
    EXPECT_EQ(windows, c.second) << c.first;
  }
  setenv("HOME", dir_.native().c_str(), 1);  // without WINEPREFIX: ~/.wine
  unsetenv("WINEPREFIX");
  ASSERT_EQ(rename(prefix_.c_str(), dir_.NativePath(".wine").c_str()), 0);
  EXPECT_EQ(platform::NativePathOf("c:\\WURZEL.txt"), dir_.NativePath(".wine/dosdevices/c:/Wurzel.txt"));
  const std::string wine = dir_.NativePath(".wine");
  // Where the look-up of the installation stops: the hive, or the prefix.
  EXPECT_EQ(platform::MachineRegistryPlace(),
            "im Wine-Prefix " + wine + ", dem die Datei " + wine + "/system.reg fehlt");
  setenv("WINEPREFIX", (wine + "-fehlt").c_str(), 1);
  EXPECT_EQ(platform::MachineRegistryPlace(), "im Wine-Prefix " + wine + "-fehlt, den es nicht gibt");
  unsetenv("WINEPREFIX");
  unsetenv("HOME");  // no prefix at all: only Z:
  std::string windows, error;
  EXPECT_EQ(platform::ToWindowsPath("c:/x", &windows, &error) + platform::ToWindowsPath("z:/x", &windows, &error), 1);
  EXPECT_EQ(error, "Das Laufwerk C: gibt es nicht (kein Wine-Prefix: weder WINEPREFIX noch HOME ist gesetzt).");
  EXPECT_EQ(platform::MachineRegistryPlace(), "in keinem Wine-Prefix (weder WINEPREFIX noch HOME ist gesetzt)");
}

// A replaced file keeps its permissions, a new one gets 0666 less the umask;
// the temporary files of writers that are gone are removed.
TEST_F(PosixTest, ASaveKeepsPermissionsAndRemovesTheTemporaryFilesOfWritersThatAreGone) {
  const std::string gone = ".zuvo-999999999";  // above any process id Linux gives
  const struct {
    std::string name;
    long age;  // seconds since its last change
    bool kept;
  } cases[] = {
      {gone + "-0a1b2c", 120, false}, {gone + "-0a1b2d", 5, true},  // a writer may be at work
      {".zuvo-1-0a1b2c", 120, true},  {gone + "-0a1b2", 120, true},
      {gone + "-0A1B2C", 120, true},  // alive, not ours
      {gone + "x-0a1b2c", 120, true}, {".zuvo-0a1b2c3d", 2 * 86400, false},
      {".zuvo-0a1b2c3e", 3600, true},
  };
  for (const auto& c : cases) {
    dir_.Write("prefix/drive_c/Sim/Liste/" + c.name, "x");
    const timeval times[2] = {{time(nullptr) - c.age, 0}, {time(nullptr) - c.age, 0}};
    ASSERT_EQ(utimes((c_ + "Sim/Liste/" + c.name).c_str(), times), 0);
  }
  ASSERT_EQ(chmod((c_ + "Sim/K.exe").c_str(), 0751), 0);
  const mode_t umaskBefore = umask(027);
  for (const auto& file : {std::make_pair("Sim/K.exe", 0751), std::make_pair("Sim/Liste/Neu.txt", 0640)}) {
    EXPECT_EQ(platform::ReplaceFile("C:\\" + std::string(file.first), "neu", 3, ""), platform::SaveOutcome::kSaved);
    struct stat st;
    EXPECT_TRUE(lstat((c_ + file.first).c_str(), &st) == 0 && (st.st_mode & 07777) == mode_t(file.second))
        << file.first;
  }
  umask(umaskBefore);
  for (const auto& c : cases) EXPECT_EQ(dir_.Exists("prefix/drive_c/Sim/Liste/" + c.name), c.kept) << c.name;
  // A bare drive is its root, not its current folder.
  ASSERT_EQ(platform::ChangeDirectory("C:\\Sim\\Liste"), 1);
  ASSERT_EQ(platform::ChangeDirectory("C:"), 1);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\");
}

TEST_F(PosixTest, WindowsProgramsRunUnderWine) {
  dir_.Write("pfad/wine", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.txt\"\n");  // records its arguments
  dir_.Write("ohne-sh", "#!/fehlt/sh\n");
  for (const char* s : {"pfad/wine", "ohne-sh"}) ASSERT_EQ(chmod(dir_.NativePath(s).c_str(), 0755), 0);
  const std::string exe = "C:\\Sim\\K.exe", none = dir_.NativePath("leer");  // no wine there
  const std::string args = prefix_ + "/dosdevices/c:/Sim/K.exe\nC:\\Gro\xC3\x9F\n";
  const struct {
    const char* wine;
    std::string path, program, recorded, missingLoader;
  } cases[] = {
      {"pfad/wine", none, exe, args, ""},
      {nullptr, dir_.NativePath("pfad"), exe, args, ""},  // $WINE, PATH
      {nullptr, none, exe, "", "wine"},
      {"fehlt", none, exe, "", dir_.NativePath("fehlt")},
      {nullptr, none, "Z:" + dir_.NativePath("ohne-sh"), "", ""},  // not started, and no exit code 127
  };
  for (const auto& c : cases) {
    c.wine ? setenv("WINE", dir_.NativePath(c.wine).c_str(), 1) : unsetenv("WINE");
    setenv("PATH", c.path.c_str(), 1);
    dir_.Write("pfad/wine.txt", "");
    EXPECT_EQ(platform::RunAndWait(c.program, {"K", "\"C:\\Gro\xDF\""}, nullptr), c.recorded.empty() ? 0 : 1);
    EXPECT_EQ(dir_.Read("pfad/wine.txt"), c.recorded) << c.program;
    EXPECT_EQ(platform::MissingLoaderOf(c.program), c.missingLoader) << c.program;
  }
}

using platform::posix::ProcessEntry;

ProcessEntry Entry(const std::string& exe, const std::string& cwd, const std::string& command,
                   std::vector<std::string> servers = {}, bool zombie = false) {
  return ProcessEntry{0, exe, cwd, command, servers, zombie};
}

// A program, known by its first word's file name, runs only while its prefix's server runs.
TEST(WineProcessesTest, AProgramRunsOnlyWhileItsPrefixesServerRuns) {
  const std::pair<std::string, std::string> names[] = {
      {std::string("C:\\Sim\\Kantrelwick.exe -x\0", 25), "Kantrelwick.exe"},
      {"\"C:\\Program Files\\Sim\\Kantrelwick.exe\" Berg.anl", "Kantrelwick.exe"},
      {std::string("/usr/bin/wine\0/home/a/Sim/K.exe\0-x", 35), "K.exe"},                // not yet rewritten by wine
      {std::string("C:\\windows\\system32\\winedevice.exe\0-x", 37), "winedevice.exe"},  // a program, not the loader
      {"   ", ""},
  };
  for (const auto& c : names) EXPECT_EQ(platform::posix::ProgramNameOf(c.first), c.second) << c.first;
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
      {"another prefix's server", {Entry("wineserver", other, ""), sim}, platform::kDead},
      {"a zombie server", {Entry("wineserver64", ours, "", {}, true), sim}, platform::kDead},
      {"not a wineserver", {Entry("bash", ours, "bash"), sim}, platform::kDead},
      {"no such program", {server, Entry("wine64", "", "C:\\Sim\\Other.exe", {ours})}, platform::kDead},
      {"name in other case", {server, Entry("wine64", "", "C:\\SIM\\KANTRELWICK.EXE", {ours})}, platform::kAlive},
      {"a native program of that name", {server, Entry("Kantrelwick.exe", "", kSim)}, platform::kDead},
      {"the program ended", {server, Entry("wine64", "", kSim, {ours}, true)}, platform::kDead},
      {"the program of another prefix", {server, Entry("wine64", "", kSim, {other})}, platform::kDead},
      {"a program that maps no server's files", {server, Entry("wine", "", kSim)}, platform::kAlive},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::posix::JudgeWineProgram(c.entries, ours, "Kantrelwick.exe"), c.liveness) << c.what;
}

}  // namespace
