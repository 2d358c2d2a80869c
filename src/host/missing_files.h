// Which files named by a layout are missing from the installation, asked
// once per name (up to a 0 byte in it): a layout names the same house or
// wagon many times, and the answer cannot change while one command runs. The
// folders of the installation are read once for the whole command
// (host::FolderIndex). Everything counts as missing while the installation
// is unknown.
#pragma once

#include <string>
#include <unordered_map>

#include "host/folder_index.h"
#include "host/installation.h"

namespace host {

class MissingFiles {
 public:
  explicit MissingFiles(const Installation& installation) : folders_(installation) {}
  // Missing: {folder}Modelle\{name}.mod, {folder}{name},
  // {folder}Rollmaterial\{name} do not exist (see ModelPath).
  bool Model(const std::string& name) { return Ask(&models_, name, kModel); }
  bool Gbo(const std::string& name) { return Ask(&gbos_, name, kGbo); }
  bool RollingStock(const std::string& name) { return Ask(&rollingStock_, name, kRollingStock); }

 private:
  enum Kind { kModel, kGbo, kRollingStock };
  using Answers = std::unordered_map<std::string, bool>;

  bool Ask(Answers* answers, const std::string& name, Kind kind);

  FolderIndex folders_;
  Answers models_;
  Answers gbos_;
  Answers rollingStock_;
};

}  // namespace host
