// Process identity and interrupts of the Windows build, under wine in the
// Windows stage: the Windows process list, and the programs of wine's prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/interrupt.h"
#include "platform/platform.h"
#include "platform/test_processes.h"
#include "platform/win32/interrupt_child.h"
#include "support/test_support.h"

namespace {

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

TEST(ProcessIdentityWin32Test, UnderWineTheProgramsOfItsOwnPrefixAreFoundByName) {
  if (platform::ThisSystem() != platform::SystemKind::kWine) GTEST_SKIP() << "no wine here";
  const std::string own = platform::WinePrefixPath();
  ASSERT_FALSE(own.empty());
  const struct {
    std::string prefix, program;
    int liveness;
  } cases[] = {
      {own, "ZUVO_PLATFORM_TESTS.EXE", platform::kAlive},
      {own + "/", "zuvo_platform_tests.exe", platform::kAlive},
      {own, "Kantrelwick.exe", platform::kDead},
      {own + "/drive_c", "zuvo_platform_tests.exe", platform::kCannotTell},  // another folder: another prefix
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::WineProgramLiveness(c.prefix, c.program), c.liveness) << c.prefix << " " << c.program;
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
