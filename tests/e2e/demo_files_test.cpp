// The demo installation in examples/demo: its binary files are what the
// generator makes, and its layout loads as an installation holds it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "e2e/run_zuvo.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

std::string ReadNative(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

#ifdef ZUVO_MAKE_DEMO
TEST(DemoFilesTest, TheBinaryFilesAreWhatTheGeneratorMakes) {
  TempDir dir;
  const std::string command = std::string("'") + ZUVO_MAKE_DEMO + "' '" + dir.native() + "' >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const char* files[] = {"Anlagen/Demo.anl",          "Anlagen/Demo_Hoehe.bmp",
                         "Anlagen/Demo_Farbe.bmp",    "Parallels/Tex256_256a.bmp",
                         "Bodentextur/Sand.bmp",      "Bodentextur/Schnee.bmp"};
  for (const char* file : files) {
    std::string made = dir.Read(file);
    EXPECT_FALSE(made.empty()) << file;
    EXPECT_TRUE(made == ReadNative(std::string(ZUVO_DEMO_FOLDER) + "/" + file))
        << file << " differs from what zuvo_make_demo makes";
  }
}
#endif

TEST(DemoFilesTest, TheLayoutLoadsWithItsDataSheet) {
  // The library-driven unit has 8 bytes of extra data, which only its data
  // sheet in "Rollmaterial\Datenblätter" makes readable.
  e2e::RunResult run = e2e::RunZuvo(
      {"--host", ZUVO_DEMO_FOLDER, "dump", std::string(ZUVO_DEMO_FOLDER) + "/Anlagen/Demo.anl"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("Dampflok.dll"), std::string::npos);

  // Without the installation the data sheet is not found and the load fails.
  TempDir elsewhere;
  run = e2e::RunZuvo({"--host", elsewhere.native(), "dump",
                      std::string(ZUVO_DEMO_FOLDER) + "/Anlagen/Demo.anl"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Dll-Modell \"Dampflok.dll\" kann nicht benutzt werden!\n");
}

}  // namespace
