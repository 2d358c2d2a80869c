// Process identity and interrupts of the Windows build, under wine in the
// Windows stage: the Windows process list, and the Linux side through Z:.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "platform/interrupt.h"
#include "platform/platform.h"
#include "platform/proc_stat.h"
#include "platform/test_processes.h"
#include "platform/win32/interrupt_child.h"
#include "support/test_support.h"

namespace {

bool UnderWine() { return platform::ThisSystem() == platform::SystemKind::kWine; }

// The Linux process table through Z:, read here by the test itself.
platform::procfs::ReadResult ReadThroughZ(const std::string& name, std::string* text) {
  return platform::ReadWholeFile("Z:\\proc\\" + name, text) ? platform::procfs::kRead : platform::procfs::kMissing;
}

TEST(ProcessIdentityWin32Test, AProcessIsAliveOnlyWithItsOwnStart) {
  const long own = platform::OwnProcessId();
  const std::string start = platform::ProcessStartTime(own);
  ASSERT_FALSE(start.empty());
  EXPECT_EQ(start.find_first_not_of("0123456789"), std::string::npos) << start;
  EXPECT_EQ(platform::ProcessLiveness(own, start), platform::kAlive);
  EXPECT_EQ(platform::ProcessLiveness(own, std::to_string(std::stoull(start) + 1)), platform::kDead);
  testing_support::TempDir dir;
  long pid = 0;
  std::string childStart;
  EXPECT_EQ(platform_test::RunChild({dir.Path("args.txt"), "0"},
                                    [&](long started) {
                                      childStart = platform::ProcessStartTime(pid = started);
                                      return 1;
                                    }),
            0);
  ASSERT_FALSE(childStart.empty());
  EXPECT_EQ(platform::ProcessLiveness(pid, childStart), platform::kDead);
  EXPECT_EQ(platform::ProcessLiveness(own, ""), platform::kDead);
  EXPECT_EQ(platform::ProcessLiveness(0, start), platform::kDead);
}

// A start of the Linux form: judged through Z: under wine, not at all on
// Windows (the judgement itself: the process table's tests).
TEST(ProcessIdentityWin32Test, ALinuxStartIsJudgedThroughTheLinuxProcessTable) {
  bool running = false;
  const std::string init =
      UnderWine() ? platform::procfs::StartOf(1, &ReadThroughZ, &running) : "6f1c2b9e-0d7a-4e55-9a51-3c2f9d6a8b10:5";
  ASSERT_FALSE(init.empty());
  const struct {
    long pid;
    int wine;
  } cases[] = {{1, platform::kAlive}, {999999999, platform::kDead}};  // no such Linux process
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ProcessLiveness(c.pid, init), UnderWine() ? c.wine : platform::kCannotTell) << c.pid;
  }
}

TEST(ProcessIdentityWin32Test, UnderWineTheLinuxSideIsNamedAsANativeProgramNamesIt) {
  if (!UnderWine()) {
    EXPECT_EQ(platform::ThisSystem(), platform::SystemKind::kWindows);
    EXPECT_EQ(platform::WinePrefixPath(), "");
    EXPECT_EQ(platform::WineProgramLiveness("/home/a/.wine", "zuvo_platform_tests.exe"), platform::kCannotTell);
    return;
  }
  testing_support::TempDir dir;
  const std::string named = platform_test::UnixPathOf(dir.Path("hostname.txt"));
  ASSERT_EQ(platform_test::RunLinuxShell("hostname >'" + named + "'"), 1);
  const std::string linux = dir.Read("hostname.txt");
  EXPECT_EQ(platform::HostName() + "\n", linux);
  if (const char* prefix = std::getenv("WINEPREFIX")) {
    std::string expected = prefix;
    while (expected.size() > 1 && expected.back() == '/') expected.pop_back();
    EXPECT_EQ(platform::WinePrefixPath(), expected);
  }
  const std::string own = platform::WinePrefixPath();
  ASSERT_FALSE(own.empty());
  const struct {
    std::string prefix, program;
    int liveness;
  } cases[] = {
      {own, "zuvo_platform_tests.exe", platform::kAlive},
      {own, "ZUVO_PLATFORM_TESTS.EXE", platform::kAlive},
      {own + "/", "zuvo_platform_tests.exe", platform::kAlive},
      {own, "Kantrelwick.exe", platform::kDead},
      {own + "/drive_c", "zuvo_platform_tests.exe", platform::kCannotTell},  // another folder: another prefix
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::WineProgramLiveness(c.prefix, c.program), c.liveness) << c.prefix << " " << c.program;
  }
}

// The console handler as the console calls it (headless wine has no console
// that could send Ctrl-C: GenerateConsoleCtrlEvent fails there).
TEST(InterruptWin32Test, CtrlCIsRecordedAndASecondOneEndsTheProgram) {
  for (const DWORD event : {CTRL_C_EVENT, CTRL_BREAK_EVENT}) {
    platform::ClearInterrupt();
    EXPECT_EQ(platform::InterruptRequested(), 0);
    EXPECT_TRUE(platform::win32::HandleConsoleEvent(event));
    EXPECT_TRUE(platform::win32::HandleConsoleEvent(CTRL_C_EVENT));  // the first interrupt's signal stays
    EXPECT_EQ(platform::InterruptRequested(), 1);
    EXPECT_EQ(platform::InterruptSignal(), 2);
    EXPECT_STREQ(platform::InterruptSignalName(platform::InterruptSignal()), "SIGINT");
  }
  testing_support::TempDir dir;
  dir.Write("Lauf.txt", "x");
  std::thread sender([] {
    Sleep(300);
    platform::win32::HandleConsoleEvent(CTRL_C_EVENT);
    platform::win32::HandleConsoleEvent(CTRL_C_EVENT);
  });
  const DWORD before = GetTickCount();
  EXPECT_EQ(platform_test::RunChild({"--hold", dir.Path("Lauf.txt"), "20000"}), 128 + 9);
  EXPECT_LT(GetTickCount() - before, 10000u);
  sender.join();
  platform::ClearInterrupt();
}

}  // namespace
