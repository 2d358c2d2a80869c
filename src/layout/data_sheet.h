// The data sheet of a rolling-stock unit driven by a library (".dll"): a
// settings file "{host}Rollmaterial/Datenbl\xE4tter/{base name}.txt" whose
// key "ZusLen" in section "Zuvo" gives the length of the extra data that
// follows the unit's name in the layout file.
#pragma once

#include <string>
#include <unordered_map>

#include "layout/layout.h"

namespace layout {

// The data-sheet path of a unit name: the base name (without folders and
// extension) in the host's data-sheet folder; without a folder in front when
// the host directory is unknown.
std::string DataSheetPath(const std::string& unitName);

// The installation's data sheets as the reader's source of extra-data
// lengths, each sheet read once per object (make one per load).
class HostDataSheets : public ExtraLengths {
 public:
  // The extra-data length of a DLL unit: "ZusLen", 0 when the data sheet or
  // the key is missing. Fails (0) when the sheet gives a length below 0 or
  // above 32767: no such length can be read or written.
  int Find(const std::string& unitName, int* length) const override;

 private:
  mutable std::unordered_map<std::string, int> lengths_;  // data-sheet path -> ZusLen
  // Unit name -> ZusLen: a layout names the same few units again and again,
  // and their paths need not be made again each time.
  mutable std::unordered_map<std::string, int> byUnit_;
};

}  // namespace layout
