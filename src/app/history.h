// The history of a layout: before StartZUVO replaces the ".anl" or the
// ".danl" of a pair, the pair as it is goes into the layout's history, so
// that every earlier version can be brought back (zuvo restore).
//
//   <layout folder>\StartZUVO-Verlauf\<Name>\Verlauf.txt   the index (settings/history_index.h)
//   <layout folder>\StartZUVO-Verlauf\<Name>\<sha256>.anl  each content once
//   <layout folder>\StartZUVO-Verlauf\<Name>\<sha256>.danl
//
// The history lies beside the layout, so the native program and the one
// under wine keep one history. Every write is a safe save that stays inside
// the layout's folder; a history folder (or a file of the pair) that a link
// leads out of that folder is neither read nor written. The newest 30
// versions are kept, never fewer than the newest 3; the content files that
// only the dropped versions named are deleted, and no other file.
//
// Result contract: non-zero is success; every failure is reported here (or
// told into the list passed in).
#pragma once

#include <string>
#include <vector>

#include "app/loaded_pair.h"
#include "host/messages.h"
#include "settings/history_index.h"

namespace app {

// Where the history of the layout `layoutPath` (its ".anl") lies.
struct HistoryPlace {
  std::string layoutFolder;  // every write stays inside it
  std::string folder;        // ...\StartZUVO-Verlauf\<Name>
  std::string index;         // ...\Verlauf.txt
};
HistoryPlace HistoryPlaceOf(const std::string& layoutPath);

// What zuvo history shows of a layout's history.
struct HistoryListing {
  std::string layoutPath;
  std::string folder;
  std::vector<settings::HistoryVersion> versions;  // newest first
};

// The counts that a version keeps of the pair in memory (all -1 while no
// layout is loaded; the camera sets as the settings file holds them).
struct PairCounts {
  int tracks = -1, models = -1, rollingStock = -1, cameraSets = -1;
};
PairCounts CountsOf(const LoadedPair& pair);

// Reads the index. Without one (no folder, no index file) *index is empty
// and the result 1. 0 after telling why: the history folder leads out of the
// layout's folder, or the index cannot be read or is damaged.
int ReadHistory(const HistoryPlace& place, settings::HistoryIndex* index, host::Reasons* into = nullptr);

// Keeps the pair `layoutPath` + `settingsPath` as the files are now, made by
// `command`, before the command replaces one of them. *number gets the
// version that holds them: a new one, or the newest when it holds the same
// files already (0 when neither file exists: nothing to keep). 0 after
// reporting why (a file of the pair that leads out of its folder, a damaged
// index, a write that failed): the command must stop before it changes the
// pair.
int KeepVersion(const std::string& layoutPath, const std::string& settingsPath, const std::string& command,
                const PairCounts& counts, int* number);

// The bytes of one file of a version, checked against its size and content
// name. 0 after reporting kHistoryVersionDamaged when it is missing, cut
// short or changed.
int ReadVersionFile(const HistoryPlace& place, int number, const settings::HistoryFile& file, std::string* bytes);

// The content names the pair's files have now; empty for a file that does
// not exist or cannot be read.
settings::HistoryVersion PairAsVersion(const std::string& layoutPath, const std::string& settingsPath);

}  // namespace app
