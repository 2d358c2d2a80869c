// The run journal: while a start has the installation changed for its run,
// the installation folder holds "StartZUVO-Lauf.txt", so that a run cut off
// (killed, a crash, a power cut) is undone by the next command, and a second
// start does not swap files under a running simulator.
//
//   [Lauf]                         who runs
//   Prozess=4711                   the tool's process id
//   Start=...                      when that process started (see platform.h)
//   Rechner=NAME                   the computer it runs on
//   Anlage=C:\Sim\Anlagen\A.anl    the layout
//   Simulator=4712                 the simulator's process, once it runs
//   SimulatorStart=...
//   [Tausch]                       one group per swap, in the order made:
//   Datei=C:\Sim\Strecke.dat       the file the simulator uses
//   Sicherung=C:\Sim\Strecke.dat.sav   where it goes (when it existed)
//   Ersatz=C:\Sim\Strecke_Winter.dat   what takes its place (when it existed)
//
// A swap is written into the journal before its renames are made. Text in
// the settings-file syntax, CR LF, saved safely.
//
// The journal is hostile input once it is read back: a path outside the
// installation is never touched and a rename never replaces a file.
//
// Result contract: non-zero is success; every failure is shown here.
#pragma once

#include <string>
#include <vector>

namespace app {

struct JournalSwap {
  std::string file;
  std::string backup;      // empty: the file did not exist
  std::string substitute;  // empty: the substitute did not exist
};

struct RunJournal {
  long pid = 0;
  std::string startTime, hostName, layout;
  long simulatorPid = 0;
  std::string simulatorStart;
  std::vector<JournalSwap> swaps;
};

// The journal's path in the installation `host` (ending in a backslash).
std::string RunJournalPath(const std::string& host);

// The journal of this process running `layout`, without swaps.
RunJournal OwnRunJournal(const std::string& layout);

// Saves the journal safely. Shows "Laufprotokoll %s kann nicht geschrieben
// werden!" on failure, unless `quiet`.
int WriteRunJournal(const std::string& host, const RunJournal& journal, bool quiet = false);

// Removes the journal; shows why when it cannot.
int RemoveRunJournal(const std::string& host);

// Before a command changes the installation: a journal of a run that is no
// longer alive is undone, swap by swap in reverse, each file put back named
// in one message, and removed. Returns 0, changing nothing, for a journal of
// a live run or one that cannot be read; 0 too when a rename failed (the
// journal stays for the next command). *found (when not null) tells whether
// there was a journal.
int HealInstallation(const std::string& host, int* found = nullptr);

}  // namespace app
