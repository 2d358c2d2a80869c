// The POSIX implementation in a throwaway Wine prefix (dosdevices/c: ->
// ../drive_c, e: on a folder inside C:): paths both ways, renames and
// replacements, and programs started directly or under wine.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using testing_support::Cp;

class PosixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getcwd(cwd_, sizeof cwd_), nullptr);
    for (const char* name : {"WINEPREFIX", "HOME", "WINE", "PATH"}) {
      saved_.push_back({name, std::getenv(name) ? std::getenv(name) : "", !!std::getenv(name)});
    }
    for (const char* file : {"Sim/K.exe", "Sim/Mods/Prellbock.mod", "Sim/Liste/abc.txt",
                             "Sim/Liste/ABC.txt", "Sim/Tief/Anlagen/x", "Wurzel.txt"}) {
      dir_.Write(std::string("prefix/drive_c/") + file, "MZ");  // K.exe: a Windows program
    }
    dir_.Write(Cp("prefix/drive_c/Sim/Datenblätter/Lok.txt"), "");
    dir_.MakeDirs("prefix/dosdevices");
    Link("../drive_c", prefix_ + "/dosdevices/c:");
    Link(c_ + "Sim/Tief", prefix_ + "/dosdevices/e:");
    setenv("WINEPREFIX", prefix_.c_str(), 1);
  }
  void TearDown() override {
    EXPECT_EQ(chdir(cwd_), 0);
    for (const auto& s : saved_) s.set ? setenv(s.name, s.value.c_str(), 1) : unsetenv(s.name);
  }
  static void Link(const std::string& target, const std::string& link) {
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0) << link;
  }
  struct Saved { const char* name; std::string value; bool set; };
  std::vector<Saved> saved_;
  char cwd_[4096];
  testing_support::TempDir dir_;
  const std::string prefix_ = dir_.NativePath("prefix"), c_ = prefix_ + "/drive_c/";
};

TEST_F(PosixTest, PathsConvertAsWineDoes) {
  ASSERT_EQ(platform::ChangeDirectory("C:\\sim\\LISTE"), 1);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\Sim\\Liste");
  const std::pair<std::string, std::string> toNative[] = {  // "c:/..." is in dosdevices
      {"c:/Sim\\\\Nirgends\\..\\.\\K.exe", "c:/Sim/K.exe"}, {"C:\\..\\..\\Sim", "c:/Sim"},
      {"C:\\sim\\MODS\\prellbock.MOD", "c:/Sim/Mods/Prellbock.mod"},
      {Cp("C:\\SIM\\DATENBLÄTTER\\lok.TXT"), "c:/Sim/Datenbl\xC3\xA4tter/Lok.txt"},
      {"C:\\sim\\liste\\abc.txt", "c:/Sim/Liste/abc.txt"},  // the exact name wins,
      {"C:\\sim\\liste\\ABC.txt", "c:/Sim/Liste/ABC.txt"},
      {"C:\\sim\\liste\\Abc.txt", "c:/Sim/Liste/ABC.txt"},  // else the first in byte order
      {"C:\\SIM\\Fehlt\\MODS", "c:/Sim/Fehlt/MODS"},  // after a missing name, as written
      {"e:\\anlagen\\X", "e:/Anlagen/x"}, {"..\\mods", "c:/Sim/Mods"},
      {"C:abc.txt", "c:/Sim/Liste/abc.txt"},  // the current directory of C:
      {"E:anlagen", "e:/Anlagen"},            // the root of another drive
      {"\\wurzel.txt", "c:/Wurzel.txt"}, {"z:\\tmp\\x", "/tmp/x"},  // Z: is the root
      {"D:\\Sim", ""}, {"\\\\server\\share\\x", ""}, {std::string("C:\\Sim\0x", 8), ""},
  };
  for (const auto& c : toNative) {
    EXPECT_EQ(platform::NativePathOf(c.first),
              c.second.empty() || c.second[0] == '/' ? c.second : prefix_ + "/dosdevices/" + c.second)
        << c.first;
  }
  const std::string noName = "\" enth\xE4lt Zeichen, die es in Windows-1252 nicht gibt. Bitte die "
                             "Datei oder den Ordner umbenennen.";
  const std::pair<std::string, std::string> toWindows[] = {
      {c_ + "Sim/Tief/Anlagen/x", "E:\\Anlagen\\x"}, {c_ + "Sim/Tief", "E:\\"},  // the deepest
      {prefix_ + "/dosdevices/c:/Sim/./Tief/../x", "C:\\Sim\\x"}, {"../x", "C:\\Sim\\x"},
      {"/usr/share/../lib/x", "Z:\\usr\\lib\\x"},
      {c_ + "Gr\xC3\xB6\xC3\x9F" "e 5\xE2\x82\xAC.anl", Cp("C:\\Größe 5€.anl")},
      {"", "<unchanged> Kein Pfad angegeben."},
      {std::string(".\0\0./x", 6), "<unchanged> Der Pfad enth\xE4lt ein Nullzeichen."},
      {"/tmp/Stra\xC4\x81" "e/x.anl", "<unchanged> Der Name \"Stra?e" + noName},
      {"/tmp/\xE4\xB8\xAD\x80\xC3\xA4\xFF.anl", "<unchanged> Der Name \"?\xE4?.anl" + noName},
      {"/tmp/a\\b", "<unchanged> Der Name \"a\\b\" enth\xE4lt einen umgekehrten Schr\xE4gstrich, "
                    "den Windows in Namen nicht erlaubt."},
      // With a z: entry that is not the root, a path on no drive is refused.
      {"z:", "<unchanged> Der Pfad \"/usr/x\" liegt auf keinem Laufwerk von Wine."},
  };
  for (const auto& c : toWindows) {
    std::string windows = "<unchanged>", error, path = c.first;
    if (path == "z:") {
      Link(c_ + "Sim", prefix_ + "/dosdevices/z:");
      path = "/usr/x";
    }
    if (!platform::ToWindowsPath(path, &windows, &error)) windows += " " + error;
    EXPECT_EQ(windows, c.second) << c.first;
  }
  setenv("HOME", dir_.native().c_str(), 1);  // without WINEPREFIX: ~/.wine
  unsetenv("WINEPREFIX");
  EXPECT_EQ(platform::NativePathOf("c:\\WURZEL.txt"), "");
  ASSERT_EQ(rename(prefix_.c_str(), dir_.NativePath(".wine").c_str()), 0);
  EXPECT_EQ(platform::NativePathOf("c:\\WURZEL.txt"), dir_.NativePath(".wine/dosdevices/c:/Wurzel.txt"));
}

TEST_F(PosixTest, ReplacementsKeepPermissionsAndLinks) {
  // Permissions stay, a new file gets 0666 less the umask, a link stays a link.
  ASSERT_EQ(chmod((c_ + "Sim/K.exe").c_str(), 0751), 0);
  Link("K.exe", c_ + "Sim/Link.exe");
  const mode_t umaskBefore = umask(027);
  const std::pair<std::string, mode_t> cases[] = {
      {"Sim/K.exe", 0751}, {"Sim/Neu.txt", 0640}, {"Sim/Link.exe", S_IFLNK | 0777}};
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ReplaceFile("C:\\" + c.first, "neu", 3), platform::SaveOutcome::kSaved);
    struct stat st;
    ASSERT_EQ(lstat((c_ + c.first).c_str(), &st), 0);
    EXPECT_EQ((S_ISLNK(st.st_mode) ? S_IFLNK : 0) | (st.st_mode & 07777), c.second) << c.first;
  }
  umask(umaskBefore);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/K.exe"), "neu");
}

TEST_F(PosixTest, ProgramsStartDirectlyOrUnderWine) {
  // Scripts that write their arguments to "<code>.txt" beside them and exit with <code>.
  const std::pair<std::string, int> scripts[] = {
      {"prefix/drive_c/Sim/Stand-in", 3}, {"bin/meinwine", 5}, {"pfad/wine", 6}, {"ohne-sh", 0}};
  for (const auto& s : scripts) {
    const std::string code = std::to_string(s.second);
    dir_.Write(s.first, std::string(s.second ? "#!/bin/sh\n" : "#!/fehlt/sh\n") +
                            "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/" + code + ".txt\"\nexit " + code);
    ASSERT_EQ(chmod(dir_.NativePath(s.first).c_str(), 0755), 0);
  }
  const std::string path = dir_.NativePath("bin") + ":" + dir_.NativePath("pfad") + ":/bin:/usr/bin";
  const struct { const char* wine; std::string path, program; int code; } cases[] = {
      {nullptr, "", "C:\\SIM\\stand-in", 3}, {"bin/meinwine", "", "C:\\Sim\\K.exe", 5},
      {nullptr, path, "C:\\Sim\\K.exe", 6}, {nullptr, dir_.NativePath("bin"), "C:\\Sim\\K.exe", -1},
      {"bin/fehlt", "", "C:\\Sim\\K.exe", -1}, {nullptr, "", "Z:" + dir_.NativePath("ohne-sh"), -1},
      {nullptr, "", "C:\\Sim\\Fehlt", -1}, {nullptr, "", "C:\\Sim", -1},
  };
  for (const auto& c : cases) {
    c.wine ? setenv("WINE", dir_.NativePath(c.wine).c_str(), 1) : unsetenv("WINE");
    if (!c.path.empty()) setenv("PATH", c.path.c_str(), 1);
    int code = -1;  // arguments as on a Windows command line, quotes undone
    EXPECT_EQ(platform::RunAndWait(c.program, {"K", "\"C:\\x y\\B.anl\"", Cp("Größe"), "a\\\"b",
                                               "\"C:\\O\\\\\"", "C:\\O\\", "\"\"", "\"x\"\"y\""},
                                   &code) ? code : -1, c.code) << c.program << c.code;
  }
  const std::string args = "C:\\x y\\B.anl\nGr\xC3\xB6\xC3\x9F" "e\na\"b\nC:\\O\\\nC:\\O\\\n\nx\"y\n";
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/3.txt"), args);
  EXPECT_EQ(dir_.Read("bin/5.txt"), prefix_ + "/dosdevices/c:/Sim/K.exe\n" + args);
  EXPECT_EQ(dir_.Read("pfad/6.txt"), dir_.Read("bin/5.txt"));
}

}  // namespace
