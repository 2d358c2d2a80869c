// A simulator installation in a throwaway Wine-style prefix, with the
// stand-in simulator installed as Kantrelwick.exe, for the tests of
// "zuvo start".
//
//   <temp>/prefix/system.reg          names C:\Sim\Kantrelwick.exe
//   <temp>/prefix/dosdevices/c:  ->   ../drive_c
//   <temp>/prefix/drive_c/Sim/        the installation (C:\Sim\)
//     Mods\Prellbock.mod ...          the active files, each with its own text
//     Parallels\Tex256_256a.bmp
//     Prellbock\Holz.mod ...          one alternative in each kind folder
//     Anlagen\Test.anl                a small layout (cameras 1 to 5, a model
//                                     stored twice, which a save drops)
//     Kantrelwick.exe                 the stand-in; its log Kantrelwick.log,
//                                     its plan Kantrelwick.plan
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/run_zuvo.h"
#include "fake-simulator/stand_in_protocol.h"
#include "support/test_support.h"

namespace e2e {

// The contents the installation starts with.
extern const char kOwnBufferStop[];
extern const char kOwnCatenary[];
extern const char kOwnGuidePost[];
extern const char kOwnTexture[];

class StartTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // `relative` (backslashes) inside the installation: read, write, exists.
  std::string Read(const std::string& relative) const;
  void Write(const std::string& relative, const std::string& bytes) const;
  bool Exists(const std::string& relative) const;
  // Names in a folder of the installation, sorted.
  std::vector<std::string> List(const std::string& relative) const;

  // The installation as the system names it: "C:\Sim\".
  std::string Host() const { return "C:\\" + hostFolder_ + "\\"; }
  // The installation's native folder.
  std::string NativeInstallation() const;
  std::string NativeLayout() const;

  // The ".danl" beside the layout, written with CR LF line ends.
  void WriteSettings(const std::vector<std::string>& lines) const;
  std::string ReadSettings() const;

  // The stand-in's plan, lines joined with CR LF.
  void WritePlan(const std::vector<std::string>& lines) const;
  // The stand-in's runs so far.
  std::vector<stand_in::Run> Runs() const;
  // The one run so far; a test failure when there is not exactly one.
  stand_in::Run OnlyRun() const;

  // zuvo start on the layout with the prefix as WINEPREFIX.
  RunResult Start(const std::vector<std::string>& options = {}) const;

  testing_support::TempDir dir_;
  // The installation's folder below drive C: (backslashes); a test fixture
  // may set another before SetUp.
  std::string hostFolder_ = "Sim";

 private:
  std::string savedPrefix_;
  bool hadPrefix_ = false;
};

// The text of a CR LF file as lines.
std::string CrLf(const std::vector<std::string>& lines);

// The layout file of the test installation, with the camera view `view`
// (0 to 4) as the file stores it.
std::string TestLayout();

}  // namespace e2e
