// zuvo start, run as the user runs it: an installation in a throwaway
// Wine-style prefix, the stand-in simulator as Kantrelwick.exe, and every
// effect checked on disk.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e/start_fixture.h"
#include "layout/layout.h"
#include "settings/settings_file.h"

namespace e2e {
namespace {

using stand_in::DescribeContent;

// The settings file on disk, read by the system's own reader.
settings::SettingsFile Parsed(const std::string& text) {
  settings::SettingsFile file;
  file.Parse(text);
  return file;
}

std::string Value(const settings::SettingsFile& file, const char* section, const char* key) {
  const std::string* value = file.Find(section, key);
  return value != nullptr ? *value : "(fehlt)";
}

// The section names of a settings file, in order.
std::vector<std::string> Sections(const settings::SettingsFile& file) {
  std::vector<std::string> names;
  for (const settings::SettingsEntry& entry : file.entries()) {
    if (entry.isSection) names.push_back(entry.name);
  }
  return names;
}

TEST_F(StartTest, TheFirstStartSavesTheDefaultsAndInstallsThem) {
  RunResult run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");

  // The default files, copied from the active ones.
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Oberleitung\\Oberleitung.mod"), kOwnCatenary);
  EXPECT_EQ(Read("Leitpfosten\\Leitpfosten.mod"), kOwnGuidePost);
  EXPECT_EQ(Read("Bodentextur\\Grass.bmp"), kOwnTexture);

  // The simulator ran with its own assets installed, on the quoted layout.
  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Argumente"), "2");
  EXPECT_EQ(sim.Get("Argument 0"), "Kantrelwick.exe");
  EXPECT_EQ(sim.Get("Argument 1"), Host() + "Anlagen\\Test.anl");
  EXPECT_EQ(sim.Get("Datei Mods\\Prellbock.mod"),
            DescribeContent(kOwnBufferStop) + " (wie Prellbock\\Prellbock.mod)");
  EXPECT_EQ(sim.Get("Datei Mods\\Oberleitung.mod"),
            DescribeContent(kOwnCatenary) + " (wie Oberleitung\\Oberleitung.mod)");
  EXPECT_EQ(sim.Get("Datei Mods\\Leitpfosten.mod"),
            DescribeContent(kOwnGuidePost) + " (wie Leitpfosten\\Leitpfosten.mod)");
  EXPECT_EQ(sim.Get("Datei Parallels\\Tex256_256a.bmp"),
            DescribeContent(kOwnTexture) + " (wie Bodentextur\\Grass.bmp)");
  EXPECT_EQ(sim.Get("Ende"), "Exitcode 0");

  // Active files unchanged; no camera set, so the layout was not written; no
  // settings to store, so no ".danl" appeared.
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Parallels\\Tex256_256a.bmp"), kOwnTexture);
  EXPECT_EQ(Read("Anlagen\\Test.anl"), TestLayout());
  EXPECT_EQ(List("Anlagen"), (std::vector<std::string>{"Test.anl"}));

  // A default file is saved only once: a later start keeps it even when the
  // active file has changed meanwhile, and installs it.
  Write("Mods\\Prellbock.mod", "fremder Prellbock");
  run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), kOwnBufferStop);
}

TEST_F(StartTest, ChosenFilesAreInstalledForTheRunAndStored) {
  WriteSettings({"[Zuvo]", "Leitpfosten=Gelb.mod"});
  RunResult run = Start({"--buffer-stop", "Holz.mod", "--catenary", "Kette.mod",
                         "--ground-texture", "Sand.bmp"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");

  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Datei Mods\\Prellbock.mod"),
            DescribeContent("Prellbock Holz") + " (wie Prellbock\\Holz.mod)");
  EXPECT_EQ(sim.Get("Datei Mods\\Oberleitung.mod"),
            DescribeContent("Oberleitung Kette") + " (wie Oberleitung\\Kette.mod)");
  // Not given on the command line: the choice stored in the ".danl".
  EXPECT_EQ(sim.Get("Datei Mods\\Leitpfosten.mod"),
            DescribeContent("Leitpfosten gelb") + " (wie Leitpfosten\\Gelb.mod)");
  EXPECT_EQ(sim.Get("Datei Parallels\\Tex256_256a.bmp"),
            DescribeContent("Bodentextur Sand") + " (wie Bodentextur\\Sand.bmp)");

  // The choices stay installed, the originals are kept as default files.
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), "Prellbock Holz");
  EXPECT_EQ(Read("Parallels\\Tex256_256a.bmp"), "Bodentextur Sand");
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Bodentextur\\Grass.bmp"), kOwnTexture);

  // Every non-empty choice is stored in "Zuvo"; no camera set was named.
  EXPECT_EQ(ReadSettings(), CrLf({"[Zuvo]", "Leitpfosten=Gelb.mod", "Prellbock=Holz.mod",
                                  "Oberleitung=Kette.mod", "Bodentextur=Sand.bmp"}));

  // The next start installs the stored choices; an option given empty means
  // the default again for the run, and leaves the stored value alone.
  Write("Mods\\Prellbock.mod", kOwnBufferStop);
  run = Start({"--catenary", ""});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), "Prellbock Holz");
  EXPECT_EQ(Read("Mods\\Oberleitung.mod"), kOwnCatenary);
  EXPECT_EQ(Value(Parsed(ReadSettings()), "Zuvo", "Oberleitung"), "Kette.mod");
}

TEST_F(StartTest, AChoiceThatCannotBeInstalledStopsBeforeTheRun) {
  struct Case {
    const char* option;
    const char* message;
  } cases[] = {
      {"--buffer-stop", "Pressboch \"Rot.mod\" kann nicht installiert werden!\n"},
      {"--catenary", "Oberleitung \"Rot.mod\" kann nicht installiert werden!\n"},
      {"--guide-post", "Leitpfosten \"Rot.mod\" kann nicht installiert werden!\n"},
      {"--ground-texture", "Bodentextur \"Rot.mod\" kann nicht installiert werden!\n"},
  };
  for (const Case& c : cases) {
    RunResult run = Start({c.option, "Rot.mod"});
    EXPECT_EQ(run.exitCode, 1) << c.option;
    EXPECT_EQ(run.err, c.message);
    EXPECT_FALSE(Exists(stand_in::kLogFileName)) << c.option << ": the simulator ran";
    EXPECT_FALSE(Exists("Anlagen\\Test.danl")) << c.option;
  }
  // The default files were saved before.
  EXPECT_EQ(Read("Bodentextur\\Grass.bmp"), kOwnTexture);

  // A choice is installed even without its kind folder, and then fails.
  std::filesystem::remove_all(NativeInstallation() + "/Leitpfosten");
  RunResult run = Start({"--guide-post", "Gelb.mod"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Leitpfosten \"Gelb.mod\" kann nicht installiert werden!\n");

  // Without a choice, a kind without its folder is left alone.
  run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Read("Mods\\Leitpfosten.mod"), kOwnGuidePost);
  EXPECT_EQ(Runs().size(), 1u);
}

TEST_F(StartTest, AnInstalledAssetThatCannotBeSavedStopsTheStart) {
  std::filesystem::remove(NativeInstallation() + "/Mods/Oberleitung.mod");
  RunResult run = Start();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Original Oberleitung kann nicht gesichert werden!\n");
  // The kind before it was saved, the later ones not; nothing ran.
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_FALSE(Exists("Leitpfosten\\Leitpfosten.mod"));
  EXPECT_FALSE(Exists(stand_in::kLogFileName));

  Write("Mods\\Oberleitung.mod", kOwnCatenary);
  std::filesystem::remove(NativeInstallation() + "/Parallels/Tex256_256a.bmp");
  run = Start();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Original Bodentextur (Grass.bmp) kann nicht gesichert werden!\n");
}

TEST_F(StartTest, CopyEntriesAreSwappedForTheRunOnly) {
  Write("Strecke.dat", "Sommer");
  Write("Strecke_Winter.dat", "Winter");
  Write("Daten\\Signal.dat", "Signal alt");
  Write("Daten\\Signal_Neu.dat", "Signal neu");
  WriteSettings({"[copy]", "Daten\\Signal.dat=Daten\\Signal_Neu.dat", "[Copy]",
                 "Strecke.dat=Strecke_Winter.dat"});
  WritePlan({"[Ablauf]", "Zeigen=Daten\\Signal.dat", "Zeigen=Daten\\Signal_Neu.dat",
             "Zeigen=Strecke_Winter.dat"});
  RunResult run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;

  stand_in::Run sim = OnlyRun();
  // During the run: the substitute under the key's name, the original in
  // "%s.sav", the substitute's own name gone.
  EXPECT_EQ(sim.Get("Tausch Strecke.dat"), DescribeContent("Winter"));
  EXPECT_EQ(sim.Get("Tausch Strecke.dat.sav"), DescribeContent("Sommer"));
  EXPECT_EQ(sim.Get("Zeigen Strecke_Winter.dat"), "fehlt");
  // The lower-case section swaps nothing.
  EXPECT_EQ(sim.Get("Zeigen Daten\\Signal.dat"), DescribeContent("Signal alt"));
  EXPECT_EQ(sim.Get("Zeigen Daten\\Signal_Neu.dat"), DescribeContent("Signal neu"));
  EXPECT_FALSE(sim.Has("Tausch Daten\\Signal.dat"));

  // Afterwards every file holds its own content again and no backup is left.
  EXPECT_EQ(Read("Strecke.dat"), "Sommer");
  EXPECT_EQ(Read("Strecke_Winter.dat"), "Winter");
  EXPECT_EQ(Read("Daten\\Signal.dat"), "Signal alt");
  EXPECT_EQ(Read("Daten\\Signal_Neu.dat"), "Signal neu");
  EXPECT_FALSE(Exists("Strecke.dat.sav"));
  EXPECT_FALSE(Exists("Daten\\Signal.dat.sav"));
}

TEST_F(StartTest, SwapsInSeveralSectionsAndChainsAreAllTakenBack) {
  // Two "Copy" sections; A=B and B=C form a chain; the last entry names its
  // files by absolute paths.
  Write("A.dat", "a");
  Write("B.dat", "b");
  Write("C.dat", "c");
  Write("Sub\\D.dat", "d");
  Write("Sub\\E.dat", "e");
  WriteSettings({"[Copy]", "A.dat=B.dat", "[Zuvo]", "[Copy]", "B.dat=C.dat",
                 Host() + "Sub\\D.dat=" + Host() + "Sub\\E.dat"});
  RunResult run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;

  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Tausch A.dat"), DescribeContent("b"));
  EXPECT_EQ(sim.Get("Tausch A.dat.sav"), DescribeContent("a"));
  EXPECT_EQ(sim.Get("Tausch B.dat"), DescribeContent("c"));
  EXPECT_EQ(sim.Get("Tausch B.dat.sav"), "fehlt");
  EXPECT_EQ(sim.Get("Tausch " + Host() + "Sub\\D.dat"), DescribeContent("e"));

  EXPECT_EQ(Read("A.dat"), "a");
  EXPECT_EQ(Read("B.dat"), "b");
  EXPECT_EQ(Read("C.dat"), "c");
  EXPECT_EQ(Read("Sub\\D.dat"), "d");
  EXPECT_EQ(Read("Sub\\E.dat"), "e");
  for (const std::string& name : List("")) {
    EXPECT_EQ(name.find(".sav"), std::string::npos) << name;
  }
  EXPECT_EQ(List("Sub"), (std::vector<std::string>{"D.dat", "E.dat"}));
}

TEST_F(StartTest, TheCameraSetGoesIntoTheLayoutAndComesBackAsTheSimulatorLeftIt) {
  WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1111", "PY1=2222", "PZ1=333",
                 "OW1=40", "LH1=45000", "WX1=90", "WH1=-10", "[Kantrelwick]", "Alt=1"});
  WritePlan({"[Kamera 1]", "PX=5555", "WX=45", "WH=-20", "[Kamera 3]", "PZ=999",
             "[Danl Kantrelwick]", "Fahrplan=08:15", "[Danl Zuvo]", "Vom Simulator=ja"});
  RunResult run = Start();  // the set stored in "Zuvo"
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");

  // The simulator started with the set's view 1; the other views take the
  // defaults of a camera set.
  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Kamera 1"), "PX=1111 PY=2222 PZ=333 OW=40 LH=45000 WX=90 WH=-10");
  EXPECT_EQ(sim.Get("Kamera 2"),
            "PX=-18100 PY=-6500 PZ=2000 OW=38 LH=47200 WX=24.145552 WH=-4.844");
  const std::string moved = sim.Get("Kamera 1 bewegt");
  const std::size_t angles = moved.find(" WX=");
  ASSERT_NE(angles, std::string::npos) << moved;
  EXPECT_EQ(moved.substr(0, angles), "PX=5555 PY=2222 PZ=333 OW=40 LH=45000");
  EXPECT_EQ(sim.Get("Anlage gespeichert"), "ja");

  // The set holds the cameras as the simulator left them in the layout.
  settings::SettingsFile danl = Parsed(ReadSettings());
  EXPECT_EQ(Value(danl, "KamSet Nord", "PX1"), "5555");
  EXPECT_EQ(" WX=" + Value(danl, "KamSet Nord", "WX1") + " WH=" + Value(danl, "KamSet Nord", "WH1"),
            moved.substr(angles));
  EXPECT_EQ(Value(danl, "KamSet Nord", "PZ3"), "999");
  EXPECT_EQ(Value(danl, "KamSet Nord", "PX5"), "-18100");
  EXPECT_EQ(Value(danl, "Zuvo", "KamSet"), "Nord");
  // What the simulator wrote into the ".danl" during its run survives.
  EXPECT_EQ(Value(danl, "Kantrelwick", "Fahrplan"), "08:15");
  EXPECT_EQ(Value(danl, "Kantrelwick", "Alt"), "1");
  EXPECT_EQ(Value(danl, "Zuvo", "Vom Simulator"), "ja");
  EXPECT_EQ(Sections(danl), (std::vector<std::string>{"Zuvo", "KamSet Nord", "Kantrelwick"}));

  // The layout on disk holds the moved cameras (and was saved by the tool
  // before the run: the duplicate model is gone).
  layout::Layout saved;
  ASSERT_TRUE(saved.LoadFromBytes(Read("Anlagen\\Test.anl")));
  EXPECT_EQ(saved.cameraViews[0].PX, 5555);
  EXPECT_EQ(saved.cameraViews[2].PZ, 999);
  EXPECT_EQ(saved.models.size(), 1u);
}

TEST_F(StartTest, ANewCameraSetNameBecomesASection) {
  WriteSettings({"[Zuvo]", "KamSet=Nord", "Prellbock=Holz.mod"});
  WritePlan({"[Kamera 2]", "PY=-777"});
  RunResult run = Start({"--camera-set", "Abend Rot"});
  EXPECT_EQ(run.exitCode, 0) << run.err;

  // No such set yet: the layout's own views went to the simulator.
  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Kamera 2"), "PX=2000 PY=-500 PZ=200 OW=38 LH=47200 WX=0 WH=0");

  settings::SettingsFile danl = Parsed(ReadSettings());
  EXPECT_EQ(Sections(danl), (std::vector<std::string>{"Zuvo", "KamSet Abend Rot"}));
  EXPECT_EQ(Value(danl, "Zuvo", "KamSet"), "Abend Rot");
  EXPECT_EQ(Value(danl, "Zuvo", "Prellbock"), "Holz.mod");
  EXPECT_EQ(danl.count(), 3 + 1 + 35);
  EXPECT_EQ(Value(danl, "KamSet Abend Rot", "PX1"), "1000");
  EXPECT_EQ(Value(danl, "KamSet Abend Rot", "PY2"), "-777");
  EXPECT_EQ(Value(danl, "KamSet Abend Rot", "WX5"), "0");
  EXPECT_EQ(Value(danl, "KamSet Abend Rot", "LH5"), "47200");
}

TEST_F(StartTest, WithoutACameraSetTheLayoutIsNotWrittenBeforeTheRun) {
  WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1"});
  RunResult run = Start({"--camera-set", ""});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // The duplicate model is still there: the tool did not save the layout.
  EXPECT_EQ(Read("Anlagen\\Test.anl"), TestLayout());
  EXPECT_EQ(OnlyRun().Get("Kamera 1"), "PX=1000 PY=-500 PZ=200 OW=38 LH=47200 WX=0 WH=0");
  // "KamSet" keeps its value, the set is untouched.
  EXPECT_EQ(ReadSettings(), CrLf({"[Zuvo]", "KamSet=Nord", "", "[KamSet Nord]", "PX1=1"}));
}

TEST_F(StartTest, ASimulatorThatCannotBeStartedIsReportedAfterTheInstallationIsPutBack) {
  std::filesystem::remove(NativeInstallation() + "/Kantrelwick.exe");
  Write("Strecke.dat", "Sommer");
  Write("Strecke_Winter.dat", "Winter");
  WriteSettings({"[Copy]", "Strecke.dat=Strecke_Winter.dat"});
  RunResult run = Start({"--buffer-stop", "Holz.mod", "--camera-set", "Nord"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Simulator \"" + Host() + "Kantrelwick.exe\" kann nicht gestartet werden!\n");

  EXPECT_EQ(Read("Strecke.dat"), "Sommer");
  EXPECT_EQ(Read("Strecke_Winter.dat"), "Winter");
  EXPECT_FALSE(Exists("Strecke.dat.sav"));
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), "Prellbock Holz");
  // The settings are stored as after a run.
  settings::SettingsFile danl = Parsed(ReadSettings());
  EXPECT_EQ(Value(danl, "Zuvo", "Prellbock"), "Holz.mod");
  EXPECT_EQ(Value(danl, "Zuvo", "KamSet"), "Nord");
  EXPECT_EQ(Value(danl, "KamSet Nord", "PX1"), "1000");
}

TEST_F(StartTest, WhateverTheSimulatorDoesTheSwapsAreTakenBack) {
  Write("Strecke.dat", "Sommer");
  Write("Strecke_Winter.dat", "Winter");
  WriteSettings({"[Copy]", "Strecke.dat=Strecke_Winter.dat"});

  // A crash: the sequence goes on as after any run.
  WritePlan({"[Ablauf]", "Absturz=1"});
  RunResult run = Start({"--buffer-stop", "Holz.mod"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(OnlyRun().Get("Absturz"), "abort()");
  EXPECT_EQ(Read("Strecke.dat"), "Sommer");
  EXPECT_EQ(Read("Strecke_Winter.dat"), "Winter");
  EXPECT_FALSE(Exists("Strecke.dat.sav"));
  EXPECT_EQ(Value(Parsed(ReadSettings()), "Zuvo", "Prellbock"), "Holz.mod");

  // An exit code other than 0 is not looked at either.
  WritePlan({"[Ablauf]", "Exitcode=3"});
  run = Start();
  EXPECT_EQ(run.exitCode, 0) << run.err;

  // The simulator deletes the swapped-in file: the original comes back from
  // its backup all the same, and the message names the file that is lost.
  WritePlan({"[Ablauf]", "Loeschen=Strecke.dat"});
  run = Start();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Nach dem Lauf nicht wiederhergestellt:\n  " + Host() + "Strecke_Winter.dat (fehlt)\n");
  EXPECT_EQ(Runs().back().Get("Geloescht"), "Strecke.dat");
  EXPECT_EQ(Read("Strecke.dat"), "Sommer");
  EXPECT_FALSE(Exists("Strecke_Winter.dat"));
  EXPECT_FALSE(Exists("Strecke.dat.sav"));
}

TEST_F(StartTest, ALayoutThatCannotBeReadAfterTheRunKeepsTheCameraSet) {
  WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1111"});
  WritePlan({"[Ablauf]", "Loeschen=Anlagen\\Test.anl"});
  RunResult run = Start({"--ground-texture", "Sand.bmp"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Can't open " + Host() + "Anlagen\\Test.anl!\n");
  // The settings are stored; the set is not overwritten with views that no
  // file holds.
  settings::SettingsFile danl = Parsed(ReadSettings());
  EXPECT_EQ(Value(danl, "Zuvo", "Bodentextur"), "Sand.bmp");
  EXPECT_EQ(Value(danl, "KamSet Nord", "PX1"), "1111");
  EXPECT_EQ(Value(danl, "KamSet Nord", "PY1"), "(fehlt)");
}

TEST_F(StartTest, AStartIsRefusedWithoutInstallationOrLayout) {
  const std::string registry = dir_.Read("prefix/system.reg");
  std::filesystem::remove(dir_.NativePath("prefix/system.reg"));
  RunResult run = Start({"--buffer-stop", "Holz.mod"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Unbekannte oder fehlerhafte ZUVO Installation\n");
  EXPECT_FALSE(Exists("Prellbock\\Prellbock.mod"));
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_FALSE(Exists(stand_in::kLogFileName));
  dir_.Write("prefix/system.reg", registry);

  // --host names the installation instead of the registry.
  std::filesystem::remove(dir_.NativePath("prefix/system.reg"));
  run = RunZuvo({"--host", NativeInstallation(), "start", NativeLayout()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(OnlyRun().Get("Argument 1"), Host() + "Anlagen\\Test.anl");
  dir_.Write("prefix/system.reg", registry);

  // A layout that does not load: the load's message, nothing else happens.
  Write("Anlagen\\Test.anl", "kaputt");
  run = Start();
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Formatfehler!\n"), std::string::npos) << run.err;
  EXPECT_EQ(Runs().size(), 1u);
}

// Paths longer than the 300-byte buffers of old: a deep installation, a long
// layout name and a long swap key.
class LongPathStartTest : public StartTest {
 protected:
  LongPathStartTest() {
    hostFolder_ = std::string(120, 'k') + "\\" + std::string(120, 'l') + "\\" +
                  std::string(60, 'm') + "\\Kantrelwick";
  }
};

TEST_F(LongPathStartTest, LongPathsWork) {
  const std::string longName = std::string(200, 'x') + ".dat";
  Write(longName, "lang");
  Write("Kurz.dat", "kurz");
  const std::string layoutName = std::string(100, 'a');
  Write("Anlagen\\" + layoutName + ".anl", TestLayout());
  Write("Anlagen\\" + layoutName + ".danl", CrLf({"[Copy]", longName + "=Kurz.dat"}));
  ASSERT_GT(Host().size(), 284u);

  RunResult run = RunZuvo({"start", NativeInstallation() + "/Anlagen/" + layoutName + ".anl",
                           "--camera-set", "Weit"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  stand_in::Run sim = OnlyRun();
  EXPECT_EQ(sim.Get("Argument 1"), Host() + "Anlagen\\" + layoutName + ".anl");
  EXPECT_EQ(sim.Get("Tausch " + longName), DescribeContent("kurz"));
  EXPECT_EQ(sim.Get("Tausch " + longName + ".sav"), DescribeContent("lang"));
  EXPECT_EQ(Read(longName), "lang");
  EXPECT_EQ(Read("Kurz.dat"), "kurz");
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Value(Parsed(Read("Anlagen\\" + layoutName + ".danl")), "KamSet Weit", "PX1"), "1000");
}

}  // namespace
}  // namespace e2e
