// zuvo start, run as the user runs it, every effect checked on disk and in
// the stand-in simulator's log.
#include <filesystem>
#include <functional>

#include "e2e/installation.h"
#include "layout/data_sheet.h"
#include "layout/layout.h"
#include "settings/settings_file.h"

namespace e2e {
namespace {

using stand_in::DescribeContent;

std::string Value(const std::string& text, const char* section, const char* key) {
  settings::SettingsFile file;
  file.Parse(text);
  const std::string* value = file.Find(section, key);
  return value != nullptr ? *value : "(fehlt)";
}

TEST_F(StartTest, DefaultsAreSavedOnceAndChoicesInstalledForTheRunAndStored) {
  WriteSettings({"[Zuvo]", "Leitpfosten=Gelb.mod"});
  RunResult run = Start({"--buffer-stop", "Holz.mod", "--catenary", "Kette.mod", "--ground-texture", "Sand.bmp"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");

  // The simulator ran on the quoted layout with the choices installed, the
  // guide post as the ".danl" stored it.
  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Argumente"), "2");
  EXPECT_EQ(sim.Get("Argument 0"), "Kantrelwick.exe");
  EXPECT_EQ(sim.Get("Argument 1"), sim_.host + "Anlagen\\Test.anl");
  EXPECT_EQ(sim.Get("Datei Mods\\Prellbock.mod"), DescribeContent("Prellbock Holz") + " (wie Prellbock\\Holz.mod)");
  EXPECT_EQ(sim.Get("Datei Mods\\Oberleitung.mod"),
            DescribeContent("Oberleitung Kette") + " (wie Oberleitung\\Kette.mod)");
  EXPECT_EQ(sim.Get("Datei Mods\\Leitpfosten.mod"),
            DescribeContent("Leitpfosten gelb") + " (wie Leitpfosten\\Gelb.mod)");
  EXPECT_EQ(sim.Get("Datei Parallels\\Tex256_256a.bmp"),
            DescribeContent("Bodentextur Sand") + " (wie Bodentextur\\Sand.bmp)");
  EXPECT_EQ(sim.Get("Ende"), "Exitcode 0");

  // The originals kept as default files, the choices stay installed and are
  // stored; no camera set, so the layout was not written.
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Oberleitung\\Oberleitung.mod"), kOwnCatenary);
  EXPECT_EQ(Read("Leitpfosten\\Leitpfosten.mod"), kOwnGuidePost);
  EXPECT_EQ(Read("Bodentextur\\Grass.bmp"), kOwnTexture);
  EXPECT_EQ(Read("Parallels\\Tex256_256a.bmp"), "Bodentextur Sand");
  EXPECT_EQ(ReadSettings(), CrLf({"[Zuvo]", "Leitpfosten=Gelb.mod", "Prellbock=Holz.mod", "Oberleitung=Kette.mod",
                                  "Bodentextur=Sand.bmp"}));
  EXPECT_EQ(Read("Anlagen\\Test.anl"), TestLayout());

  // The next start: an option given empty installs the default, which was
  // saved once and not again from the changed active file; the stored value
  // stays, and the other stored choices are installed.
  Write("Mods\\Prellbock.mod", "fremder Prellbock");
  Write("Mods\\Oberleitung.mod", kOwnCatenary);
  run = Start({"--buffer-stop", ""});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Mods\\Oberleitung.mod"), "Oberleitung Kette");
  EXPECT_EQ(Value(ReadSettings(), "Zuvo", "Prellbock"), "Holz.mod");
}

TEST_F(StartTest, WhatStopsAStartBeforeTheRun) {
  struct Case {
    std::vector<std::string> options;
    std::function<void()> spoil;
    std::string err;
  } cases[] = {
      {{"--buffer-stop", "Rot.mod"}, {}, "Pressboch \"Rot.mod\" kann nicht installiert werden!\n"},
      {{"--catenary", "Rot.mod"}, {}, "Oberleitung \"Rot.mod\" kann nicht installiert werden!\n"},
      {{"--guide-post", "Rot.mod"}, {}, "Leitpfosten \"Rot.mod\" kann nicht installiert werden!\n"},
      {{"--ground-texture", "Rot.mod"}, {}, "Bodentextur \"Rot.mod\" kann nicht installiert werden!\n"},
      {{}, [&] { std::filesystem::remove(sim_.Native("Mods\\Oberleitung.mod")); },
       "Original Oberleitung kann nicht gesichert werden!\n"},
      {{}, [&] { std::filesystem::remove(sim_.Native("Parallels\\Tex256_256a.bmp")); },
       "Original Bodentextur (Grass.bmp) kann nicht gesichert werden!\n"},
      {{}, [&] { Write("Anlagen\\Test.anl", "kaputt"); }, "Formatfehler!\n"},
      {{"--buffer-stop", "Holz.mod"}, [&] { sim_.SetRegistryCommand(""); },
       "Unbekannte oder fehlerhafte ZUVO Installation\n"},  // last: the registry stays away
  };
  const testing_support::Tree fresh = testing_support::SnapshotTree(sim_.Prefix());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.err);
    testing_support::RestoreTree(sim_.Prefix(), fresh);
    if (c.spoil) c.spoil();
    RunResult run = Start(c.options);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c.err);
    EXPECT_FALSE(Exists(stand_in::kLogFileName)) << "the simulator ran";
    EXPECT_FALSE(Exists("Anlagen\\Test.danl"));
    EXPECT_EQ(Read("Mods\\Prellbock.mod"), kOwnBufferStop);
  }
  // Without the registry nothing was saved; --host names the installation.
  EXPECT_FALSE(Exists("Prellbock\\Prellbock.mod"));
  EXPECT_EQ(sim_.Zuvo({"--host", sim_.Native(), "start", Layout()}).exitCode, 0);
  EXPECT_EQ(OnlyRun().Get("Argument 1"), sim_.host + "Anlagen\\Test.anl");
}

TEST_F(StartTest, SwapsAndTheCameraSetAreMadeForTheRunAndTakenBack) {
  // Two "Copy" sections, a chain A=B, B=C, absolute paths; the lower-case
  // section swaps nothing.
  const char* const names[] = {"A", "B", "C", "Sub\\D", "Sub\\E", "Sig", "Sig_Neu"};
  for (const char* name : names) Write(name + std::string(".dat"), name);
  WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1111", "PY1=2222", "PZ1=333", "OW1=40", "LH1=45000",
                 "WX1=90", "WH1=-10", "[Kantrelwick]", "Alt=1", "[copy]", "Sig.dat=Sig_Neu.dat", "[Copy]",
                 "A.dat=B.dat", "[Copy]", "B.dat=C.dat", sim_.host + "Sub\\D.dat=" + sim_.host + "Sub\\E.dat"});
  WritePlan({"[Kamera 1]", "PX=5555", "WX=45", "WH=-20", "[Kamera 3]", "PZ=999", "[Danl Kantrelwick]",
             "Fahrplan=08:15", "[Danl Zuvo]", "Vom Simulator=ja", "[Ablauf]", "Zeigen=Sig.dat", "Zeigen=C.dat"});
  RunResult run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");

  // During the run: the substitute under the key's name, the original in
  // "<key>.sav", the substitute's own name gone.
  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Tausch A.dat"), DescribeContent("B"));
  EXPECT_EQ(sim.Get("Tausch A.dat.sav"), DescribeContent("A"));
  EXPECT_EQ(sim.Get("Tausch B.dat"), DescribeContent("C"));
  EXPECT_EQ(sim.Get("Tausch B.dat.sav"), "fehlt");
  EXPECT_EQ(sim.Get("Zeigen C.dat"), "fehlt");
  EXPECT_EQ(sim.Get("Tausch " + sim_.host + "Sub\\D.dat"), DescribeContent("Sub\\E"));
  EXPECT_EQ(sim.Get("Zeigen Sig.dat"), DescribeContent("Sig"));
  EXPECT_FALSE(sim.Has("Tausch Sig.dat"));
  // View 1 of the set; the others take a camera set's defaults.
  EXPECT_EQ(sim.Get("Kamera 1"), "PX=1111 PY=2222 PZ=333 OW=40 LH=45000 WX=90 WH=-10");
  EXPECT_EQ(sim.Get("Kamera 2"), "PX=-18100 PY=-6500 PZ=2000 OW=38 LH=47200 WX=24.145552 WH=-4.844");
  const std::string moved = sim.Get("Kamera 1 bewegt");
  const std::size_t angles = moved.find(" WX=");
  ASSERT_NE(angles, std::string::npos) << moved;
  EXPECT_EQ(moved.substr(0, angles), "PX=5555 PY=2222 PZ=333 OW=40 LH=45000");
  EXPECT_EQ(sim.Get("Anlage gespeichert"), "ja");

  // Afterwards every file holds its own content and no backup is left.
  for (const char* name : names) EXPECT_EQ(Read(name + std::string(".dat")), name);
  for (const std::string& name : sim_.List("")) EXPECT_EQ(name.find(".sav"), std::string::npos) << name;
  EXPECT_EQ(sim_.List("Sub"), (std::vector<std::string>{"D.dat", "E.dat"}));

  // The set holds the cameras as the simulator left them; what it wrote into
  // the ".danl" survives.
  const std::string danl = ReadSettings();
  EXPECT_EQ(Value(danl, "KamSet Nord", "PX1"), "5555");
  EXPECT_EQ(" WX=" + Value(danl, "KamSet Nord", "WX1") + " WH=" + Value(danl, "KamSet Nord", "WH1"),
            moved.substr(angles));
  EXPECT_EQ(Value(danl, "KamSet Nord", "PZ3"), "999");
  EXPECT_EQ(Value(danl, "KamSet Nord", "PX5"), "-18100");
  EXPECT_EQ(Value(danl, "Kantrelwick", "Fahrplan"), "08:15");
  EXPECT_EQ(Value(danl, "Kantrelwick", "Alt"), "1");
  EXPECT_EQ(Value(danl, "Zuvo", "Vom Simulator"), "ja");
  layout::Layout saved;
  ASSERT_TRUE(saved.LoadFromBytes(Read("Anlagen\\Test.anl"), layout::HostDataSheets()));
  EXPECT_EQ(saved.cameraViews[2].PZ, 999);
  EXPECT_EQ(saved.models.size(), 1u);  // saved by the tool before the run
}

TEST_F(StartTest, ANewCameraSetBecomesASectionAndNoneLeavesTheLayoutAlone) {
  WriteSettings({"[Zuvo]", "KamSet=Nord", "Prellbock=Holz.mod"});
  RunResult run = Start({"--camera-set", ""});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Read("Anlagen\\Test.anl"), TestLayout());
  EXPECT_EQ(OnlyRun().Get("Kamera 1"), "PX=1000 PY=-500 PZ=200 OW=38 LH=47200 WX=0 WH=0");
  EXPECT_EQ(ReadSettings(), CrLf({"[Zuvo]", "KamSet=Nord", "Prellbock=Holz.mod"}));

  // No such set yet: the layout's own views go to the simulator and into
  // the new set.
  WritePlan({"[Kamera 2]", "PY=-777"});
  run = Start({"--camera-set", "Abend Rot"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Runs().back().Get("Kamera 2"), "PX=2000 PY=-500 PZ=200 OW=38 LH=47200 WX=0 WH=0");
  settings::SettingsFile danl;
  danl.Parse(ReadSettings());
  EXPECT_EQ(danl.count(), 3 + 1 + 35);
  EXPECT_EQ(Value(ReadSettings(), "Zuvo", "KamSet"), "Abend Rot");
  EXPECT_EQ(Value(ReadSettings(), "KamSet Abend Rot", "PX1"), "1000");
  EXPECT_EQ(Value(ReadSettings(), "KamSet Abend Rot", "PY2"), "-777");
  EXPECT_EQ(Value(ReadSettings(), "KamSet Abend Rot", "LH5"), "47200");
}

// Paths longer than the 300-byte buffers of old: a deep installation, a long
// layout name and a long swap key.
class LongPathStartTest : public StartTest {
 protected:
  LongPathStartTest()
      : StartTest(std::string(120, 'k') + "\\" + std::string(120, 'l') + "\\" + std::string(60, 'm') + "\\Sim") {}
};

TEST_F(LongPathStartTest, LongPathsWork) {
  const std::string longName = std::string(200, 'x') + ".dat", layoutName = std::string(100, 'a');
  Write(longName, "lang");
  Write("Kurz.dat", "kurz");
  Write("Anlagen\\" + layoutName + ".anl", TestLayout());
  Write("Anlagen\\" + layoutName + ".danl", CrLf({"[Copy]", longName + "=Kurz.dat"}));
  ASSERT_GT(sim_.host.size(), 284u);
  RunResult run = sim_.Zuvo({"start", sim_.Native("Anlagen\\" + layoutName + ".anl"), "--camera-set", "Weit"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Argument 1"), sim_.host + "Anlagen\\" + layoutName + ".anl");
  EXPECT_EQ(sim.Get("Tausch " + longName), DescribeContent("kurz"));
  EXPECT_EQ(sim.Get("Tausch " + longName + ".sav"), DescribeContent("lang"));
  EXPECT_EQ(Read(longName), "lang");
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Value(Read("Anlagen\\" + layoutName + ".danl"), "KamSet Weit", "PX1"), "1000");
}

}  // namespace
}  // namespace e2e
