// Windows paths on Linux: drives through the prefix, case, code page 1252
// names, relative paths, and the way back from a Unix path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/cp1252.h"
#include "platform/platform.h"
#include "platform/wine_prefix_posix.h"

namespace {

using testing_support::Cp;
using NativePathTest = testing_support::WinePrefixTest;

std::string ReadAll(const std::string& windowsPath) {
  std::string bytes;
  if (!platform::ReadWholeFile(windowsPath, &bytes)) return "<unreadable>";
  return bytes;
}

TEST_F(NativePathTest, DrivesGoThroughDosdevicesAndZIsTheRootWithoutAnEntry) {
  WriteOnC("Sim/Kantrelwick.exe", "MZ");
  EXPECT_EQ(platform::NativePathOf("C:\\Sim\\Kantrelwick.exe"),
            prefix_ + "/dosdevices/c:/Sim/Kantrelwick.exe");
  EXPECT_EQ(platform::PathStatus("C:\\Sim\\Kantrelwick.exe"), platform::kPathFile);
  EXPECT_EQ(platform::PathStatus("c:\\Sim"), platform::kPathDirectory);
  EXPECT_EQ(platform::PathStatus("C:\\"), platform::kPathDirectory);
  // Forward slashes, doubled separators, "." and ".." as Windows folds them.
  EXPECT_EQ(ReadAll("C:/Sim\\\\Nirgends\\..\\.\\Kantrelwick.exe"), "MZ");
  EXPECT_EQ(ReadAll("C:\\..\\..\\Sim\\Kantrelwick.exe"), "MZ");

  // Without a z: entry, Z: is the root folder.
  EXPECT_EQ(platform::NativePathOf("Z:\\tmp\\x.anl"), "/tmp/x.anl");
  EXPECT_EQ(platform::NativePathOf("z:\\"), "/");
  EXPECT_EQ(ReadAll("Z:" + platform::NativePathOf("C:\\Sim\\Kantrelwick.exe")), "MZ");

  // Any other drive without an entry does not exist.
  EXPECT_EQ(platform::NativePathOf("D:\\Sim"), "");
  EXPECT_EQ(platform::PathStatus("D:\\"), platform::kPathNone);
  EXPECT_EQ(platform::OpenFile("D:\\neu.txt", "wb"), nullptr);
  EXPECT_EQ(platform::MakeDirectory("D:\\Neu"), 0);
  // UNC paths and NUL bytes name nothing.
  EXPECT_EQ(platform::NativePathOf("\\\\server\\share\\x"), "");
  EXPECT_EQ(platform::NativePathOf(std::string("C:\\Sim\0x", 8)), "");

  // A d: entry and a z: entry of their own.
  dir_.Write("elsewhere/d.txt", "D");
  dir_.Write("zroot/z.txt", "Z");
  LinkDrive('d', dir_.NativePath("elsewhere"));
  LinkDrive('z', dir_.NativePath("zroot"));
  EXPECT_EQ(ReadAll("D:\\d.txt"), "D");
  EXPECT_EQ(ReadAll("Z:\\z.txt"), "Z");
  EXPECT_EQ(platform::NativePathOf("Z:\\tmp"), prefix_ + "/dosdevices/z:/tmp");
}

TEST_F(NativePathTest, PrefixDefaultsToDotWineInHome) {
  dir_.Write("home/.wine/drive_c/boot.ini", "ini");
  dir_.MakeDirs("home/.wine/dosdevices");
  ASSERT_EQ(symlink("../drive_c", dir_.NativePath("home/.wine/dosdevices/c:").c_str()), 0);
  SetEnv("WINEPREFIX", nullptr);
  SetEnv("HOME", dir_.NativePath("home").c_str());
  EXPECT_EQ(ReadAll("C:\\boot.ini"), "ini");
  SetEnv("WINEPREFIX", "");
  EXPECT_EQ(ReadAll("C:\\boot.ini"), "ini");
}

TEST_F(NativePathTest, NamesIgnoreCaseWithTheExactMatchFirst) {
  WriteOnC("Sim/Mods/Prellbock.mod", "prell");
  WriteOnC(Cp("Sim/Rollmaterial/Datenblätter/Lok.txt"), "lok");
  EXPECT_EQ(ReadAll("C:\\SIM\\mods\\PRELLBOCK.MOD"), "prell");
  EXPECT_EQ(platform::NativePathOf("C:\\sim\\MODS\\prellbock.mod"),
            prefix_ + "/dosdevices/c:/Sim/Mods/Prellbock.mod");
  // Accented capitals match their small letters (code page 1252).
  EXPECT_EQ(ReadAll(Cp("C:\\Sim\\ROLLMATERIAL\\DATENBLÄTTER\\lok.TXT")), "lok");

  // Two names that differ only in case: the one written exactly wins, and an
  // inexact one picks the same entry every time.
  WriteOnC("Sim/Liste/abc.txt", "small");
  WriteOnC("Sim/Liste/ABC.txt", "capital");
  EXPECT_EQ(ReadAll("C:\\sim\\liste\\abc.txt"), "small");
  EXPECT_EQ(ReadAll("C:\\sim\\liste\\ABC.txt"), "capital");
  EXPECT_EQ(ReadAll("C:\\sim\\liste\\Abc.txt"), "capital");

  // A new file keeps the case written; its folders are the existing ones.
  const char kData[] = "neu";
  ASSERT_EQ(platform::ReplaceFile("C:\\SIM\\mods\\NeuDatei.TXT", kData, 3),
            platform::SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/Mods/NeuDatei.TXT"), "neu");
  ASSERT_NE(platform::MakeDirectory("C:\\sim\\NeuerOrdner"), 0);
  EXPECT_TRUE(dir_.Exists("prefix/drive_c/Sim/NeuerOrdner"));
  // A missing folder keeps its case too, and the rest after it.
  EXPECT_EQ(platform::NativePathOf("C:\\sim\\Fehlt\\Mods"),
            prefix_ + "/dosdevices/c:/Sim/Fehlt/Mods");
}

TEST_F(NativePathTest, CodePageNamesAreUtf8OnDisk) {
  const std::string name = Cp("C:\\Anlagen\\Größe Übersicht.anl");
  ASSERT_NE(platform::MakeDirectory("C:\\Anlagen"), 0);
  ASSERT_EQ(platform::ReplaceFile(name, "x", 1), platform::SaveOutcome::kSaved);
  std::string onDisk = OnC("Anlagen/") + "Gr\xC3\xB6\xC3\x9F" "e \xC3\x9C" "bersicht.anl";
  EXPECT_EQ(access(onDisk.c_str(), F_OK), 0);

  std::string windows, error;
  ASSERT_NE(platform::ToWindowsPath(onDisk, &windows, &error), 0) << error;
  EXPECT_EQ(windows, name);
  // The euro sign is one of the bytes 0x80-0x9F.
  ASSERT_EQ(platform::ReplaceFile(Cp("C:\\Anlagen\\5€.txt"), "x", 1),
            platform::SaveOutcome::kSaved);
  EXPECT_EQ(access((OnC("Anlagen/") + "5\xE2\x82\xAC.txt").c_str(), F_OK), 0);
}

TEST_F(NativePathTest, UnixNamesOutsideCodePage1252AreRefused) {
  std::string windows = "unchanged", error;
  // U+0101 (a with macron) has no place in code page 1252.
  EXPECT_EQ(platform::ToWindowsPath("/tmp/Stra\xC4\x81" "e/x.anl", &windows, &error), 0);
  EXPECT_EQ(windows, "unchanged");
  EXPECT_NE(error.find("Windows-1252"), std::string::npos) << error;
  EXPECT_NE(error.find("\"Stra?e\""), std::string::npos) << error;
  // The message is code page 1252 text: no UTF-8 leaks into it.
  std::string check;
  EXPECT_TRUE(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(error), &check));
  EXPECT_EQ(error.find('\xC4'), std::string::npos);

  error.clear();
  EXPECT_EQ(platform::ToWindowsPath("/tmp/\xFF.anl", &windows, &error), 0);
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_EQ(platform::ToWindowsPath("/tmp/a\\b.anl", &windows, &error), 0);
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_EQ(platform::ToWindowsPath("", &windows, &error), 0);
  EXPECT_FALSE(error.empty());
}

TEST_F(NativePathTest, UnixPathsTakeTheDeepestDrive) {
  dir_.MakeDirs("prefix/drive_c/Sim/Tief/Anlagen");
  LinkDrive('e', OnC("Sim/Tief"));
  std::string windows, error;
  ASSERT_NE(platform::ToWindowsPath(OnC("Sim/Berg.anl"), &windows, &error), 0) << error;
  EXPECT_EQ(windows, "C:\\Sim\\Berg.anl");
  ASSERT_NE(platform::ToWindowsPath(OnC("Sim/Tief/Anlagen/Berg.anl"), &windows, &error), 0);
  EXPECT_EQ(windows, "E:\\Anlagen\\Berg.anl");
  ASSERT_NE(platform::ToWindowsPath(OnC("Sim/Tief"), &windows, &error), 0);
  EXPECT_EQ(windows, "E:\\");
  // Through the drive's own link, and with "." and "..".
  ASSERT_NE(platform::ToWindowsPath(prefix_ + "/dosdevices/c:/Sim/./Tief/../x.anl", &windows,
                                    &error),
            0);
  EXPECT_EQ(windows, "C:\\Sim\\x.anl");
  // Outside every drive: Z: with the whole path.
  ASSERT_NE(platform::ToWindowsPath("/usr/share/../lib/x", &windows, &error), 0);
  EXPECT_EQ(windows, "Z:\\usr\\lib\\x");
  // Relative to the current directory.
  ASSERT_EQ(chdir(OnC("Sim").c_str()), 0);
  ASSERT_NE(platform::ToWindowsPath("Tief/../Berg.anl", &windows, &error), 0);
  EXPECT_EQ(windows, "C:\\Sim\\Berg.anl");

  // A z: entry that is not the root: a path on no drive is refused rather
  // than named wrongly.
  LinkDrive('z', dir_.NativePath("zroot"));
  dir_.MakeDirs("zroot");
  EXPECT_EQ(platform::ToWindowsPath("/usr/lib/x", &windows, &error), 0);
  EXPECT_FALSE(error.empty());
}

TEST_F(NativePathTest, RelativePathsFollowTheCurrentDirectory) {
  WriteOnC("Sim/Anlagen/Berg.anl", "berg");
  WriteOnC("Wurzel.txt", "wurzel");
  ASSERT_NE(platform::ChangeDirectory("C:\\sim\\anlagen"), 0);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\Sim\\Anlagen");
  EXPECT_EQ(ReadAll("Berg.anl"), "berg");
  EXPECT_EQ(ReadAll(".\\BERG.anl"), "berg");
  EXPECT_EQ(ReadAll("..\\Anlagen\\Berg.anl"), "berg");
  EXPECT_EQ(ReadAll("C:Berg.anl"), "berg");          // current directory of C:
  EXPECT_EQ(ReadAll("\\Wurzel.txt"), "wurzel");      // root of the current drive
  ASSERT_NE(platform::ChangeDirectory("C:\\"), 0);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\");
  EXPECT_EQ(ReadAll("Sim\\Anlagen\\Berg.anl"), "berg");
  EXPECT_EQ(platform::ChangeDirectory("C:\\Fehlt"), 0);
  EXPECT_EQ(platform::CurrentDirectory(), "C:\\");
}

}  // namespace
