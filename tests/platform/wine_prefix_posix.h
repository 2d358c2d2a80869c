// A throwaway Wine-style prefix for the POSIX platform tests: a temporary
// folder with drive_c and dosdevices/c: -> ../drive_c, WINEPREFIX pointing at
// it. Environment variables and the current directory that a test changes are
// put back afterwards.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>

#include "platform/faults.h"
#include "support/test_support.h"

namespace testing_support {

class WinePrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char buffer[4096];
    ASSERT_NE(getcwd(buffer, sizeof buffer), nullptr);
    savedDirectory_ = buffer;
    prefix_ = dir_.NativePath("prefix");
    dir_.MakeDirs("prefix/drive_c");
    dir_.MakeDirs("prefix/dosdevices");
    LinkDrive('c', "../drive_c");
    SetEnv("WINEPREFIX", prefix_.c_str());
  }

  void TearDown() override {
    platform::ClearFaults();
    EXPECT_EQ(chdir(savedDirectory_.c_str()), 0);
    for (const auto& saved : savedEnvironment_) {
      if (saved.second.first) {
        setenv(saved.first.c_str(), saved.second.second.c_str(), 1);
      } else {
        unsetenv(saved.first.c_str());
      }
    }
  }

  // Sets (or, with null, removes) an environment variable for this test.
  void SetEnv(const std::string& name, const char* value) {
    if (savedEnvironment_.find(name) == savedEnvironment_.end()) {
      const char* old = std::getenv(name.c_str());
      savedEnvironment_[name] = {old != nullptr, old != nullptr ? old : ""};
    }
    if (value != nullptr) {
      setenv(name.c_str(), value, 1);
    } else {
      unsetenv(name.c_str());
    }
  }

  // dosdevices/<letter>: -> target (as written into the link).
  void LinkDrive(char letter, const std::string& target) {
    std::string link = prefix_ + "/dosdevices/" + letter + ":";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0) << link;
  }

  // Native path inside drive_c (relative path in code page 1252).
  std::string OnC(const std::string& relative) const {
    return dir_.NativePath("prefix/drive_c/" + relative);
  }

  // Writes a file inside drive_c (relative path, names in code page 1252 as
  // everywhere in TempDir).
  void WriteOnC(const std::string& relative, const std::string& bytes) const {
    dir_.Write("prefix/drive_c/" + relative, bytes);
  }

  TempDir dir_;
  std::string prefix_;

 private:
  std::string savedDirectory_;
  std::map<std::string, std::pair<bool, std::string>> savedEnvironment_;
};

}  // namespace testing_support
