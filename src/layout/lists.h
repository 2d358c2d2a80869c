// The inventory list ("Inventarliste.txt") and the missing list
// ("Fehlliste.txt") of a layout: plain text with CR LF line ends,
//
//   Immobilien:          one line "<name>.mod" per placed model's name
//                        (an empty line)
//   GBOs:                one line per GBO of a type-6 track piece
//                        (an empty line)
//   Rollmaterial:        one line per rolling-stock name
//
// Each name appears once per group, in the order and letter case of its first
// use; names that differ only in the case of A to Z are the same name. The
// missing list holds only names whose file the installation lacks. Records
// removed in memory (id 0) are listed like the others.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "layout/layout.h"
#include "layout/object_files.h"

namespace layout {

// Distinct names in the order they were first met.
class NameList {
 public:
  // The stored name equal to `name` ignoring the case of A to Z; a copy of
  // `name` is added first when there is none. The reference stays valid until
  // the next Intern.
  const std::string& Intern(const std::string& name);

  int count() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& items() const { return items_; }
  void Clear();

 private:
  std::vector<std::string> items_;
  // Each name with A to Z in upper case -> its index in items_.
  std::unordered_map<std::string, std::size_t> index_;
};

enum class ListKind { kInventory, kMissing };

// The list's text. The missing list asks `files` (which may be null for the
// inventory) which files are missing.
std::string ListText(const Layout& layout, ListKind kind, ObjectFiles* files);

// The list's file name: "Inventarliste.txt" or "Fehlliste.txt".
const char* ListFileName(ListKind kind);

}  // namespace layout
