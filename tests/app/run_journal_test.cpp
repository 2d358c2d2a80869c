// How a run journal that a run left is judged, undone or refused by the next start or a repair
// (what a start records in it: start_sequence_test.cpp).
#include <filesystem>

#include "app/scripted_view.h"

namespace {

using app_testing::AppTest;
using app_testing::Texts;

const char kJournal[] = "StartZUVO-Lauf.txt";

// A run left A swapped with B. A live run (this process) is refused and nothing changes; one
// that cannot be judged is refused with the way out, or asked about when forced, and a Yes
// heals it; a journal cut off is put back, but only swaps of the form a start writes, never
// by replacing a file; what stays is kept in the journal.
TEST_F(AppTest, ALiveRunIsRefusedAndAJournalIsNeverFollowedBlindly) {
  const auto moved = [this](const char* from, const char* to) {  // as a start cut off left it
    std::filesystem::rename(host.NativePath(from), host.NativePath(to));
  };
  const auto off = [this] {  // " NAME" for A, B or C not holding its own content, for a backup or journal left
    std::string names;
    for (const std::string name : {"A.dat", "B.dat", "C.dat", "A.dat.sav", "B.dat.sav", kJournal})
      if (name.size() == 5 ? host.Read(name) != name : host.Exists(name)) names += " " + name;
    return names;
  };
  const long own = platform::OwnProcessId();
  const std::string pid = std::to_string(own), start = platform::ProcessStartTime(own),
                    me = "Rechner=" + platform::HostName(), A = host.Path("A.dat"), B = host.Path("B.dat"),
                    C = host.Path("C.dat"), savA = host.Path("A.dat.sav"), sav = "Sicherung=" + savA;
  const Texts ab = {"Datei=" + A, sav, "Ersatz=" + B};
  const std::string healed = "Nach dem abgebrochenen Lauf auf X wiederhergestellt:\n  ",
                    back = healed + B + "\n  " + A + "\n",
                    stays = "Das Laufprotokoll " + host.Path(kJournal) +
                            " bleibt: der n\344chste Befehl versucht es erneut.\n",
                    refused = "Nach dem abgebrochenen Lauf auf X nicht wiederhergestellt:\n  ",
                    untouched = " (kein Tausch von StartZUVO, nicht angefasst)\n" + stays,
                    inBackup = A + " (Inhalt noch in " + savA + ")\n" + stays,
                    alive =
                        "Kantrelwick l\344uft schon auf X (Prozess " + pid + " auf " + platform::HostName() + ")!\n",
                    ask = "Ob der Lauf auf X (Prozess 1", judge = ") noch l\344uft, kann StartZUVO nicht feststellen: ",
                    none = ask + judge + "das Laufprotokoll nennt keinen Rechner. ",
                    other = ask + " auf anderswo" + judge + "es stammt von einem anderen Rechner. ",
                    wayOut = "Ist er sicher vorbei, stellt \"zuvo repair --force\" alles zur\374ck.\n",
                    anyway = "Trotzdem alles zur\374cktauschen?", outA = host.Path("..\\A.dat"),
                    partly = healed + B + "\nNicht wiederhergestellt:\n  " + inBackup,
                    chain = healed + C + "\n  " + B + "\n  " + A + "\n";
  const char *all = " A.dat B.dat A.dat.sav StartZUVO-Lauf.txt", *kept = " A.dat A.dat.sav StartZUVO-Lauf.txt";
  enum Command { kStart, kRepair, kForceYes, kForceNo };
  const struct {
    Texts run, swaps;  // the journal's lines of the run and its swaps
    Command command;
    int result;
    Texts said;        // the messages, then the questions
    const char* left;  // off() afterwards
    int faultyRename = 0;
  } cases[] = {
      {{"Prozess=" + pid, "Start=" + start, me}, ab, kStart, 0, {alive}, all},
      {{"Prozess=1", "Simulator=" + pid, "SimulatorStart=" + start, me}, ab, kRepair, 0, {alive}, all},
      {{"Prozess=" + pid, "Start=" + start + "0", me}, ab, kRepair, 1, {back}, ""},
      // Another computer, or none named: refused with the way out; when forced, asked first.
      {{"Prozess=1", "Start=1:1"}, ab, kRepair, 0, {none + wayOut}, all},
      {{"Prozess=1", "Start=1:1"}, ab, kForceYes, 1, {back, "? " + none + anyway}, ""},
      {{"Prozess=1", "Start=1:1", "Rechner=anderswo"}, ab, kForceNo, 1, {"? " + other + anyway}, all},
#ifdef _WIN32
      // A Windows program cannot ask a wine server: refused with the way out.
      {{"Prozess=1", me, "System=Wine", "Prefix=/nirgends", "Simulator=7"},
       ab,
       kRepair,
       0,
       {"Ob der Lauf auf X (Prozess 7 auf " + platform::HostName() + judge +
        "der Simulator (Prozess 7) l\344sst sich von hier nicht pr\374fen. " + wayOut},
       all},
#else
      // A wine prefix whose wine server does not run runs no simulator.
      {{"Prozess=1", me, "System=Wine", "Prefix=/nirgends", "Simulator=7"}, ab, kRepair, 1, {back}, ""},
#endif
      // A rename that fails (the second) keeps the journal with what is left.
      {{}, ab, kRepair, 0, {partly}, kept, 2},
      // Hand-edited: B's place is taken, so A stays in its backup.
      {{}, {ab[0], sav, "Ersatz=" + C}, kRepair, 0, {refused + inBackup}, all},
      // Swaps no start makes: outside, a backup of another name, a substitute outside.
      {{}, {"Datei=" + outA, sav, ab[2]}, kRepair, 0, {refused + outA + untouched}, all},
      {{}, {ab[0], "Sicherung=" + C, ab[2]}, kRepair, 0, {refused + A + untouched}, all},
      {{}, {ab[0], sav, "Ersatz=" + host.Path("..\\B.dat")}, kRepair, 0, {refused + A + untouched}, all},
      // A chain is undone in reverse: B out of A's place before A out of its backup.
      {{}, {ab[0], sav, ab[2], "Datei=" + B, "Ersatz=" + C}, kRepair, 1, {chain}, ""},
  };
  WriteBerg("");
  ASSERT_TRUE(Load("Anlagen\\Berg.anl"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said.front());
    for (const char* name : {"A.dat", "B.dat", "C.dat"}) host.Write(name, name);
    std::filesystem::remove(host.NativePath("A.dat.sav"));
    moved("A.dat", "A.dat.sav");
    moved("B.dat", "A.dat");
    if (c.swaps.size() > 3) moved("C.dat", "B.dat");  // the chain
    std::string journal = "[Lauf]\r\nAnlage=X\r\n";
    for (const std::string& line : c.run) journal += line + "\r\n";
    journal += "[Tausch]\r\n";
    for (const std::string& line : c.swaps) journal += line + "\r\n";
    host.Write(kJournal, journal);
    messages.clear(), view.log.clear(), view.answers = {c.command == kForceYes};
    if (c.faultyRename) platform::PlanFault(platform::kFaultRename, c.faultyRename);
    EXPECT_EQ(c.command == kStart ? dialog.OnStartClicked() : dialog.Repair(c.command != kRepair), c.result);
    platform::ClearFaults();
    Texts said = messages.messages();
    said.insert(said.end(), view.log.begin(), view.log.end());
    EXPECT_EQ(said, c.said);
    EXPECT_EQ(off(), c.left);
    if (c.said.front().find(" wiederhergestellt") == std::string::npos) {
      EXPECT_EQ(host.Read(kJournal), journal);  // refused: nothing changed
    }
  }
}

}  // namespace
