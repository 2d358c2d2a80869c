// The run journal seen from outside: "zuvo start" killed at every step of a start with two
// chained swaps, then another command puts everything back; a journal of a live run makes a
// start refuse; a journal that asks for harm is not followed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

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

// A run left A swapped with B. A live process (this test, with its real start) makes the
// command refuse and change nothing; one that cannot be judged is refused with the way out,
// which heals it after a yes; a journal cut off is put back, but only swaps of the form a
// start writes, never by replacing a file; what stays is kept in the journal (exit 1).
TEST_F(RunJournalTest, ALiveRunRefusesAndAJournalIsNeverFollowedBlindly) {
  const std::string pid = std::to_string(getpid()), start = platform::ProcessStartTime(getpid()),
                    me = "Rechner=" + platform::HostName(), a = "Datei=" + host_ + "A.dat",
                    sav = "Sicherung=" + host_ + "A.dat.sav", b = "Ersatz=" + host_ + "B.dat";
  const std::string back =
      "Nach dem abgebrochenen Lauf auf X wiederhergestellt:\n  " + host_ + "B.dat\n  " + host_ + "A.dat\n";
  const std::string stays = "Das Laufprotokoll " + host_ +
                            "StartZUVO-Lauf.txt bleibt: der n\xC3\xA4"
                            "chste Befehl versucht es erneut.\n";
  const std::string refused = "Nach dem abgebrochenen Lauf auf X nicht wiederhergestellt:\n  ";
  const std::string untouched = " (kein Tausch von StartZUVO, nicht angefasst)\n" + stays;
  const std::string alive = "Kantrelwick l\xC3\xA4uft schon auf X (Prozess " + pid + " auf " + platform::HostName() +
                            ")!\n",
                    other =
                        "Ob der Lauf auf X (Prozess 1 auf anderswo) noch l\xC3\xA4uft, kann StartZUVO nicht "
                        "feststellen: es stammt von einem anderen Rechner. ";
  const char* all = " A.dat B.dat A.dat.sav StartZUVO-Lauf.txt";
  const std::vector<std::string> startIt = {"start", Layout()}, repair = {"repair"};
  const struct {
    std::vector<std::string> journal, command;
    int exitCode;
    std::string err;
    const char* left;  // Off() afterwards
    std::vector<std::string> env = {};
  } cases[] = {
      {Args{"Prozess=" + pid, "Start=" + start, me, "[Tausch]", a, sav, b}, startIt, 1, alive, all},
      {Args{"Prozess=1", "Start=" + start + "0", "Simulator=" + pid, "SimulatorStart=" + start, me, "[Tausch]", a, sav,
            b},
       repair, 1, alive, all},
      {Args{"Prozess=" + pid, "Start=" + start + "0", me, "[Tausch]", a, sav, b}, startIt, 0, back, ""},
      // Another computer, or none named: refused, with the way out.
      {Args{"Prozess=1", "Start=1:1", "Rechner=anderswo", "[Tausch]", a, sav, b}, startIt, 1,
       other + "Ist er sicher vorbei, stellt \"zuvo repair --force\" alles zur\xC3\xBC"
               "ck.\n",
       all},
      {Args{"Prozess=1", "Start=1:1", "[Tausch]", a, sav, b}, repair, 1,
       "Ob der Lauf auf X (Prozess 1) noch l\xC3\xA4uft, kann StartZUVO nicht feststellen: das Laufprotokoll nennt "
       "keinen Rechner. Ist er sicher vorbei, stellt \"zuvo repair --force\" alles zur\xC3\xBC"
       "ck.\n",
       all},
      {Args{"Prozess=1", "Start=1:1", "[Tausch]", a, sav, b}, Args{"--yes", "repair", "--force"}, 0, back, ""},
      {Args{"Prozess=1", "Start=1:1", "Rechner=anderswo", "[Tausch]", a, sav, b}, Args{"repair", "--force"}, 1,
       other + "Trotzdem alles zur\xC3\xBC"
               "cktauschen? Nein (keine Eingabe m\xC3\xB6glich; --yes beantwortet Fragen mit Ja)\n",
       all},
      // A wine prefix whose wine server does not run runs no simulator.
      {Args{"Prozess=1", "Start=1", me, "System=Wine", "Prefix=/nirgends", "Simulator=7", "SimulatorStart=1",
            "[Tausch]", a, sav, b},
       repair, 0, back, ""},
      // A rename that fails keeps the journal for the next command.
      {Args{"[Tausch]", a, sav, b}, repair, 1,
       "Nach dem abgebrochenen Lauf auf X wiederhergestellt:\n  " + host_ + "B.dat\nNicht wiederhergestellt:\n  " +
           host_ + "A.dat (Inhalt noch in " + host_ + "A.dat.sav)\n" + stays,
       " A.dat A.dat.sav StartZUVO-Lauf.txt", Args{"ZUVO_FAULTS=rename:2"}},
      // Hand-edited: B's place is taken, so A stays in its backup.
      {Args{"[Tausch]", a, sav, "Ersatz=" + host_ + "C.dat"}, repair, 1,
       refused + host_ + "A.dat (Inhalt noch in " + host_ + "A.dat.sav)\n" + stays, all},
      // Swaps no start makes: outside, a backup of another name.
      {Args{"[Tausch]", "Datei=" + host_ + "..\\A.dat", sav, b}, repair, 1, refused + host_ + "..\\A.dat" + untouched,
       all},
      {Args{"[Tausch]", a, "Sicherung=" + host_ + "C.dat", b}, repair, 1, refused + host_ + "A.dat" + untouched, all},
  };
  const Tree fresh = SnapshotTree(Prefix());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.journal.front() + " " + c.command.back());
    RestoreTree(Prefix(), fresh);
    std::rename(Native("A.dat").c_str(), Native("A.dat.sav").c_str());
    std::rename(Native("B.dat").c_str(), Native("A.dat").c_str());
    std::vector<std::string> journal = {"[Lauf]", "Anlage=X"};
    journal.insert(journal.end(), c.journal.begin(), c.journal.end());
    Write(kJournal, CrLf(journal));
    const Tree before = SnapshotTree(Prefix());
    const RunResult run = Zuvo(c.command, c.env);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.command == startIt ? Typed(c.err) : c.err);  // a layout typed as a Unix path
    EXPECT_EQ(Off(), c.left);
    if (c.exitCode == 1 && c.env.empty() && c.err.find(" wiederhergestellt") == std::string::npos) {
      EXPECT_TRUE(SnapshotTree(Prefix()) == before) << "a refused command changed files";
    }
  }
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
