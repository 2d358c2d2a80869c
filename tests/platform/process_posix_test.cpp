// Starting programs on Linux: stand-ins run directly, Windows programs under
// wine, Windows quoting undone, exit codes and start failures told apart.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/wine_prefix_posix.h"

namespace {

using testing_support::Cp;
using ProcessTest = testing_support::WinePrefixTest;

// A shell script that writes each argument on a line of `record` (beside it)
// and exits with `code`.
std::string RecordingScript(const std::string& record, int code) {
  return "#!/bin/sh\n"
         "out=\"$(dirname \"$0\")/" + record + "\"\n"
         ": > \"$out\"\n"
         "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out\"; done\n"
         "exit " + std::to_string(code) + "\n";
}

class ProcessTestWithScripts : public ProcessTest {
 protected:
  void WriteExecutable(const std::string& relative, const std::string& text, mode_t mode) {
    dir_.Write(relative, text);
    ASSERT_EQ(chmod(dir_.NativePath(relative).c_str(), mode), 0);
  }
};

TEST_F(ProcessTestWithScripts, AStandInGetsItsArgumentsUnquoted) {
  WriteExecutable("prefix/drive_c/Sim/Kantrelwick.exe", RecordingScript("args.txt", 3), 0755);
  int exitCode = -1;
  ASSERT_EQ(platform::RunAndWait("C:\\SIM\\kantrelwick.EXE",
                                 {"Kantrelwick.exe", "\"C:\\x y\\Berg.anl\"", Cp("Größe"),
                                  "a\\\"b", "\"C:\\Ordner\\\\\"", "C:\\Ordner\\", "\"\"",
                                  "\"x\"\"y\""},
                                 &exitCode),
            1);
  EXPECT_EQ(exitCode, 3);
  EXPECT_EQ(dir_.Read("prefix/drive_c/Sim/args.txt"),
            "C:\\x y\\Berg.anl\n"
            "Gr\xC3\xB6\xC3\x9F" "e\n"
            "a\"b\n"
            "C:\\Ordner\\\n"
            "C:\\Ordner\\\n"
            "\n"
            "x\"y\n");
}

TEST_F(ProcessTestWithScripts, ExitCodesAndStartFailuresAreToldApart) {
  WriteExecutable("prefix/drive_c/Sim/exit127", "#!/bin/sh\nexit 127\n", 0755);
  WriteExecutable("prefix/drive_c/Sim/killed", "#!/bin/sh\nkill -9 $$\n", 0755);
  WriteExecutable("prefix/drive_c/Sim/kein-interpreter", "#!/fehlt/sh\nexit 0\n", 0755);
  WriteExecutable("prefix/drive_c/Sim/nicht-ausfuehrbar", "#!/bin/sh\nexit 0\n", 0644);
  int exitCode = -1;
  ASSERT_EQ(platform::RunAndWait("C:\\Sim\\exit127", {"exit127"}, &exitCode), 1);
  EXPECT_EQ(exitCode, 127);
  ASSERT_EQ(platform::RunAndWait("C:\\Sim\\killed", {"killed"}, &exitCode), 1);
  EXPECT_NE(exitCode, 0);
  ASSERT_EQ(platform::RunAndWait("C:\\Sim\\exit127", {}, nullptr), 1);

  exitCode = -1;
  EXPECT_EQ(platform::RunAndWait("C:\\Sim\\Fehlt.exe", {"Fehlt.exe"}, &exitCode), 0);
  EXPECT_EQ(platform::RunAndWait("C:\\Sim\\kein-interpreter", {"x"}, &exitCode), 0);
  EXPECT_EQ(platform::RunAndWait("C:\\Sim\\nicht-ausfuehrbar", {"x"}, &exitCode), 0);
  EXPECT_EQ(platform::RunAndWait("C:\\Sim", {"Sim"}, &exitCode), 0);
  EXPECT_EQ(platform::RunAndWait("Q:\\Sim\\exit127", {"exit127"}, &exitCode), 0);
  EXPECT_EQ(exitCode, -1);
}

TEST_F(ProcessTestWithScripts, AWindowsProgramRunsUnderWine) {
  // A PE file need not be executable itself.
  WriteExecutable("prefix/drive_c/Sim/Kantrelwick.exe", std::string("MZ\x90\0", 4), 0644);
  WriteExecutable("bin/meinwine", RecordingScript("wine-args.txt", 5), 0755);
  WriteExecutable("pfad/wine", RecordingScript("path-args.txt", 6), 0755);
  dir_.MakeDirs("leer");
  const std::string exe = platform::NativePathOf("C:\\Sim\\Kantrelwick.exe");
  const std::vector<std::string> args = {"Kantrelwick.exe", "\"C:\\Anlagen\\Berg Tal.anl\""};

  SetEnv("WINE", dir_.NativePath("bin/meinwine").c_str());
  int exitCode = -1;
  ASSERT_EQ(platform::RunAndWait("C:\\Sim\\Kantrelwick.exe", args, &exitCode), 1);
  EXPECT_EQ(exitCode, 5);
  EXPECT_EQ(dir_.Read("bin/wine-args.txt"), exe + "\nC:\\Anlagen\\Berg Tal.anl\n");

  // Without $WINE, "wine" is looked up in PATH.
  SetEnv("WINE", nullptr);
  const char* path = std::getenv("PATH");
  std::string searched = dir_.NativePath("leer") + ":" + dir_.NativePath("pfad") + ":" +
                         (path != nullptr ? path : "/usr/bin:/bin");
  SetEnv("PATH", searched.c_str());
  ASSERT_EQ(platform::RunAndWait("C:\\Sim\\Kantrelwick.exe", args, &exitCode), 1);
  EXPECT_EQ(exitCode, 6);
  EXPECT_EQ(dir_.Read("pfad/path-args.txt"), exe + "\nC:\\Anlagen\\Berg Tal.anl\n");

  // No wine at all: the program cannot be started.
  SetEnv("PATH", dir_.NativePath("leer").c_str());
  EXPECT_EQ(platform::RunAndWait("C:\\Sim\\Kantrelwick.exe", args, &exitCode), 0);
  SetEnv("WINE", dir_.NativePath("bin/fehlt").c_str());
  EXPECT_EQ(platform::RunAndWait("C:\\Sim\\Kantrelwick.exe", args, &exitCode), 0);
}

}  // namespace
