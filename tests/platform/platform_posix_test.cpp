// The POSIX implementation in a throwaway Wine-style prefix (a temporary
// folder with drive_c and dosdevices/c: -> ../drive_c, WINEPREFIX pointing at
// it): drives, case, code page 1252 names, relative paths, the way back from
// a Unix path, renames and replacements, the prefix's machine registry, and
// programs started directly or under wine.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using testing_support::Cp;

class PosixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"WINEPREFIX", "HOME", "WINE", "PATH"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
    char buffer[4096];
    ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
    savedDirectory_ = buffer;
    prefix_ = dir_.NativePath("prefix");
    dir_.MakeDirs("prefix/drive_c");
    dir_.MakeDirs("prefix/dosdevices");
    LinkDrive('c', "../drive_c");
    SetEnv("WINEPREFIX", prefix_.c_str());
  }
  void TearDown() override {
    EXPECT_EQ(chdir(savedDirectory_.c_str()), 0);
    for (const auto& s : saved_) SetEnv(s.first, s.second ? s.second->c_str() : nullptr);
  }

  // Sets, or with null removes, an environment variable.
  static void SetEnv(const std::string& name, const char* value) {
    value != nullptr ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str());
  }
  // dosdevices/<letter>: -> target (as written into the link).
  void LinkDrive(char letter, const std::string& target) {
    const std::string link = prefix_ + "/dosdevices/" + letter + ":";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0) << link;
  }
  // Native path of, and writing a file at, a path inside drive_c (relative,
  // names in code page 1252 as everywhere in TempDir).
  std::string OnC(const std::string& relative) const { return dir_.NativePath("prefix/drive_c/" + relative); }
  void WriteOnC(const std::string& relative, const std::string& bytes) const {
    dir_.Write("prefix/drive_c/" + relative, bytes);
  }

  // An executable file; by default a script that writes each argument on a
  // line of "<code>.txt" beside it and exits with `code`.
  void Script(const std::string& relative, int code, std::string text = "") {
    const std::string record = "\"$(dirname \"$0\")/" + std::to_string(code) + ".txt\"";
    if (text.empty()) {
      text = "#!/bin/sh\n: > " + record + "\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> " +
             record + "; done\nexit " + std::to_string(code) + "\n";
    }
    dir_.Write(relative, text);
    ASSERT_EQ(chmod(dir_.NativePath(relative).c_str(), 0755), 0);
  }
  int Run(const std::string& program, const std::vector<std::string>& args) {
    int exitCode = -1;
    return platform::RunAndWait(program, args, &exitCode) ? exitCode : -1000;
  }

  testing_support::TempDir dir_;
  std::string prefix_;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
  std::string savedDirectory_;
};

std::string ReadAll(const std::string& windowsPath) {
  std::string bytes;
  if (!platform::ReadWholeFile(windowsPath, &bytes)) return "<unreadable>";
  return bytes;
}

// The Windows form, or the output left alone and the message.
std::string Windows(const std::string& unixPath) {
  std::string windows = "<unchanged>", error;
  if (!platform::ToWindowsPath(unixPath, &windows, &error)) return windows + " " + error;
  return windows;
}

TEST_F(PosixTest, DrivesGoThroughDosdevicesAndZIsTheRootWithoutAnEntry) {
  WriteOnC("Sim/Kantrelwick.exe", "MZ");
  EXPECT_EQ(platform::NativePathOf("C:\\Sim\\Kantrelwick.exe"),
            prefix_ + "/dosdevices/c:/Sim/Kantrelwick.exe");
  EXPECT_EQ(platform::PathStatus("c:\\Sim"), platform::kPathDirectory);
  // Forward slashes, doubled separators, "." and ".." as Windows folds them.
  EXPECT_EQ(ReadAll("C:/Sim\\\\Nirgends\\..\\.\\Kantrelwick.exe"), "MZ");
  EXPECT_EQ(ReadAll("C:\\..\\..\\Sim\\Kantrelwick.exe"), "MZ");
  EXPECT_EQ(platform::NativePathOf("z:\\tmp\\x.anl"), "/tmp/x.anl");
  // Any other drive without an entry does not exist; UNC paths and NUL bytes
  // name nothing.
  EXPECT_EQ(platform::NativePathOf("D:\\Sim"), "");
  EXPECT_EQ(platform::OpenFile("D:\\neu.txt", "wb"), nullptr);
  EXPECT_EQ(platform::NativePathOf("\\\\server\\share\\x"), "");
  EXPECT_EQ(platform::NativePathOf(std::string("C:\\Sim\0x", 8)), "");

  dir_.Write("zroot/z.txt", "Z");
  LinkDrive('z', dir_.NativePath("zroot"));
  EXPECT_EQ(ReadAll("Z:\\z.txt"), "Z");
  // With a z: entry that is not the root, a path on no drive is refused
  // rather than named wrongly.
  EXPECT_EQ(Windows("/usr/lib/x"),
            "<unchanged> Der Pfad \"/usr/lib/x\" liegt auf keinem Laufwerk von Wine.");

  // Without WINEPREFIX the prefix is ~/.wine.
  dir_.Write("home/.wine/drive_c/boot.ini", "ini");
  dir_.MakeDirs("home/.wine/dosdevices");
  ASSERT_EQ(symlink("../drive_c", dir_.NativePath("home/.wine/dosdevices/c:").c_str()), 0);
  SetEnv("WINEPREFIX", "");
  SetEnv("HOME", dir_.NativePath("home").c_str());
  EXPECT_EQ(ReadAll("C:\\boot.ini"), "ini");
  SetEnv("WINEPREFIX", nullptr);
  EXPECT_EQ(ReadAll("C:\\boot.ini"), "ini");
}

TEST_F(PosixTest, NamesIgnoreCaseWithTheExactMatchFirst) {
  WriteOnC("Sim/Mods/Prellbock.mod", "prell");
  WriteOnC(Cp("Sim/Datenblätter/Lok.txt"), "lok");
  EXPECT_EQ(platform::NativePathOf("C:\\sim\\MODS\\prellbock.mod"),
            prefix_ + "/dosdevices/c:/Sim/Mods/Prellbock.mod");
  // Accented capitals match their small letters (code page 1252).
  EXPECT_EQ(ReadAll(Cp("C:\\SIM\\DATENBLÄTTER\\lok.TXT")), "lok");
  // Two names that differ only in case: the one written exactly wins, and an
  // inexact one picks the same entry every time.
  WriteOnC("Sim/Liste/abc.txt", "small");
  WriteOnC("Sim/Liste/ABC.txt", "capital");
  EXPECT_EQ(ReadAll("C:\\sim\\liste\\abc.txt"), "small");
  EXPECT_EQ(ReadAll("C:\\sim\\liste\\ABC.txt"), "capital");
  EXPECT_EQ(ReadAll("C:\\sim\\liste\\Abc.txt"), "capital");
  // A new name keeps the case written, and so does all after a missing one.
  ASSERT_EQ(platform::ReplaceFile("C:\\SIM\\mods\\NeuDatei.TXT", "neu", 3),
            platform::SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Mods/NeuDatei.TXT"), "neu");
  EXPECT_EQ(platform::NativePathOf("C:\\sim\\Fehlt\\Mods"),
            prefix_ + "/dosdevices/c:/Sim/Fehlt/Mods");
}

TEST_F(PosixTest, CodePageNamesAreUtf8OnDiskAndOthersAreRefused) {
  ASSERT_NE(platform::MakeDirectory("C:\\Anlagen"), 0);
  ASSERT_EQ(platform::ReplaceFile(Cp("C:\\Anlagen\\Größe 5€.anl"), "x", 1),
            platform::SaveOutcome::kSaved);
  const std::string onDisk = OnC("Anlagen/") + "Gr\xC3\xB6\xC3\x9F" "e 5\xE2\x82\xAC.anl";
  EXPECT_EQ(access(onDisk.c_str(), F_OK), 0);
  EXPECT_EQ(Windows(onDisk), Cp("C:\\Anlagen\\Größe 5€.anl"));

  const std::string noName = " enth\xE4lt Zeichen, die es in Windows-1252 nicht gibt. Bitte die "
                             "Datei oder den Ordner umbenennen.";
  const std::pair<std::string, std::string> refused[] = {
      {"", "Kein Pfad angegeben."},
      {"/tmp/Stra\xC4\x81" "e/x.anl", "Der Name \"Stra?e\"" + noName},  // U+0101
      {"/tmp/\xFF.anl", "Der Name \"?.anl\"" + noName},
      {"/tmp/a\\b.anl", "Der Name \"a\\b.anl\" enth\xE4lt einen umgekehrten Schr\xE4gstrich, "
                        "den Windows in Namen nicht erlaubt."},
  };
  for (const auto& c : refused) EXPECT_EQ(Windows(c.first), "<unchanged> " + c.second);
}

TEST_F(PosixTest, UnixPathsTakeTheDeepestDrive) {
  dir_.MakeDirs("prefix/drive_c/Sim/Tief/Anlagen");
  LinkDrive('e', OnC("Sim/Tief"));
  EXPECT_EQ(Windows(OnC("Sim/Berg.anl")), "C:\\Sim\\Berg.anl");
  EXPECT_EQ(Windows(OnC("Sim/Tief/Anlagen/Berg.anl")), "E:\\Anlagen\\Berg.anl");
  EXPECT_EQ(Windows(OnC("Sim/Tief")), "E:\\");
  // Through the drive's own link, and with "." and "..".
  EXPECT_EQ(Windows(prefix_ + "/dosdevices/c:/Sim/./Tief/../x.anl"), "C:\\Sim\\x.anl");
  EXPECT_EQ(Windows("/usr/share/../lib/x"), "Z:\\usr\\lib\\x");  // outside every drive
  ASSERT_EQ(chdir(OnC("Sim").c_str()), 0);
  EXPECT_EQ(Windows("Tief/../Berg.anl"), "C:\\Sim\\Berg.anl");
}

TEST_F(PosixTest, RelativePathsFollowTheCurrentDirectory) {
  WriteOnC("Sim/Anlagen/Berg.anl", "berg");
  WriteOnC("Wurzel.txt", "wurzel");
  ASSERT_NE(platform::ChangeDirectory("C:\\sim\\anlagen"), 0);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\Sim\\Anlagen");
  EXPECT_EQ(ReadAll(".\\BERG.anl"), "berg");
  EXPECT_EQ(ReadAll("C:Berg.anl"), "berg");      // the current directory of C:
  EXPECT_EQ(ReadAll("\\Wurzel.txt"), "wurzel");  // the root of the current drive
  ASSERT_NE(platform::ChangeDirectory("C:\\"), 0);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\");
}

// Found by fuzz/native_path_fuzzer.cpp in its first minute: a Unix path with
// NUL bytes in a name became a Windows path with the NUL bytes in it, which
// names no file, while the Unix path, cut at its first NUL, named ".".
TEST_F(PosixTest, AUnixPathWithANulByteIsRefused) {
  WriteOnC("\xC4rger/x.txt", "x");
  ASSERT_EQ(chdir(OnC("").c_str()), 0);
  const std::string refused = "<unchanged> Der Pfad enth\xE4lt ein Nullzeichen.";
  EXPECT_EQ(Windows(std::string(".\0\0\0\0\0\0\0\0\0./\xC3\x84rger/", 19)), refused);
  EXPECT_EQ(Windows(OnC(std::string("x\0y", 3))), refused);
  // Without the NUL bytes the same names convert, and back to the same file.
  EXPECT_EQ(Windows("./\xC3\x84rger/x.txt"), "C:\\\xC4rger\\x.txt");
  EXPECT_EQ(ReadAll("C:\\\xC4rger\\x.txt"), "x");
}

// (The forms of the value: wine_registry_test.cpp.)
TEST_F(PosixTest, TheMachineRegistryIsThePrefixsSystemReg) {
  const char kCommandKey[] = "SOFTWARE\\Classes\\Kantrelwick\\shell\\open\\command";
  std::string value = "<unchanged>";
  EXPECT_EQ(platform::ReadMachineDefaultValue(kCommandKey, &value), 0);  // no hive yet
  dir_.Write("prefix/system.reg",
             "WINE REGISTRY Version 2\n[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1\n@=\"x\"\n");
  ASSERT_EQ(platform::ReadMachineDefaultValue(kCommandKey, &value), 1);
  EXPECT_EQ(value, "x");
  // Another prefix is another machine, and a folder is no hive.
  SetEnv("WINEPREFIX", dir_.NativePath("leer").c_str());
  dir_.MakeDirs("leer/system.reg");
  EXPECT_EQ(platform::ReadMachineDefaultValue(kCommandKey, &value), 0);
}

mode_t ModeOf(const std::string& native) {
  struct stat st;
  if (lstat(native.c_str(), &st) != 0) return 0;
  return S_ISLNK(st.st_mode) ? S_IFLNK : st.st_mode & 07777;
}

TEST_F(PosixTest, RenameNeverReplacesAnExistingTarget) {
  WriteOnC("Sim/Prellbock.mod", "aktiv");
  WriteOnC("Sim/Prellbock.sav", "gesichert");
  // A target that differs only in case is the same name on Windows. (The
  // plain cases: platform_test.cpp.)
  EXPECT_EQ(platform::RenameFile("C:\\Sim\\Prellbock.mod", "C:\\Sim\\PRELLBOCK.SAV"), 0);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Prellbock.sav"), "gesichert");
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Prellbock.mod"), "aktiv");
  // Folders rename too, but never over another.
  ASSERT_NE(platform::MakeDirectory("C:\\Alt"), 0);
  EXPECT_EQ(platform::RenameFile("C:\\Alt", "C:\\Sim"), 0);
  EXPECT_NE(platform::RenameFile("C:\\Alt", "C:\\Neu"), 0);
}

TEST_F(PosixTest, ReplaceKeepsPermissionsAndLinks) {
  WriteOnC("Sim/Berg.danl", "alt");
  ASSERT_EQ(chmod(OnC("Sim/Berg.danl").c_str(), 0640), 0);
  ASSERT_EQ(platform::ReplaceFile("C:\\Sim\\Berg.danl", "neu", 3), platform::SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Berg.danl"), "neu");
  EXPECT_EQ(ModeOf(OnC("Sim/Berg.danl")), 0640u);
  // A new file gets 0666 less the umask.
  mode_t old = umask(027);
  platform::SaveOutcome outcome = platform::ReplaceFile("C:\\Sim\\Neu.txt", "", 0);
  umask(old);
  ASSERT_EQ(outcome, platform::SaveOutcome::kSaved);
  EXPECT_EQ(ModeOf(OnC("Sim/Neu.txt")), 0640u);
  // A link stays a link; the file it names gets the bytes.
  WriteOnC("Echt/Liste.txt", "alt");
  ASSERT_EQ(symlink("../Echt/Liste.txt", OnC("Sim/Liste.txt").c_str()), 0);
  ASSERT_EQ(platform::ReplaceFile("C:\\Sim\\Liste.txt", "neu", 3), platform::SaveOutcome::kSaved);
  EXPECT_EQ(ModeOf(OnC("Sim/Liste.txt")), static_cast<mode_t>(S_IFLNK));
  EXPECT_EQ(dir_.Read("prefix/drive_c/Echt/Liste.txt"), "neu");
  EXPECT_EQ(dir_.List("prefix/drive_c/Sim"),
            (std::vector<std::string>{"Berg.danl", "Liste.txt", "Neu.txt"}));
}

TEST_F(PosixTest, AStandInGetsItsArgumentsUnquoted) {
  Script("prefix/drive_c/Sim/Kantrelwick.exe", 3);
  EXPECT_EQ(Run("C:\\SIM\\kantrelwick.EXE",
                {"Kantrelwick.exe", "\"C:\\x y\\Berg.anl\"", Cp("Größe"),
                 "a\\\"b", "\"C:\\Ordner\\\\\"", "C:\\Ordner\\", "\"\"", "\"x\"\"y\""}),
            3);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/3.txt"),
            "C:\\x y\\Berg.anl\nGr\xC3\xB6\xC3\x9F" "e\na\"b\n"
            "C:\\Ordner\\\nC:\\Ordner\\\n\nx\"y\n");
}

TEST_F(PosixTest, ExitCodesAndStartFailuresAreToldApart) {
  Script("prefix/drive_c/Sim/exit127", 0, "#!/bin/sh\nexit 127\n");
  Script("prefix/drive_c/Sim/killed", 0, "#!/bin/sh\nkill -9 $$\n");
  Script("prefix/drive_c/Sim/kein-interpreter", 0, "#!/fehlt/sh\nexit 0\n");
  EXPECT_EQ(Run("C:\\Sim\\exit127", {"exit127"}), 127);
  EXPECT_EQ(Run("C:\\Sim\\killed", {"killed"}), 128 + 9);
  EXPECT_EQ(platform::RunAndWait("C:\\Sim\\exit127", {}, nullptr), 1);
  for (const char* missing : {"C:\\Sim\\Fehlt.exe", "C:\\Sim\\kein-interpreter", "C:\\Sim", "Q:\\Sim\\exit127"}) {
    EXPECT_EQ(Run(missing, {"x"}), -1000) << missing;
  }
}

TEST_F(PosixTest, AWindowsProgramRunsUnderWine) {
  dir_.Write("prefix/drive_c/Sim/Kantrelwick.exe", std::string("MZ\x90\0", 4));  // not executable
  Script("bin/meinwine", 5);
  Script("pfad/wine", 6);
  dir_.MakeDirs("leer");
  const std::string exe = platform::NativePathOf("C:\\Sim\\Kantrelwick.exe");
  const std::vector<std::string> args = {"Kantrelwick.exe", "\"C:\\Anlagen\\Berg Tal.anl\""};
  SetEnv("WINE", dir_.NativePath("bin/meinwine").c_str());
  EXPECT_EQ(Run("C:\\Sim\\Kantrelwick.exe", args), 5);
  EXPECT_EQ(dir_.Read("bin/5.txt"), exe + "\nC:\\Anlagen\\Berg Tal.anl\n");
  // Without $WINE, "wine" is looked up in PATH; without any wine, no start.
  SetEnv("WINE", nullptr);
  const std::string path = dir_.NativePath("leer") + ":" + dir_.NativePath("pfad");
  SetEnv("PATH", (path + ":/usr/bin:/bin").c_str());
  EXPECT_EQ(Run("C:\\Sim\\Kantrelwick.exe", args), 6);
  EXPECT_EQ(dir_.Read("pfad/6.txt"), exe + "\nC:\\Anlagen\\Berg Tal.anl\n");
  SetEnv("PATH", dir_.NativePath("leer").c_str());
  EXPECT_EQ(Run("C:\\Sim\\Kantrelwick.exe", args), -1000);
  SetEnv("WINE", dir_.NativePath("bin/fehlt").c_str());
  EXPECT_EQ(Run("C:\\Sim\\Kantrelwick.exe", args), -1000);
}

}  // namespace
