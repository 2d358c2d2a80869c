#include "host/installation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using testing_support::MessageRecorder;
using testing_support::TempDir;

// A stand-in for the registry: a command value and a count of the reads.
struct FakeRegistry {
  static bool present;
  static std::string value;
  static int reads;
  static int Read(std::string* command) {
    ++reads;
    if (!present) return 0;
    *command = value;
    return 1;
  }
};
bool FakeRegistry::present = false;
std::string FakeRegistry::value;
int FakeRegistry::reads = 0;

class InstallationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeRegistry::present = false;
    FakeRegistry::reads = 0;
    host::SetCommandValueReader(&FakeRegistry::Read);
    host::SetHostDirectoryOverride(host_.windows());
  }
  void TearDown() override {
    platform::ClearFaults();
    host::SetHostDirectoryOverride("");
    host::SetCommandValueReader(nullptr);
  }

  // Forgets the installation: no override and nothing in the registry.
  void Unknown() {
    host::SetHostDirectoryOverride("");
    ASSERT_EQ(host::HostDirectory(), nullptr);
  }

  TempDir host_;
  MessageRecorder messages_;  // nothing here may show a message
};

TEST_F(InstallationTest, OverrideNamesTheFolderWithATrailingBackslash) {
  ASSERT_NE(host::HostDirectory(), nullptr);
  EXPECT_EQ(std::string(host::HostDirectory()), host_.windows() + "\\");
  host::SetHostDirectoryOverride(host_.windows() + "\\");
  EXPECT_EQ(std::string(host::HostDirectory()), host_.windows() + "\\");
  EXPECT_EQ(FakeRegistry::reads, 0);
  EXPECT_TRUE(messages_.messages().empty());
}

TEST(HostDirectoryFromCommandTest, TakesTheProgramsFolder) {
  struct Case {
    std::string command;
    std::string expected;
  };
  const Case cases[] = {
      {"C:\\Sim\\Kantrelwick.exe %1", "C:\\Sim\\"},
      {"C:\\Sim\\Kantrelwick.exe", "C:\\Sim\\"},
      {"Kantrelwick.exe %1", ""},
      {"", ""},
      {"\"C:\\Program Files\\Sim\\Kantrelwick.exe\" \"%1\"", "C:\\Program Files\\Sim\\"},
      {"\"C:\\Program Files\\Sim\\Kantrelwick.exe\" \"C:\\x\\%1\"", "C:\\Program Files\\Sim\\"},
      {"\"C:\\Sim\\Kantrelwick.exe %1", "C:\\Sim\\"},  // no closing quote
      {"\"Kantrelwick.exe\" \"C:\\x\\%1\"", ""},      // the program has no folder
      {"\"\"", ""},
      {"C:\\Sim\\Kantrelwick.exe\\", "C:\\Sim\\Kantrelwick.exe\\"},
      {std::string("C:\\Sim\\K.exe\0D:\\junk\\", 22), "C:\\Sim\\"},
      {"C:\\" + std::string(400, 'a') + "\\K.exe", "C:\\" + std::string(400, 'a') + "\\"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(host::HostDirectoryFromCommand(c.command), c.expected) << c.command;
  }
}

TEST_F(InstallationTest, RegistryValueIsKeptOnceFoundAndAskedAgainWhileUnknown) {
  Unknown();
  EXPECT_EQ(FakeRegistry::reads, 1);
  EXPECT_EQ(host::HostDirectory(), nullptr);
  EXPECT_EQ(FakeRegistry::reads, 2);

  FakeRegistry::present = true;
  FakeRegistry::value = "Kantrelwick.exe %1";  // no backslash: still unknown
  EXPECT_EQ(host::HostDirectory(), nullptr);
  EXPECT_EQ(FakeRegistry::reads, 3);

  FakeRegistry::value = "\"C:\\Program Files\\Sim\\Kantrelwick.exe\" \"%1\"";
  ASSERT_NE(host::HostDirectory(), nullptr);
  EXPECT_EQ(std::string(host::HostDirectory()), "C:\\Program Files\\Sim\\");
  FakeRegistry::value = "D:\\Other\\Kantrelwick.exe %1";
  EXPECT_EQ(std::string(host::HostDirectory()), "C:\\Program Files\\Sim\\");
  EXPECT_EQ(FakeRegistry::reads, 4);

  host::ResetHostDirectoryCache();
  EXPECT_EQ(std::string(host::HostDirectory()), "D:\\Other\\");
  EXPECT_EQ(FakeRegistry::reads, 5);

  // An override wins over the registry and does not ask it.
  host::SetHostDirectoryOverride(host_.windows());
  EXPECT_EQ(std::string(host::HostDirectory()), host_.windows() + "\\");
  EXPECT_EQ(FakeRegistry::reads, 5);
}

TEST_F(InstallationTest, ExistenceChecksLookUnderTheHostDirectory) {
  host_.Write("Modelle\\Haus.mod", "m");
  host_.Write("Modelle\\Gruppe\\Baum.mod", "m");
  host_.Write("Rollmaterial\\Lok.rm", "r");
  host_.Write("Gbo\\Wald.gbo", "g");
  host_.MakeDirs("Prellbock");
  host_.Write("Oberleitung", "a file, not a folder");

  EXPECT_EQ(host::IsModelMissing("Haus"), 0);
  EXPECT_EQ(host::IsModelMissing("Gruppe\\Baum"), 0);
  EXPECT_EQ(host::IsModelMissing("Haus.mod"), 1);  // ".mod" is added
  EXPECT_EQ(host::IsModelMissing("Fehlt"), 1);
  EXPECT_EQ(host::IsRollingStockMissing("Lok.rm"), 0);
  EXPECT_EQ(host::IsRollingStockMissing("Lok"), 1);
  EXPECT_EQ(host::IsGboMissing("Gbo\\Wald.gbo"), 0);
  EXPECT_EQ(host::IsGboMissing("Wald.gbo"), 1);

  EXPECT_EQ(host::IsHostSubdirectory("Prellbock"), 1);
  EXPECT_EQ(host::IsHostSubdirectory("Oberleitung"), 0);  // a file
  EXPECT_EQ(host::IsHostSubdirectory("Leitpfosten"), 0);
  EXPECT_EQ(host::HostPathExists("Prellbock"), 1);
  EXPECT_EQ(host::HostPathExists("Oberleitung"), 1);
  EXPECT_EQ(host::HostPathExists("Leitpfosten"), 0);

  Unknown();
  EXPECT_EQ(host::IsModelMissing("Haus"), 1);
  EXPECT_EQ(host::IsRollingStockMissing("Lok.rm"), 1);
  EXPECT_EQ(host::IsGboMissing("Gbo\\Wald.gbo"), 1);
  EXPECT_EQ(host::IsGboMissing(""), 1);
  EXPECT_EQ(host::IsHostSubdirectory("Prellbock"), 0);
  EXPECT_EQ(host::HostPathExists("Prellbock"), 0);
  EXPECT_TRUE(messages_.messages().empty());
}

TEST(AssetKindTest, OnlyTheGroundTextureIgnoresCase) {
  EXPECT_EQ(host::FindAssetKind("Prellbock"), host::kBufferStop);
  EXPECT_EQ(host::FindAssetKind("Leitpfosten"), host::kGuidePost);
  EXPECT_EQ(host::FindAssetKind("bODENTEXTUR"), host::kGroundTexture);
  EXPECT_EQ(host::FindAssetKind("prellbock"), -1);
  EXPECT_EQ(host::FindAssetKind("Bodentextu"), -1);
  EXPECT_EQ(host::FindAssetKind(""), -1);
}

TEST_F(InstallationTest, SaveOriginalCopiesTheActiveFileOnce) {
  host_.MakeDirs("Prellbock");
  host_.Write("Mods\\Prellbock.mod", "original");
  EXPECT_EQ(host::SaveOriginal(host::kBufferStop), 1);
  EXPECT_EQ(host_.Read("Prellbock\\Prellbock.mod"), "original");

  // The default is never overwritten, even after the active file changed.
  host_.Write("Mods\\Prellbock.mod", "replaced");
  EXPECT_EQ(host::SaveOriginal(host::kBufferStop), 1);
  EXPECT_EQ(host_.Read("Prellbock\\Prellbock.mod"), "original");

  // An existing default counts even without an active file.
  host_.MakeDirs("Leitpfosten");
  host_.Write("Leitpfosten\\Leitpfosten.mod", "kept");
  EXPECT_EQ(host::SaveOriginal(host::kGuidePost), 1);
  EXPECT_EQ(host_.Read("Leitpfosten\\Leitpfosten.mod"), "kept");

  // Without the kind folder, or without the active file: failure, nothing made.
  host_.Write("Mods\\Oberleitung.mod", "cat");
  EXPECT_EQ(host::SaveOriginal(host::kCatenary), 0);
  EXPECT_FALSE(host_.Exists("Oberleitung"));
  host_.MakeDirs("Oberleitung");
  host_.Write("Mods\\Oberleitung.mod", "");
  EXPECT_EQ(host::SaveOriginal(host::kCatenary), 1);
  EXPECT_TRUE(host_.Exists("Oberleitung\\Oberleitung.mod"));
  EXPECT_EQ(host_.Read("Oberleitung\\Oberleitung.mod"), "");

  host_.MakeDirs("Bodentextur");
  EXPECT_EQ(host::SaveOriginal(host::kGroundTexture), 0);
  EXPECT_EQ(host_.List("Bodentextur"), std::vector<std::string>{});
  host_.Write("Parallels\\Tex256_256a.bmp", "BMtexture");
  EXPECT_EQ(host::SaveOriginal(host::kGroundTexture), 1);
  EXPECT_EQ(host_.Read("Bodentextur\\Grass.bmp"), "BMtexture");

  Unknown();
  EXPECT_EQ(host::SaveOriginal(host::kBufferStop), 0);
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(InstallationTest, InstallChoiceCopiesFromTheKindFolderOverTheActiveFile) {
  host_.Write("Prellbock\\Rot.mod", "red buffer stop");
  host_.Write("Mods\\Prellbock.mod", "old");
  EXPECT_EQ(host::InstallChoice("Rot.mod", host::kBufferStop), 1);
  EXPECT_EQ(host_.Read("Mods\\Prellbock.mod"), "red buffer stop");

  // Without the Parallels folder there is nowhere to install to.
  host_.Write("Bodentextur\\Sand.bmp", "BMsand");
  EXPECT_EQ(host::InstallChoice("Sand.bmp", host::kGroundTexture), 0);
  EXPECT_FALSE(host_.Exists("Parallels"));
  host_.MakeDirs("Parallels");
  EXPECT_EQ(host::InstallChoice("Sand.bmp", host::kGroundTexture), 1);
  EXPECT_EQ(host_.Read("Parallels\\Tex256_256a.bmp"), "BMsand");

  // A missing choice leaves the active file as it is.
  EXPECT_EQ(host::InstallChoice("Fehlt.mod", host::kBufferStop), 0);
  EXPECT_EQ(host_.Read("Mods\\Prellbock.mod"), "red buffer stop");
  // The file name is used as given: no extension is added.
  EXPECT_EQ(host::InstallChoice("Rot", host::kBufferStop), 0);
  // Each model kind installs over its own active file.
  host_.Write("Oberleitung\\Draht.mod", "wire");
  EXPECT_EQ(host::InstallChoice("Draht.mod", host::kCatenary), 1);
  EXPECT_EQ(host_.Read("Mods\\Oberleitung.mod"), "wire");
  EXPECT_EQ(host_.Read("Mods\\Prellbock.mod"), "red buffer stop");

  Unknown();
  EXPECT_EQ(host::InstallChoice("Rot.mod", host::kBufferStop), 0);
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(InstallationTest, CopyFileContentsCopiesEveryByteOrNothing) {
  std::string bytes;
  for (int i = 0; i < 1500; ++i) bytes.push_back(static_cast<char>(i * 7 + 1));
  bytes[100] = '\0';
  bytes[200] = '\r';
  bytes[201] = '\n';
  bytes[300] = '\x1A';  // end of file in text mode: must not stop a binary copy
  host_.Write("src.bin", bytes);
  EXPECT_EQ(host::CopyFileContents(host_.Path("dst.bin"), host_.Path("src.bin")), 1);
  EXPECT_EQ(host_.Read("dst.bin"), bytes);

  host_.Write("empty.bin", "");
  host_.Write("full.bin", "something");
  EXPECT_EQ(host::CopyFileContents(host_.Path("full.bin"), host_.Path("empty.bin")), 1);
  EXPECT_TRUE(host_.Exists("full.bin"));
  EXPECT_EQ(host_.Read("full.bin"), "");

  host_.Write("keep.bin", "untouched");
  EXPECT_EQ(host::CopyFileContents(host_.Path("keep.bin"), host_.Path("missing.bin")), 0);
  EXPECT_EQ(host_.Read("keep.bin"), "untouched");
  EXPECT_EQ(host::CopyFileContents(host_.Path("new.bin"), host_.Path("missing.bin")), 0);
  EXPECT_FALSE(host_.Exists("new.bin"));
  EXPECT_EQ(host::CopyFileContents(host_.Path("no\\such\\folder.bin"), host_.Path("src.bin")),
            0);

  const platform::FaultKind kinds[] = {platform::kFaultCreate, platform::kFaultWrite,
                                       platform::kFaultClose, platform::kFaultRename};
  for (platform::FaultKind kind : kinds) {
    platform::PlanFault(kind, 1);
    EXPECT_EQ(host::CopyFileContents(host_.Path("keep.bin"), host_.Path("src.bin")), 0) << kind;
    platform::ClearFaults();
    EXPECT_EQ(host_.Read("keep.bin"), "untouched") << kind;
  }
  EXPECT_EQ(host_.List(), (std::vector<std::string>{"dst.bin", "empty.bin", "full.bin",
                                                    "keep.bin", "src.bin"}));
  EXPECT_TRUE(messages_.messages().empty());
}

}  // namespace
