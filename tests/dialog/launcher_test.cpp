// The Linux launcher "startzuvo": started from the installation's folder with
// a relative Unix path, it starts StartZUVO.exe under wine with the layout
// named as a Windows path.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "dialog_fixture.h"

namespace dialog_driver {
namespace {

class LauncherTest : public DialogTest {};

TEST_F(LauncherTest, StartsTheDialogWithTheLayoutAsAWindowsPath) {
  const char* launcher = std::getenv("ZUVO_DIALOG_LAUNCHER");
  if (!launcher || !*launcher) GTEST_SKIP() << "ZUVO_DIALOG_LAUNCHER is not set";

  Step("startzuvo Anlagen/T\xE4ler.danl in the installation's folder");
  // Wine runs a Unix program that a Windows path names; the shell reads the
  // launcher, which calls winepath and wine itself.
  std::string command = std::string("Z:\\bin\\sh ") + launcher + " Anlagen/T\xE4ler.danl";
  std::string error;
  ASSERT_TRUE(app_.StartThrough(command, installation_.host, ProbeDll(), &error)) << error;
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen()) << "no message";

  Step("the layout field shows the Windows path of the pair's layout file");
  EXPECT_EQ(app_.Text(1000), installation_.Path("Anlagen\\T\xE4ler.anl"));
  EXPECT_EQ(app_.Text(1002), "");
  EXPECT_TRUE(Finish());
}

}  // namespace
}  // namespace dialog_driver
