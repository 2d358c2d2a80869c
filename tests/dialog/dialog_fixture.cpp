#include "dialog_fixture.h"

#include <cstdlib>

namespace dialog_driver {

std::string StartZuvoExe() { return ZUVO_STARTZUVO_EXE; }
std::string ProbeDll() { return ZUVO_DIALOG_PROBE; }

std::string FakeSimulator() {
#ifdef ZUVO_FAKE_SIMULATOR
  return ZUVO_FAKE_SIMULATOR;
#else
  return std::string();
#endif
}

std::string PictureFolder() {
  const char* folder = std::getenv("ZUVO_DIALOG_SHOTS");
  return folder && *folder ? folder : ".";
}

void DialogTest::SetUp() {
  Step("making the test installation");
  std::string host = HostFolderFromEnvironment();
  ASSERT_FALSE(host.empty()) << "ZUVO_DIALOG_HOST is not set; the test stage sets it together "
                                "with the registry entry that names the installation";
  std::string error;
  ASSERT_TRUE(MakeInstallation(host, FakeSimulator(), &installation_, &error)) << error;
}

void DialogTest::TearDown() {
  step_.reset();
  app_.Kill();
}

void DialogTest::Step(const std::string& name) {
  step_.reset();
  step_.reset(new ::testing::ScopedTrace(__FILE__, __LINE__, "step: " + name));
}

::testing::AssertionResult DialogTest::Start(const std::vector<std::string>& arguments) {
  std::string error;
  if (!app_.Start(StartZuvoExe(), arguments, ProbeDll(), &error)) {
    return ::testing::AssertionFailure() << error;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult DialogTest::Settle() {
  if (!app_.Settle()) return ::testing::AssertionFailure() << "the dialog does not respond";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult DialogTest::WaitForMessageBox(BoxWindow* box) {
  if (!app_.WaitForBox(false, box)) return ::testing::AssertionFailure() << "no message box";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult DialogTest::WaitForFileDialog(BoxWindow* box) {
  if (!app_.WaitForBox(true, box)) return ::testing::AssertionFailure() << "no file dialog";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult DialogTest::Finish() {
  app_.Click(IDOK);
  DWORD code = 0;
  if (!app_.WaitForExit(kWaitMs, &code)) {
    return ::testing::AssertionFailure() << "the program did not end after \"Fertig\"";
  }
  if (code != 0) return ::testing::AssertionFailure() << "exit code " << code;
  return ::testing::AssertionSuccess();
}

}  // namespace dialog_driver
