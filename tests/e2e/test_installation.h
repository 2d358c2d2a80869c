// A test installation of the simulator inside a throwaway Wine-style prefix,
// for running zuvo as a user would on Linux:
//
//   <prefix>/drive_c/Sim/            the installation (host directory C:\Sim\ )
//   <prefix>/dosdevices/c: -> ../drive_c
//   <prefix>/system.reg              names C:\Sim\Kantrelwick.exe as the
//                                    program that opens the simulator's files
//
// zuvo finds the installation through the registry of the prefix named by
// WINEPREFIX, which Options() sets for the child.
#pragma once

#include <string>
#include <vector>

#include "e2e/run_zuvo.h"
#include "support/test_support.h"

namespace e2e {

class TestInstallation {
 public:
  // The usual folders: Mods, Parallels, Modelle, Rollmaterial, Anlagen and,
  // with `kindFolders`, the four kind folders.
  explicit TestInstallation(bool kindFolders = true);

  // Options for RunZuvo: WINEPREFIX set to this prefix.
  RunOptions Options() const;

  // The prefix folder (native).
  std::string PrefixNative() const { return dir_.NativePath("prefix"); }

  // Paths of `relative` (backslashes) inside the installation.
  std::string Native(const std::string& relative) const;
  std::string Windows(const std::string& relative) const;  // C:\Sim\<relative>

  void Write(const std::string& relative, const std::string& bytes) const;
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  void MakeDirs(const std::string& relative) const;
  std::vector<std::string> List(const std::string& relative) const;

  // Rewrites system.reg with this default value of the command key (as the
  // value's text, unescaped); an empty text removes the key.
  void SetRegistryCommand(const std::string& command) const;

  // A file outside the installation, in the prefix's folder (native path).
  std::string Outside(const std::string& relative) const { return dir_.NativePath(relative); }

 private:
  std::string Inside(const std::string& relative) const { return "prefix\\drive_c\\Sim\\" + relative; }

  testing_support::TempDir dir_;
};

}  // namespace e2e
