// The run journal: while a start has the installation changed for its run,
// the installation folder holds "StartZUVO-Lauf.txt", so that a run cut off
// (killed, a crash, a power cut) is undone by the next command, and a second
// start does not swap files under a running simulator.
//
//   [Lauf]                         who runs
//   Prozess=4711                   the tool's process id
//   Start=...                      when that process started (see platform.h)
//   Rechner=NAME                   the computer it runs on
//   System=Linux                   Linux, Windows or Wine: how to judge the ids
//   Prefix=/home/anna/.wine        under wine: the prefix it runs in
//   Anlage=C:\Sim\Anlagen\A.anl    the layout
//   Simulator=4712                 the simulator's process, once it runs
//   SimulatorStart=...
//   [Tausch]                       one group per swap, in the order made:
//   Datei=C:\Sim\Strecke.dat       the file the simulator uses
//   Sicherung=C:\Sim\Strecke.dat.sav   where it goes (when it existed)
//   Ersatz=C:\Sim\Strecke_Winter.dat   what takes its place (when it existed)
//
// The journal is created exclusively and held (platform/held_file.h) by the
// start for as long as anything is swapped: of two starts begun together
// exactly one runs, and the lock tells any other program, native or under
// wine, whether the writer still lives. A swap is written into the journal
// before its renames, the simulator before it can run. Text in the
// settings-file syntax, CR LF; every write is a safe save.
//
// The journal is hostile input once it is read back: only swaps of the form
// a start writes are undone (swap_checks.h), a path outside the installation
// is never touched, and a rename never replaces a file.
//
// Result contract: non-zero is success; every failure is shown here.
#pragma once

#include <string>
#include <vector>

#include "app/dialog_view.h"
#include "platform/held_file.h"

namespace app {

struct JournalSwap {
  std::string file;
  std::string backup;      // empty: the file did not exist
  std::string substitute;  // empty: the substitute did not exist
};

struct RunJournal {
  long pid = 0;
  std::string startTime, hostName, system, prefix, layout;
  long simulatorPid = 0;
  std::string simulatorStart;
  std::vector<JournalSwap> swaps;
};

// The journal's path in the installation `installationFolder` (ending in a backslash).
std::string RunJournalPath(const std::string& installationFolder);

// The journal of this process running `layout`, without swaps.
RunJournal OwnRunJournal(const std::string& layout);

std::string JournalText(const RunJournal& journal);
RunJournal ParseJournal(const std::string& text);

// Before a command changes the installation: a journal of a run that is no
// longer alive is undone, swap by swap in reverse, each file put back named
// in one message, and removed. Returns 0, changing nothing, for a journal of
// a live run or one that cannot be read. A run that cannot be judged (another
// computer, a process this system cannot examine) is refused with a message
// that names "zuvo repair --force"; with `confirm` the question is asked
// there instead, and a Yes heals it. 0 too when anything stays swapped, with
// the journal rewritten to what is left and the message naming where each
// file's content is now. *found (when not null) tells whether there was a
// journal, *declined whether the question was answered No.
int HealInstallation(const std::string& installationFolder, DialogView* confirm = nullptr, int* found = nullptr,
                     int* declined = nullptr);

// The run of this process: its journal, held while it exists.
struct OwnRun {
  std::string installationFolder;
  RunJournal journal;
  platform::HeldFile held;
};

// Heals what a run cut off left (HealInstallation) and creates this run's
// journal exclusively. 0 after showing why: a live run, a journal that
// cannot be written, or another start that came first.
int BeginRun(const std::string& installationFolder, const std::string& layout, OwnRun* run);

// Rewrites the journal after a change of run->journal. Shows "Laufprotokoll
// %s kann nicht geschrieben werden!" on failure.
int RecordRun(OwnRun* run);

// After the run: the swaps are undone in reverse and the journal removed.
// When anything could not be put back, the message names it ("Nach dem Lauf
// nicht wiederhergestellt:"), the journal keeps what is left for the next
// command, and the result is 0. `existedBefore` are the files of the swaps
// that existed before they were made: one that is gone is named as lost.
int EndRun(OwnRun* run, const std::vector<std::string>& existedBefore);

}  // namespace app
