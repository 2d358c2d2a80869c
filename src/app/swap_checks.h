// The swaps of a start come from the layout's settings file, which travels
// with shared layouts. Before anything changes, each "[Copy]" entry must be a
// swap that cannot harm: two files inside the installation, neither of them
// a program or a library the simulator would run, a folder, the run
// journal, a safe save's temporary file or a layout (the one being started
// above all); each file swapped once. The healer of a cut-off run undoes only swaps that pass
// the same checks, so a hand-edited journal cannot make it move other files.
//
// Result contract: 1 when allowed; 0 after showing why (CheckSwaps) or with
// the reason in *why (SwapSideProblem).
#pragma once

#include <string>

#include "settings/settings_file.h"

namespace app {

// What may not stand on either side of a swap.
enum class SwapProblem {
  kNone,
  kOutside,    // not inside the installation
  kProgram,    // a program or a library: by its extension or its "MZ" start
  kFolder,     // a folder
  kJournal,    // the run journal
  kTemporary,  // a safe save's temporary file
  kLayout,     // a layout file (".anl", ".danl"): the user's own work
};

// The problem of one side `path` (as written in the settings file, or an
// absolute path of a journal) of a swap in the installation `installationFolder`; kNone
// when the side may be swapped.
SwapProblem SwapSideProblem(const std::string& installationFolder, const std::string& path);

// Checks every key entry of the sections named "Copy", in file order, and
// shows for the first that does not pass why it is refused: a side with a
// SwapProblem, or a key that an earlier entry swaps already (compared
// ignoring case once resolved).
int CheckSwaps(const settings::SettingsFile& settings, const std::string& installationFolder);

// Once a run cut off is put back: shows for the first entry whose key exists
// and whose backup "<key>.sav" exists as well that the swap cannot be made
// (a rename never replaces a file), and returns 0.
int CheckBackupsFree(const settings::SettingsFile& settings, const std::string& installationFolder);

}  // namespace app
