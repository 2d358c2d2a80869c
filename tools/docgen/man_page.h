// A manual page of zuvo from a template and the command table.
//
// The template is the page in roff with these places filled in:
//   @VERSION@          the version
//   @USAGE@            the global options as the synopsis shows them
//   .\" @OPTIONS@      one entry per global option
//   .\" @COMMANDS@     one entry per command: its synopsis, its text, its options
// After a line ".\" @TEXTS@" come the texts of the entries, each introduced
// by ".\" text command NAME", ".\" text option --NAME" (a global option) or
// ".\" text option COMMAND --NAME", in roff. An entry without a text takes
// the help text of the command table, which is German: a page in another
// language marks such an entry (".\" missing text: ...") and lists it in
// *missing. A text for something the table lacks is an error, so a removed
// command leaves no stale text behind.
#pragma once

#include <string>
#include <vector>

#include "command_line.h"

namespace docgen {

struct ManPageInput {
  const Command* program = nullptr;
  std::string pageTemplate;
  std::string version;
  bool tableLanguage = true;  // the page is in the table's language (German)
};

// Writes the page into *page. Returns 1, or 0 with the reason in *error.
int WriteManPage(const ManPageInput& input, std::string* page, std::vector<std::string>* missing, std::string* error);

// Text of the command table as roff: backslashes and leading dots escaped,
// the first letter capital and a full stop at the end.
std::string RoffSentence(const std::string& text);

// A name (an option, a command) in roff: every "-" a minus sign.
std::string RoffName(const std::string& name);

// Every character outside ASCII as a groff escape (UTF-8 "ä" becomes
// "\[u00E4]"), so the page reads the same under any locale.
std::string AsciiRoff(const std::string& utf8);

}  // namespace docgen
