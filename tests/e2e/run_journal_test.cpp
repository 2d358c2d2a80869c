// The run journal seen from outside: "zuvo start" killed at every step of a start with two
// chained swaps, then another command puts everything back; of two starts at once exactly
// one runs. What a journal records and how it is judged: tests/app.
#include <cstdio>
#include <cstdlib>

#include "e2e/installation.h"

namespace e2e {
namespace {

const char kJournal[] = "StartZUVO-Lauf.txt";

class RunJournalTest : public InstallationTest {
 protected:
  void SetUp() override {
    InstallationTest::SetUp();
    for (const char* name : {"A.dat", "B.dat", "C.dat"}) Write(name, name);
    WriteSettings({"[Copy]", "A.dat=B.dat", "B.dat=C.dat"});
    Write("Anlagen\\Ost.anl", Read("Anlagen\\Test.anl"));
  }
  // " NAME" for each swapped file not holding its own content, then (with `leftovers`) each
  // backup and the journal left.
  std::string Off(bool leftovers = true) const {
    std::string names;
    for (const char* name : {"A.dat", "B.dat", "C.dat"}) names += Read(name) != name ? std::string(" ") + name : "";
    for (const char* name : {"A.dat.sav", "B.dat.sav", kJournal})
      names += leftovers && Exists(name) ? std::string(" ") + name : "";
    return names;
  }
};

TEST_F(RunJournalTest, KilledAtEveryStepTheNextCommandPutsAllBack) {
  const Tree fresh = SnapshotTree(Prefix());
  const std::vector<std::string> healers[] = {{"start", Native("Anlagen\\Ost.anl")}, {"standard"}, {"repair"}};
  int points = 0;  // the healing commands take turns
  for (const std::string kind : {"create", "rename", "remove"}) {
    for (int n = 1;; ++n) {
      const std::vector<std::string>& healer = healers[points % 3];
      SCOPED_TRACE(kind + ":" + std::to_string(n) + " " + healer[0]);
      RestoreTree(Prefix(), fresh);
      if (Zuvo({"start", Layout()}, {"ZUVO_KILL_AT=" + kind + ":" + std::to_string(n)}).exitCode != -1) break;
      ++points;
      // The simulator runs only once the journal names it. One that outlived the killed tool
      // makes the healer refuse, as it must: wait for its end.
      const std::string journal = Exists(kJournal) ? Read(kJournal) : "";
      const std::size_t simulator = journal.find("Simulator=");
      EXPECT_TRUE(!Exists(kJournal) || simulator != std::string::npos || Runs().empty());
      if (simulator != std::string::npos) WaitUntilGone(std::atol(journal.c_str() + simulator + 10));
      const std::string swapped = Off(false);
      const RunResult heal = Zuvo(healer);
      EXPECT_EQ(heal.exitCode, 0) << heal.err;
      EXPECT_EQ(Off(), "");
      EXPECT_EQ(heal.err.empty(), swapped.empty()) << heal.err;
      for (const char* name : {"A.dat", "B.dat", "C.dat"}) {  // each file put back is named, as the healer typed it
        const std::string named = healer[0] == "start" ? Typed(host_ + name) : host_ + name;
        EXPECT_TRUE(swapped.find(name) == std::string::npos || heal.err.find(named + "\n") != std::string::npos);
      }
    }
  }
  EXPECT_GT(points, 12);
}

// Two starts begun at the same instant: exactly one runs, the other refuses with the running
// one's message; afterwards every file is whole and no journal is left.
TEST_F(RunJournalTest, TwoStartsAtOnceExactlyOneRuns) {
  WritePlan({"[Ablauf]", "Pause=300"});
  const Tree fresh = SnapshotTree(Prefix());
  for (int pair = 0; pair < 8; ++pair) {
    SCOPED_TRACE(pair);
    RestoreTree(Prefix(), fresh);
    std::remove(Native(stand_in::kLogFileName).c_str());
    const Child first = SpawnZuvo({"start", Layout()}, Env());
    const Child second = SpawnZuvo({"start", Native("Anlagen\\Ost.anl")}, Env());
    const RunResult a = Finish(first), b = Finish(second);
    EXPECT_EQ(a.exitCode + b.exitCode, 1) << a.err << b.err;
    const RunResult& refused = a.exitCode == 1 ? a : b;
    EXPECT_EQ(refused.err.find("Kantrelwick l\xC3\xA4uft schon auf " + Typed(host_ + "Anlagen") + "/"), 0u)
        << refused.err;
    EXPECT_EQ(Runs().size(), 1u);
    EXPECT_EQ(Off(), "");
  }
}

}  // namespace
}  // namespace e2e
