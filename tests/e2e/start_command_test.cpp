// zuvo start as the user runs it, every effect checked on disk and in the stand-in's log.
#include "e2e/installation.h"
#include "app/installation_seams.h"
#include "layout/layout.h"
#include "settings/history_index.h"

namespace e2e {
namespace {

using stand_in::DescribeContent;

TEST_F(InstallationTest, ChoicesSwapsAndTheCameraSetAreMadeForTheRunAndTakenBack) {
  // Two "Copy" sections, a chain A=B, B=C, paths from the drive (in any case) and from the
  // root; the lower-case section swaps nothing. The guide post as the ".danl" stores it.
  const char* const names[] = {"A", "B", "C", "Sub\\D", "Sub\\E", "Sig", "Sig_Neu"};
  for (const char* name : names) Write(name + std::string(".dat"), name);
  const std::string deep = "c:\\SIM\\sub/D.dat=\\Sim\\Sub\\E.dat";
  WriteSettings({"[Zuvo]",        "KamSet=Nord", "Leitpfosten=Gelb.mod",
                 "[KamSet Nord]", "PX1=1111",    "PY1=2222",
                 "PZ1=333",       "OW1=40",      "LH1=45000",
                 "WX1=90",        "WH1=-10",     "[Kantrelwick]",
                 "Alt=1",         "[copy]",      "Sig.dat=Sig_Neu.dat",
                 "[Copy]",        "A.dat=B.dat", "[Copy]",
                 "B.dat=C.dat",   deep});
  WritePlan({"[Kamera 1]", "PX=5555", "WX=45", "WH=-20", "[Kamera 3]", "PZ=999", "[Danl Kantrelwick]", "Fahrplan=08:15",
             "[Ablauf]", "Zeigen=Sig.dat", "Zeigen=C.dat"});
  const std::string anl = Read("Anlagen\\Test.anl"), danlBefore = ReadSettings();
  RunResult run = Start({"--buffer-stop", "Holz.mod", "--catenary", "Kette.mod", "--ground-texture", "Sand.bmp"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // Before the run: what was installed and swapped, and that it runs.
  EXPECT_EQ(WithoutPid(run.out + run.err),
            "Prellbock: Holz.mod installiert\nOberleitung: Kette.mod installiert\n"
            "Leitpfosten: Gelb.mod installiert\nBodentextur: Sand.bmp installiert\n"
            "Getauscht f\xC3\xBCr den Lauf: A.dat=B.dat\nGetauscht f\xC3\xBCr den Lauf: B.dat=C.dat\n"
            "Getauscht f\xC3\xBCr den Lauf: " +
                deep + "\n" + std::string(kRunning));

  // During the run: the choices installed; the substitute under the key's name, the
  // original in "<key>.sav", the substitute's own name gone; view 1 of the set.
  stand_in::Run sim = OnlyRun();
  const std::pair<std::string, std::string> seen[] = {
      {"Argumente", "2"},
      {"Argument 0", "Kantrelwick.exe"},
      {"Argument 1", host_ + "Anlagen\\Test.anl"},
      {"Datei Mods\\Prellbock.mod", DescribeContent("Prellbock Holz") + " (wie Prellbock\\Holz.mod)"},
      {"Datei Mods\\Oberleitung.mod", DescribeContent("Oberleitung Kette") + " (wie Oberleitung\\Kette.mod)"},
      {"Datei Mods\\Leitpfosten.mod", DescribeContent("Leitpfosten gelb") + " (wie Leitpfosten\\Gelb.mod)"},
      {"Datei Parallels\\Tex256_256a.bmp", DescribeContent("Bodentextur Sand") + " (wie Bodentextur\\Sand.bmp)"},
      {"Tausch A.dat", DescribeContent("B")},
      {"Tausch A.dat.sav", DescribeContent("A")},
      {"Tausch B.dat", DescribeContent("C")},
      {"Tausch B.dat.sav", "fehlt"},
      {"Zeigen C.dat", "fehlt"},
      {"Tausch c:\\SIM\\sub/D.dat", DescribeContent("Sub\\E")},
      {"Zeigen Sig.dat", DescribeContent("Sig")},
      {"Kamera 1", "PX=1111 PY=2222 PZ=333 OW=40 LH=45000 WX=90 WH=-10"},
      {"Anlage gespeichert", "ja"},
      {"Ende", "Exitcode 0"}};
  for (const auto& line : seen) EXPECT_EQ(sim.Get(line.first), line.second) << line.first;
  EXPECT_FALSE(sim.Has("Tausch Sig.dat"));

  // Afterwards: each swapped file its own again, no backup left; the originals kept as
  // default files, the choices stored.
  for (const char* name : names) EXPECT_EQ(Read(name + std::string(".dat")), name);
  for (const std::string& name : dir_.List(Inside(""))) EXPECT_EQ(name.find(".sav"), std::string::npos);
  EXPECT_EQ(Read("Prellbock\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(Read("Bodentextur\\Grass.bmp"), "eigene Bodentextur");
  EXPECT_EQ(Read("Parallels\\Tex256_256a.bmp"), "Bodentextur Sand");
  // The set holds the cameras as the simulator left them; what it wrote into the ".danl" survives.
  const std::string danl = ReadSettings(), moved = sim.Get("Kamera 1 bewegt");
  EXPECT_EQ(moved.substr(0, moved.find(" WX=")), "PX=5555 PY=2222 PZ=333 OW=40 LH=45000");
  EXPECT_EQ(moved.substr(moved.find(" WX=")),
            " WX=" + SettingsValue(danl, "KamSet Nord", "WX1") + " WH=" + SettingsValue(danl, "KamSet Nord", "WH1"));
  const std::pair<const char*, const char*> stored[] = {
      {"Prellbock", "Holz.mod"}, {"Oberleitung", "Kette.mod"}, {"Bodentextur", "Sand.bmp"}, {"KamSet", "Nord"}};
  for (const auto& key : stored) EXPECT_EQ(SettingsValue(danl, "Zuvo", key.first), key.second);
  EXPECT_EQ(SettingsValue(danl, "KamSet Nord", "PX1") + SettingsValue(danl, "KamSet Nord", "PZ3"), "5555999");
  EXPECT_EQ(SettingsValue(danl, "Kantrelwick", "Fahrplan") + SettingsValue(danl, "Kantrelwick", "Alt"), "08:151");
  layout::Layout saved;
  ASSERT_TRUE(saved.LoadFromBytes(Read("Anlagen\\Test.anl"), app::DataSheets(host::InstallationAt(Native()))));
  EXPECT_EQ(saved.cameraViews[2].PZ, 999);
  EXPECT_EQ(saved.models.size(), 1u);  // saved by the tool before the run

  // The next start: an option given empty installs the default (saved once, not again from
  // the changed active file); the stored value stays.
  Write("Mods\\Prellbock.mod", "fremder Prellbock");
  EXPECT_EQ(Start({"--buffer-stop", ""}).exitCode, 0);
  EXPECT_EQ(Read("Mods\\Prellbock.mod"), kOwnBufferStop);
  EXPECT_EQ(SettingsValue(ReadSettings(), "Zuvo", "Prellbock"), "Holz.mod");

  // The history holds the pair before the first run and as the simulator left it (its
  // camera set not yet taken over); restoring the first gives the files back byte for byte.
  const std::string folder = "Anlagen\\StartZUVO-Verlauf\\Test\\";
  settings::HistoryIndex index;
  std::string fault;
  ASSERT_EQ(settings::ParseHistoryIndex(Read(folder + "Verlauf.txt"), &index, &fault), 1) << fault;
  ASSERT_EQ(index.versions.size(), 4u);
  EXPECT_EQ(index.versions[0].command + ", " + index.versions[1].command, "start, start: nach dem Lauf");
  EXPECT_TRUE(Read(folder + index.versions[0].layout.content) == anl);
  EXPECT_EQ(Read(folder + index.versions[0].settings.content), danlBefore);
  EXPECT_TRUE(Read(folder + index.versions[1].layout.content) == Read(folder + index.versions[2].layout.content));
  const std::string left = Read(folder + index.versions[1].settings.content);
  EXPECT_EQ(SettingsValue(left, "Kantrelwick", "Fahrplan") + SettingsValue(left, "KamSet Nord", "PX1"), "08:151111");
  const RunResult restored = Zuvo({"--yes", "restore", Layout(), "1"});
  EXPECT_EQ(restored.out, Typed("Fassung 1 wiederhergestellt: " + host_ + "Anlagen\\Test.anl, " + host_ +
                                "Anlagen\\Test.danl (die Dateien davor: Fassung 4)\n"));
  EXPECT_TRUE(Read("Anlagen\\Test.anl") == anl && ReadSettings() == danlBefore);
}

}  // namespace
}  // namespace e2e
