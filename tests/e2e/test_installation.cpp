#include "e2e/test_installation.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace e2e {
namespace {

// A value as Wine's registry files write it: backslashes and quotes escaped.
std::string RegistryString(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\' || c == '"') escaped.push_back('\\');
    escaped.push_back(c);
  }
  return escaped;
}

}  // namespace

TestInstallation::TestInstallation(bool kindFolders) {
  dir_.MakeDirs("prefix/dosdevices");
  dir_.MakeDirs("prefix/drive_c/Sim");
  const std::string link = dir_.NativePath("prefix/dosdevices/c:");
  if (symlink("../drive_c", link.c_str()) != 0) ADD_FAILURE() << "cannot link " << link;
  for (const char* folder : {"Mods", "Parallels", "Modelle", "Rollmaterial", "Anlagen"}) MakeDirs(folder);
  if (kindFolders) {
    for (const char* folder : {"Prellbock", "Oberleitung", "Leitpfosten", "Bodentextur"}) MakeDirs(folder);
  }
  SetRegistryCommand("C:\\Sim\\Kantrelwick.exe \"%1\"");
}

RunOptions TestInstallation::Options() const {
  RunOptions options;
  options.environment.push_back("WINEPREFIX=" + PrefixNative());
  return options;
}

std::string TestInstallation::Native(const std::string& relative) const {
  return dir_.NativePath(Inside(relative));
}

std::string TestInstallation::Windows(const std::string& relative) const {
  return "C:\\Sim\\" + relative;
}

void TestInstallation::Write(const std::string& relative, const std::string& bytes) const {
  dir_.Write(Inside(relative), bytes);
}

std::string TestInstallation::Read(const std::string& relative) const { return dir_.Read(Inside(relative)); }

bool TestInstallation::Exists(const std::string& relative) const { return dir_.Exists(Inside(relative)); }

void TestInstallation::MakeDirs(const std::string& relative) const { dir_.MakeDirs(Inside(relative)); }

std::vector<std::string> TestInstallation::List(const std::string& relative) const {
  return dir_.List(Inside(relative));
}

void TestInstallation::SetRegistryCommand(const std::string& command) const {
  std::string hive =
      "WINE REGISTRY Version 2\n"
      ";; All keys relative to \\\\Machine\n"
      "\n"
      "#arch=win32\n";
  if (!command.empty()) {
    hive +=
        "\n[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1700000000\n"
        "#time=1da0c1b2c3d4e5f\n"
        "@=\"" + RegistryString(command) + "\"\n";
  }
  dir_.Write("prefix/system.reg", hive);
}

}  // namespace e2e
