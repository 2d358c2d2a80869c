// The installation as the formats ask it, through the seams they declare:
// the extra-data lengths of units driven by a library (layout::ExtraLengths),
// and which objects' files are missing (layout::ObjectFiles). Make one of
// each per command: what they read is kept for their life.
#pragma once

#include <string>
#include <unordered_map>

#include "host/installation.h"
#include "host/missing_files.h"
#include "layout/layout.h"
#include "layout/object_files.h"

namespace app {

// The installation's data sheets: "ZusLen" in section "Zuvo" of the unit's
// data sheet (host::DataSheetPath), 0 when the sheet or the key is missing.
// Fails (0) for a length below 0 or above 32767: no such length can be read
// or written. Each sheet is read once.
class DataSheets : public layout::ExtraLengths {
 public:
  explicit DataSheets(const host::Installation& installation) : installation_(installation) {}
  int Find(const std::string& unitName, int* length) const override;

 private:
  host::Installation installation_;
  mutable std::unordered_map<std::string, int> lengths_;  // data-sheet path -> ZusLen
  // Unit name -> ZusLen: a layout names the same few units again and again,
  // and their paths need not be made again each time.
  mutable std::unordered_map<std::string, int> byUnit_;
};

class InstallationObjects : public layout::ObjectFiles {
 public:
  explicit InstallationObjects(const host::Installation& installation) : files_(installation) {}
  bool ModelMissing(const std::string& name) override { return files_.Model(name); }
  bool GboMissing(const std::string& name) override { return files_.Gbo(name); }
  bool RollingStockMissing(const std::string& name) override { return files_.RollingStock(name); }

 private:
  host::MissingFiles files_;
};

}  // namespace app
