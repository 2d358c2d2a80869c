// A layout's history as the user meets it: the version a start keeps of the
// pair as the simulator left it, brought back byte for byte; the versions
// listed; a restore under a failure at each file operation it makes (one
// during a live run: the start faults).
#include <regex>

#include "e2e/installation.h"
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
};

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
  const std::string folder = kHistory + std::string("Test\\"),
                    after = Read(folder + index.versions[1].settings.content);
  EXPECT_TRUE(Read(folder + index.versions[0].layout.content) == anl);
  EXPECT_EQ(Read(folder + index.versions[0].settings.content), danl);
  EXPECT_TRUE(Read(folder + index.versions[1].layout.content) == Read("Anlagen\\Test.anl"));  // not written again
  EXPECT_EQ(SettingsValue(after, "Kantrelwick", "Fahrplan") + SettingsValue(after, "KamSet Nord", "PX1") +
                SettingsValue(ReadSettings(), "KamSet Nord", "PX1"),
            "08:1511115555");
  const RunResult restored = Zuvo({"--yes", "restore", Layout(), "1"});
  EXPECT_EQ(restored.out, Typed("Fassung 1 wiederhergestellt: " + host_ + "Anlagen\\Test.anl, " + host_ +
                                "Anlagen\\Test.danl (die Dateien davor: Fassung 3)\n"));
  EXPECT_TRUE(Read("Anlagen\\Test.anl") == anl && ReadSettings() == danl);
}

// Under a failure at each file operation (the journal, today's pair kept,
// the two files put back), the layout's files each hold their old or their
// new bytes, and every version stays readable.
TEST_F(HistoryE2eTest, EveryFileOperationOfARestoreFails) {
  WriteSettings({"[KamSet Nord]", "PX1=1"});
  ASSERT_EQ(Zuvo({"resave", Layout()}).exitCode, 0);
  const RunResult listed = Zuvo({"history", Layout()});
  EXPECT_TRUE(
      std::regex_match(listed.out, std::regex("1  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d  resave  anl \\d+ B, "
                                              "danl 22 B  Gleise 1, Modelle 2, Rollmaterial 0, Kamera Sets 1\n")))
      << listed.out;
  Write("Anlagen\\Test.anl", "heute");
  WriteSettings({"[KamSet Nord]", "PX1=2"});
  FaultSweep sweep = SweepZuvoFaults(Prefix(), {"--yes", "restore", Layout(), "1"}, Env(), nullptr, {"repair"});
  EXPECT_TRUE(sweep.problems.empty()) << ::testing::PrintToString(sweep.problems);
  EXPECT_GE(sweep.reported, 8);
}

}  // namespace
}  // namespace e2e
