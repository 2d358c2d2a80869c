// The run journal seen from outside: "zuvo start" killed at every step of a
// start with two chained swaps, then another command puts everything back;
// a journal of a live run makes a start refuse; a journal that asks for
// harm is not followed.
#include <unistd.h>

#include "e2e/installation.h"
#include "platform/platform.h"

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
  // " NAME" for each swapped file that does not hold its own content, then
  // (with `leftovers`) for each backup and the journal left.
  std::string Off(bool leftovers = true) const {
    std::string names;
    for (const char* name : {"A.dat", "B.dat", "C.dat"}) names += Read(name) != name ? std::string(" ") + name : "";
    for (const char* name : {"A.dat.sav", "B.dat.sav", kJournal}) {
      names += leftovers && Exists(name) ? std::string(" ") + name : "";
    }
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
      const std::string swapped = Off(false);
      const RunResult heal = Zuvo(healer);
      EXPECT_EQ(heal.exitCode, 0) << heal.err;
      EXPECT_EQ(Off(), "");
      EXPECT_EQ(heal.err.empty(), swapped.empty()) << heal.err;
      for (const char* name : {"A.dat", "B.dat", "C.dat"}) {  // each file put back is named
        EXPECT_TRUE(swapped.find(name) == std::string::npos || heal.err.find(host_ + name + "\n") != std::string::npos);
      }
    }
  }
  EXPECT_GT(points, 12);
}

// A run left A swapped with B. Whose journal it is decides: a live process
// (this test, with its real start) makes the start refuse and change
// nothing; a journal cut off is put back, but never by replacing a file or
// outside the installation.
TEST_F(RunJournalTest, ALiveRunRefusesAndAJournalIsNeverFollowedBlindly) {
  const std::string pid = std::to_string(getpid()), start = platform::ProcessStartTime(getpid()),
                    me = "Rechner=" + platform::HostName(), a = "Datei=" + host_ + "A.dat",
                    sav = "Sicherung=" + host_ + "A.dat.sav", b = "Ersatz=" + host_ + "B.dat";
  const std::string back = "Nach dem abgebrochenen Lauf auf X wiederhergestellt:\n  " + host_ + "B.dat\n  " + host_ +
                           "A.dat\n";
  const struct {
    std::vector<std::string> journal;
    const char* command;
    int exitCode;
    std::string err;
    const char* left;  // Off() afterwards
    std::vector<std::string> env = {};
  } cases[] = {
      {{"Prozess=" + pid, "Start=" + start, me, "[Tausch]", a, sav, b}, "start", 1,
       "Kantrelwick l\xC3\xA4uft schon auf X (Prozess " + pid + " auf " + platform::HostName() + ")!\n",
       " A.dat B.dat A.dat.sav StartZUVO-Lauf.txt"},
      {{"Prozess=1", "Start=" + start + "0", "Simulator=" + pid, "SimulatorStart=" + start, me, "[Tausch]", a, sav, b}, "repair", 1,
       "Kantrelwick l\xC3\xA4uft schon auf X (Prozess " + pid + " auf " + platform::HostName() + ")!\n",
       " A.dat B.dat A.dat.sav StartZUVO-Lauf.txt"},
      {{"Prozess=" + pid, "Start=" + start + "0", me, "[Tausch]", a, sav, b}, "start", 0, back, ""},
      // A rename that fails keeps the journal for the next command.
      {{"[Tausch]", a, sav, b}, "repair", 1,
       "Nach dem abgebrochenen Lauf auf X wiederhergestellt:\n  " + host_ + "B.dat\nNicht wiederhergestellt:\n  " +
           host_ + "A.dat (Inhalt noch in " + host_ + "A.dat.sav)\n",
       " A.dat A.dat.sav StartZUVO-Lauf.txt", {"ZUVO_FAULTS=rename:2"}},
      // Hand-edited: B's place is taken, so A stays in its backup.
      {{"[Tausch]", a, sav, "Ersatz=" + host_ + "C.dat"}, "repair", 0,
       "Nach dem abgebrochenen Lauf auf X nicht wiederhergestellt:\n  " + host_ + "A.dat (Inhalt noch in " + host_ +
           "A.dat.sav)\n",
       " A.dat B.dat A.dat.sav"},
      {{"[Tausch]", "Datei=" + host_ + "..\\A.dat", sav, b}, "repair", 0,
       "Nach dem abgebrochenen Lauf auf X nicht wiederhergestellt:\n  " + host_ + "..\\A.dat (au\xC3\x9F" "erhalb des "
       "Simulatorordners, nicht angefasst)\n",
       " A.dat B.dat A.dat.sav"},
  };
  const Tree fresh = SnapshotTree(Prefix());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.journal.front() + " " + c.command);
    RestoreTree(Prefix(), fresh);
    std::rename(Native("A.dat").c_str(), Native("A.dat.sav").c_str());
    std::rename(Native("B.dat").c_str(), Native("A.dat").c_str());
    std::vector<std::string> journal = {"[Lauf]", "Anlage=X"};
    journal.insert(journal.end(), c.journal.begin(), c.journal.end());
    Write(kJournal, CrLf(journal));
    const Tree before = SnapshotTree(Prefix());
    const RunResult run = Zuvo(c.command == std::string("start") ? std::vector<std::string>{"start", Layout()}
                                                                 : std::vector<std::string>{c.command},
                              c.env);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(Off(), c.left);
    if (c.err.find(" schon ") != std::string::npos) { EXPECT_TRUE(SnapshotTree(Prefix()) == before) << "a refused command changed files"; }
  }
}

}  // namespace
}  // namespace e2e
