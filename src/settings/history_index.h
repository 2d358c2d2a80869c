// The index of a layout's history: which versions of the pair ".anl" +
// ".danl" are kept, in the settings-file syntax (CR LF), one section per
// version. The files themselves lie beside the index, named by their
// content (content_name below), so an unchanged file is stored once.
//
//   [StartZUVO-Verlauf]
//   Format=1
//   Fassungen=2                  how many version sections follow (a file
//                                cut short at a section's end is told)
//   [Fassung 7]                  the version's number, counting up, never reused
//   Zeit=2026-12-07 23:10:05     when it was kept (local time)
//   Befehl=remove-missing gbos   the command that was about to change the pair
//   Anl=<64 hex digits>.anl      the ".anl" as it was; empty: there was none
//   AnlGroesse=1234              its size in bytes
//   Danl=<64 hex digits>.danl    the ".danl" likewise
//   DanlGroesse=56
//   Gleise=3                     the records of the loaded pair, when known:
//   Modelle=2                    tracks, models, rolling stock and camera
//   Rollmaterial=1               sets; a missing key means unknown
//   KamSets=1
//
// The index is hostile input (a hand-edited or damaged file, a stranger's
// archive): a content name is only ever the exact form above, so it cannot
// name a path; numbers are bounded; every fault is named by its section and
// key. Sections of other names are passed over.
//
// Result contract: non-zero is success.
#pragma once

#include <string>
#include <vector>

namespace settings {

// One file of a version: its content name, empty when the file did not
// exist, and its size.
struct HistoryFile {
  std::string content;
  long long size = 0;
};

struct HistoryVersion {
  int number = 0;
  std::string time;
  std::string command;
  HistoryFile layout;    // the ".anl"
  HistoryFile settings;  // the ".danl"
  // Counts of the pair's records; -1 when unknown.
  int tracks = -1, models = -1, rollingStock = -1, cameraSets = -1;
};

// The versions in ascending order of their numbers.
struct HistoryIndex {
  std::vector<HistoryVersion> versions;
};

// The index's text (CR LF).
std::string HistoryIndexText(const HistoryIndex& index);

// Reads an index's text. On a fault fills *fault with where it is ("[Fassung
// 3] AnlGroesse", "[StartZUVO-Verlauf] Fassungen") and returns 0; *index
// then holds nothing.
int ParseHistoryIndex(const std::string& text, HistoryIndex* index, std::string* fault);

// The content name of `bytes` stored as a file with `extension` ("anl",
// "danl"): the SHA-256 of the bytes in hex, a dot and the extension.
std::string ContentName(const std::string& bytes, const char* extension);

// 1 when `name` has exactly the form ContentName gives for `extension`.
int IsContentName(const std::string& name, const char* extension);

// How many versions a layout keeps: the newest `keep`; where a limit on the
// stored bytes (`maxBytes`, 0: none) asks for fewer, never fewer than the
// newest `floor`.
struct HistoryBound {
  int keep = 30;
  int floor = 3;
  long long maxBytes = 0;
};

// The numbers of the versions that must go for the index to fit the bound,
// oldest first.
std::vector<int> VersionsBeyond(const HistoryIndex& index, const HistoryBound& bound);

// Removes the versions numbered `numbers` and gives the content names that
// only they named (each once), which are then no longer needed.
std::vector<std::string> DropVersions(HistoryIndex* index, const std::vector<int>& numbers);

// The number a new version gets: one above the highest, 1 for an empty index.
int NextVersionNumber(const HistoryIndex& index);

}  // namespace settings
