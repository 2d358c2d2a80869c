// What the stand-in simulator and the tests that read its log agree on.
//
// The stand-in (installed as Kantrelwick.exe in a test installation) appends
// one block per run to its log: a header line, then one line "Key: value" per
// observation or action, each line ending in LF. Paths and names in the log
// are UTF-8; file contents are escaped by DescribeContent, so they stay on
// one line.
//
// Keys of one block, in this order:
//   Prozess            the stand-in's process id
//   Argumente          argc; then "Argument 0" ... "Argument N-1"
//   Datei <active>     content of each active asset file (Mods\Prellbock.mod,
//                      Mods\Oberleitung.mod, Mods\Leitpfosten.mod,
//                      Parallels\Tex256_256a.bmp), with "(wie <kind>\<file>)"
//                      naming the kind folder's files of the same content
//   Tausch <key>       for every key of the ".danl"'s "Copy" sections: the
//   Tausch <key>.sav   content of the key's file and of its backup
//   Zeigen <file>      content of a file the plan names
//   Anlage             "geladen, ..." or "nicht lesbar"
//   Kamera 1..5        the layout's camera views as the run found them
//   Kamera N bewegt    a view changed on the plan's order, then
//   Anlage gespeichert "ja" or "nein" (the layout file rewritten)
//   Danl               "[Section] key=value" set in the ".danl" and written
//   Geloescht          a file deleted on the plan's order
//   Haengt             waiting until killed or signalled (the plan's
//                      "Haengen" or "Warten")
//   Signal             the number of a signal received while waiting
//   Absturz            about to crash (the plan's "Absturz")
//   Ende               "Exitcode N", the last line of a normal run
//
// The plan (settings-file syntax) says what the run does besides looking:
//   [Kamera N]         N = 1..5; keys PX PY PZ OW LH (integers) and WX WH
//                      (degrees, as in a camera set); a key given replaces
//                      that value of view N, the others stay
//   [Danl <Section>]   every key is set in section <Section> of the ".danl"
//   [Ablauf]           Zeigen=<file> (may repeat: log what it holds),
//                      Loeschen=<file> (may repeat: delete it; both relative
//                      to the installation or absolute), Exitcode=N, Absturz=1
//                      (abort after the actions), Haengen=S (after the
//                      actions, wait until killed, at most S seconds),
//                      Warten=S (after the actions, wait for SIGINT, SIGTERM
//                      or SIGHUP, at most S seconds; Signale=N: end after N
//                      of them, default 1; then go on as without waiting),
//                      Pause=MS (after the actions, sleep MS milliseconds)
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace stand_in {

// The plan and the log lie beside the program.
const char kPlanFileName[] = "Kantrelwick.plan";
const char kLogFileName[] = "Kantrelwick.log";

// The first line of every run's block.
const char kRunHeader[] = "== Kantrelwick (Stand-in) ==";

// Contents up to this many bytes are written whole; longer ones are cut.
const std::size_t kWholeContentLimit = 256;
const std::size_t kCutContentLength = 32;

// File content on one line: `N Bytes "..."`, printable ASCII as it is, the
// quote and the backslash escaped, CR, LF and tab as \r \n \t, every other
// byte as \xNN. Contents longer than kWholeContentLimit show their first
// kCutContentLength bytes followed by "..." when those are text, and only
// `N Bytes, binaer` otherwise.
inline std::string DescribeContent(const std::string& bytes) {
  const bool whole = bytes.size() <= kWholeContentLimit;
  const std::size_t shown = whole ? bytes.size() : kCutContentLength;
  std::string out = std::to_string(bytes.size()) + " Bytes";
  if (!whole) {
    for (std::size_t i = 0; i < shown; ++i) {
      const unsigned char c = static_cast<unsigned char>(bytes[i]);
      if (c < 0x20 && c != '\r' && c != '\n' && c != '\t') return out + ", binaer";
    }
  }
  out += " \"";
  for (std::size_t i = 0; i < shown; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  out += whole ? "\"" : "\"...";
  return out;
}

// One run's block of the log, read back.
struct Run {
  std::vector<std::pair<std::string, std::string>> lines;  // key, value

  // The value of the first line with this key; `missing` when there is none.
  std::string Get(const std::string& key, const std::string& missing = "(keine Zeile)") const {
    for (const auto& line : lines) {
      if (line.first == key) return line.second;
    }
    return missing;
  }
  bool Has(const std::string& key) const { return Get(key, "\x01") != "\x01"; }
};

// Splits a log into its runs. A line without ": " keeps the whole line as
// its key and an empty value.
inline std::vector<Run> ReadRuns(const std::string& log) {
  std::vector<Run> runs;
  std::size_t pos = 0;
  while (pos < log.size()) {
    std::size_t end = log.find('\n', pos);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(pos, end - pos);
    pos = end + 1;
    if (line == kRunHeader) {
      runs.emplace_back();
      continue;
    }
    if (runs.empty()) continue;
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos) {
      runs.back().lines.emplace_back(line, std::string());
    } else {
      runs.back().lines.emplace_back(line.substr(0, colon), line.substr(colon + 2));
    }
  }
  return runs;
}

}  // namespace stand_in
