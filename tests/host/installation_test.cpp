#include "host/installation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

using testing_support::TempDir;
using Names = std::vector<std::string>;

// A stand-in for the registry's command value (none while null), counting reads.
const std::string* registryValue = nullptr;
int registryReads = 0;
int ReadRegistry(std::string* command) {
  ++registryReads;
  if (registryValue == nullptr) return 0;
  *command = *registryValue;
  return 1;
}

std::string Host() {
  const char* directory = host::HostDirectory();
  return directory != nullptr ? directory : "<unknown>";
}

class InstallationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registryValue = nullptr;
    registryReads = 0;
    host::SetCommandValueReader(&ReadRegistry);
    host::SetHostDirectoryOverride(host_.windows());
  }
  void TearDown() override {
    host::SetHostDirectoryOverride("");
    host::SetCommandValueReader(nullptr);
    EXPECT_TRUE(messages_.messages().empty());  // callers do the telling
  }
  TempDir host_;
  testing_support::MessageRecorder messages_;
};

TEST(HostDirectoryFromCommandTest, TakesTheProgramsFolder) {
  const std::string longFolder = "C:\\" + std::string(400, 'a') + "\\";
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\Sim\\Kantrelwick.exe %1", "C:\\Sim\\"},
      {"Kantrelwick.exe %1", ""},
      {"\"C:\\Program Files\\Sim\\Kantrelwick.exe\" \"C:\\x\\%1\"", "C:\\Program Files\\Sim\\"},
      {"\"C:\\Sim\\Kantrelwick.exe %1", "C:\\Sim\\"},  // no closing quote
      {"\"Kantrelwick.exe\" \"C:\\x\\%1\"", ""},      // the program has no folder
      {std::string("C:\\Sim\\K.exe\0D:\\junk\\", 22), "C:\\Sim\\"},
      {longFolder + "K.exe", longFolder},
  };
  for (const auto& c : cases) EXPECT_EQ(host::HostDirectoryFromCommand(c.first), c.second) << c.first;
}

TEST_F(InstallationTest, HostDirectoryComesFromTheOverrideOrTheRegistryAndIsKept) {
  EXPECT_EQ(Host(), host_.windows() + "\\");
  host::SetHostDirectoryOverride(host_.windows() + "\\");
  EXPECT_EQ(Host(), host_.windows() + "\\");
  EXPECT_EQ(registryReads, 0);

  host::SetHostDirectoryOverride("");
  EXPECT_EQ(Host(), "<unknown>");
  std::string value = "Kantrelwick.exe %1";  // no backslash: still unknown
  registryValue = &value;
  EXPECT_EQ(Host(), "<unknown>");
  EXPECT_EQ(registryReads, 2);  // a failed lookup is tried again
  value = "\"C:\\Program Files\\Sim\\Kantrelwick.exe\" \"%1\"";
  EXPECT_EQ(Host(), "C:\\Program Files\\Sim\\");
  value = "D:\\Other\\Kantrelwick.exe %1";
  EXPECT_EQ(Host(), "C:\\Program Files\\Sim\\");
  EXPECT_EQ(registryReads, 3);
  host::ResetHostDirectoryCache();
  EXPECT_EQ(Host(), "D:\\Other\\");
  host::SetHostDirectoryOverride(host_.windows());  // wins, without asking
  EXPECT_EQ(Host(), host_.windows() + "\\");
  EXPECT_EQ(registryReads, 4);
}

TEST_F(InstallationTest, ExistenceChecksLookUnderTheHostDirectory) {
  host_.Write("Modelle\\Gruppe\\Baum.mod", "m");
  host_.Write("Rollmaterial\\Lok.rm", "r");
  host_.MakeDirs("Prellbock");
  host_.Write("Oberleitung", "a file, not a folder");
  EXPECT_EQ(host::IsModelMissing("Gruppe\\Baum.mod"), 1);  // ".mod" is added
  EXPECT_EQ(host::IsRollingStockMissing("Lok"), 1);
  EXPECT_EQ(host::IsGboMissing("Lok.rm"), 1);
  EXPECT_EQ(host::IsHostSubdirectory("Oberleitung"), 0);  // a file
  EXPECT_EQ(host::HostPathExists("Leitpfosten"), 0);
  for (int known : {1, 0}) {  // then with the host directory unknown
    SCOPED_TRACE(known);
    EXPECT_EQ(host::IsModelMissing("Gruppe\\Baum"), !known);
    EXPECT_EQ(host::IsRollingStockMissing("Lok.rm"), !known);
    EXPECT_EQ(host::IsGboMissing("Rollmaterial\\Lok.rm"), !known);
    EXPECT_EQ(host::IsHostSubdirectory("Prellbock"), known);
    EXPECT_EQ(host::HostPathExists("Oberleitung"), known);
    host::SetHostDirectoryOverride("");
  }
  EXPECT_EQ(host::FindAssetKind("Leitpfosten"), host::kGuidePost);
  EXPECT_EQ(host::FindAssetKind("bODENTEXTUR"), host::kGroundTexture);  // it alone ignores case
  EXPECT_EQ(host::FindAssetKind("prellbock"), -1);
  EXPECT_EQ(host::FindAssetKind("Bodentextu"), -1);
}

// (Every kind's files, and a failure at every file operation of the copies:
// the e2e start tests.)
TEST_F(InstallationTest, SaveOriginalKeepsTheFirstDefaultAndInstallChoiceCopiesAChoice) {
  // Every byte is copied: 0x1A would end a file read in text mode.
  const std::string original("orig\0\r\n\x1A", 8), red("red\0\r\n\x1A", 7);
  host_.MakeDirs("Prellbock");
  host_.Write("Mods\\Prellbock.mod", original);
  host_.Write("Prellbock\\Rot.mod", red);
  EXPECT_EQ(host::SaveOriginal(host::kBufferStop), 1);
  EXPECT_EQ(host::InstallChoice("Rot.mod", host::kBufferStop), 1);
  EXPECT_EQ(host::SaveOriginal(host::kBufferStop), 1);  // the default is never overwritten
  EXPECT_EQ(host_.Read("Prellbock\\Prellbock.mod"), original);
  EXPECT_EQ(host::InstallChoice("Fehlt.mod", host::kBufferStop), 0);
  EXPECT_EQ(host::InstallChoice("Rot", host::kBufferStop), 0);  // no extension is added
  EXPECT_EQ(host_.Read("Mods\\Prellbock.mod"), red);

  host_.Write("Leitpfosten\\Leitpfosten.mod", "kept");  // counts without an active file
  EXPECT_EQ(host::SaveOriginal(host::kGuidePost), 1);
  host_.Write("Mods\\Oberleitung.mod", "");
  EXPECT_EQ(host::SaveOriginal(host::kCatenary), 0);  // no kind folder
  host_.MakeDirs("Bodentextur");
  EXPECT_EQ(host::SaveOriginal(host::kGroundTexture), 0);  // no active file
  EXPECT_EQ(host_.List(), (Names{"Bodentextur", "Leitpfosten", "Mods", "Prellbock"}));
  EXPECT_EQ(host_.List("Bodentextur"), Names{});

  host::SetHostDirectoryOverride("");
  EXPECT_EQ(host::SaveOriginal(host::kBufferStop), 0);
  EXPECT_EQ(host::InstallChoice("Rot.mod", host::kBufferStop), 0);
}

}  // namespace
