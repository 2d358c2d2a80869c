// A layout's history as the user meets it: the versions the commands keep,
// brought back byte for byte; the version a start keeps of the pair as the
// simulator left it; the bound of 30 versions with contents stored once;
// a restore that waits for a live run; a restore under a failure at each
// file operation it makes.
#include <signal.h>

#include <filesystem>
#include <regex>

#include "e2e/installation.h"
#include "layout/layout_bytes.h"
#include "settings/history_index.h"

namespace e2e {
namespace {

const char kHistory[] = "Anlagen\\StartZUVO-Verlauf\\";

class HistoryE2eTest : public InstallationTest {
 protected:
  settings::HistoryIndex Index(const std::string& name) const {
    settings::HistoryIndex index;
    std::string fault;
    EXPECT_EQ(settings::ParseHistoryIndex(Read(kHistory + name + "\\Verlauf.txt"), &index, &fault), 1) << fault;
    return index;
  }
  std::vector<std::string> Stored(const std::string& name) const { return dir_.List(Inside(kHistory + name)); }
};

TEST_F(HistoryE2eTest, ThreeRemovalsInARowAndEachVersionBroughtBackByteForByte) {
  WriteMixedLayout();
  Write("Anlagen\\Berg.danl", CrLf({"[KamSet Nord]", "PX1=1"}));
  const std::string berg = Native("Anlagen\\Berg.anl"), folder = host_ + "Anlagen\\StartZUVO-Verlauf\\Berg";
  std::vector<std::string> before;
  const char* const kinds[] = {"rolling-stock", "gbos", "real-estate"};
  for (int i = 0; i < 3; ++i) {
    before.push_back(Read("Anlagen\\Berg.anl"));
    const RunResult run = Zuvo({"--yes", "remove-missing", kinds[i], berg});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              "Vorige Fassung im Verlauf: Fassung " + std::to_string(i + 1) + " in " + folder);
  }
  const std::string last = Read("Anlagen\\Berg.anl");
  EXPECT_NE(last, before[2]);
  EXPECT_FALSE(Exists("Anlagen\\Berg.anl.bak"));

  RunResult listed = Zuvo({"history", berg});
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  const std::regex lines(
      "3  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  remove-missing real-estate  anl \\d+ B, danl 22 B  Gleise 2, "
      "Modelle 2, Rollmaterial 1, Kamera Sets 1\n"
      "2  [-0-9: ]+  remove-missing gbos  anl \\d+ B, danl 22 B  Gleise 2, Modelle 2, Rollmaterial 1, Kamera Sets 1\n"
      "1  [-0-9: ]+  remove-missing rolling-stock  anl \\d+ B, danl 22 B  Gleise 2, Modelle 2, Rollmaterial 2, "
      "Kamera Sets 1\n");
  EXPECT_TRUE(std::regex_match(listed.out, lines)) << listed.out;

  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    const RunResult run = Zuvo({"--yes", "restore", berg, std::to_string(n)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Fassung " + std::to_string(n) + " wiederhergestellt: " + host_ +
                           "Anlagen\\Berg.anl (die "
                           "Dateien davor: Fassung " +
                           std::to_string(n + 3) + ")\n");
    EXPECT_TRUE(Read("Anlagen\\Berg.anl") == before[n - 1]);
  }
  const RunResult undo = Zuvo({"--yes", "restore", berg});  // the newest other version: today's before the last restore
  EXPECT_EQ(undo.exitCode, 0) << undo.err;
  EXPECT_TRUE(Read("Anlagen\\Berg.anl") == before[1]);
  EXPECT_EQ(Read("Anlagen\\Berg.danl"), CrLf({"[KamSet Nord]", "PX1=1"}));
  EXPECT_FALSE(Exists("StartZUVO-Lauf.txt"));
}

// The stand-in moves a camera and writes into the ".danl": the version after
// the run holds exactly what it left, the one before the run the pair as it
// was; restoring that one gives the files back byte for byte.
TEST_F(HistoryE2eTest, AStartKeepsThePairBeforeTheRunAndAsTheSimulatorLeftIt) {
  WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1111"});
  SaveDefaults();
  WritePlan({"[Kamera 1]", "PX=5555", "[Danl Kantrelwick]", "Fahrplan=08:15"});
  const std::string anl = Read("Anlagen\\Test.anl"), danl = ReadSettings();
  const RunResult run = Start();
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const settings::HistoryIndex index = Index("Test");
  ASSERT_EQ(index.versions.size(), 2u);
  EXPECT_EQ(index.versions[0].command, "start");
  EXPECT_EQ(index.versions[1].command, "start: nach dem Lauf");
  const std::string folder = kHistory + std::string("Test\\");
  EXPECT_TRUE(Read(folder + index.versions[0].layout.content) == anl);
  EXPECT_EQ(Read(folder + index.versions[0].settings.content), danl);
  EXPECT_TRUE(Read(folder + index.versions[1].layout.content) ==
              Read("Anlagen\\Test.anl"));  // the tool wrote it no more
  EXPECT_EQ(SettingsValue(Read(folder + index.versions[1].settings.content), "Kantrelwick", "Fahrplan"), "08:15");
  EXPECT_EQ(SettingsValue(Read(folder + index.versions[1].settings.content), "KamSet Nord", "PX1"), "1111");
  EXPECT_EQ(SettingsValue(ReadSettings(), "KamSet Nord", "PX1"), "5555");

  const RunResult restored = Zuvo({"--yes", "restore", Layout(), "1"});
  EXPECT_EQ(restored.exitCode, 0) << restored.err;
  EXPECT_EQ(restored.out, "Fassung 1 wiederhergestellt: " + host_ + "Anlagen\\Test.anl, " + host_ +
                              "Anlagen\\Test.danl (die Dateien davor: Fassung 3)\n");
  EXPECT_TRUE(Read("Anlagen\\Test.anl") == anl);
  EXPECT_EQ(ReadSettings(), danl);
}

// 31 versions: the first goes with its content, the ".danl" that every
// version shares is stored once, and no file but the history's own is
// deleted.
TEST_F(HistoryE2eTest, TheThirtyFirstVersionDropsTheOldestAndAContentIsStoredOnce) {
  Write("Anlagen\\Test.danl", CrLf({"[Zuvo]"}));
  Write(kHistory + std::string("Test\\Notiz.txt"), "meins");
  Write(kHistory + std::string("Test\\") + std::string(64, 'f') + ".anl", "not the history's");
  std::vector<std::string> contents;
  for (int i = 1; i <= 31; ++i) {
    layout_bytes::Model model;
    model.name = "Haus" + std::to_string(i);
    Write("Anlagen\\Test.anl", layout_bytes::File({}, {model}, {}));
    contents.push_back(settings::ContentName(Read("Anlagen\\Test.anl"), "anl"));
    const RunResult run = Zuvo({"resave", Layout()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
  }
  const settings::HistoryIndex index = Index("Test");
  ASSERT_EQ(index.versions.size(), 30u);
  EXPECT_EQ(index.versions.front().number, 2);
  EXPECT_EQ(index.versions.back().number, 31);
  std::vector<std::string> expected(contents.begin() + 1, contents.end());
  expected.push_back(settings::ContentName(CrLf({"[Zuvo]"}), "danl"));
  expected.push_back(std::string(64, 'f') + ".anl");
  expected.push_back("Notiz.txt");
  expected.push_back("Verlauf.txt");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Stored("Test"), expected);
  const RunResult json = Zuvo({"history", "--json", Layout()});
  EXPECT_EQ(json.exitCode, 0) << json.err;
  EXPECT_NE(json.out.find("\"number\": 31"), std::string::npos);
  EXPECT_EQ(json.out.find("\"number\": 1,"), std::string::npos);
}

TEST_F(HistoryE2eTest, ARestoreWaitsUntilTheRunHasEnded) {
  WriteSettings({"[Zuvo]", "KamSet=Nord", "[KamSet Nord]", "PX1=1111"});
  SaveDefaults();
  WritePlan({"[Ablauf]", "Warten=60"});
  const Child zuvo = SpawnZuvo({"start", Layout()}, Env());
  ASSERT_TRUE(WaitForHangingRun(1));
  const Tree during = SnapshotTree(Native());
  const RunResult refused = Zuvo({"--yes", "restore", Layout(), "1"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err.rfind("Kantrelwick l\xC3\xA4uft schon auf " + host_ + "Anlagen\\Test.anl (Prozess ", 0), 0u)
      << refused.err;
  EXPECT_TRUE(SnapshotTree(Native()) == during);
  kill(zuvo.pid, SIGINT);
  const RunResult started = Finish(zuvo);
  EXPECT_NE(started.exitCode, -1);
  const RunResult restored = Zuvo({"--yes", "restore", Layout(), "1"});
  EXPECT_EQ(restored.exitCode, 0) << restored.err;
}

// Under a failure at each file operation (the journal, today's pair kept,
// the two files put back), the layout's files each hold their old or their
// new bytes, and every version stays readable.
TEST_F(HistoryE2eTest, EveryFileOperationOfARestoreFails) {
  WriteSettings({"[KamSet Nord]", "PX1=1"});
  ASSERT_EQ(Zuvo({"resave", Layout()}).exitCode, 0);
  Write("Anlagen\\Test.anl", "heute");
  WriteSettings({"[KamSet Nord]", "PX1=2"});
  FaultSweep sweep = SweepZuvoFaults(Prefix(), {"--yes", "restore", Layout(), "1"}, Env(), nullptr, {"repair"});
  EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
  EXPECT_GE(sweep.reported, 8);
}

}  // namespace
}  // namespace e2e
