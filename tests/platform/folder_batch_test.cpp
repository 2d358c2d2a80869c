// Folder batches on real files, natively and under wine (failures at each
// step: the end-to-end tests); on Linux also against planted links.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/faults.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using Names = std::vector<std::string>;
using platform::SaveOutcome;

class FolderBatchTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::ClearFaults(); }
  // Writes each name with "neu " + name; true when all were written.
  bool WriteAll(platform::FolderBatch* batch, const Names& names) {
    bool all = true;
    for (const std::string& name : names) {
      const std::string bytes = "neu " + name;
      all = platform::WriteBatchFile(batch, name, bytes.data(), bytes.size()) == SaveOutcome::kSaved && all;
    }
    return all;
  }
  // The old folder: three files of an earlier batch.
  void WriteOld() {
    for (const char* name : {"a.mod", "B.mod", "alt.mod"}) dir_.Write(std::string("Modelle/Nord/") + name, "alt");
  }
  std::string Contents(const Names& names) {
    std::string all;
    for (const std::string& name : names) all += dir_.Read("Modelle/Nord/" + name) + ";";
    return all;
  }
  testing_support::TempDir dir_;
  const std::string target_ = dir_.Path("Modelle\\Nord");
};

// (That a new folder appears with all its files at once: the terrain end-to-end tests.)
TEST_F(FolderBatchTest, ANewFolderTakesEachNameOnceAndItsFailedRenameLeavesNothing) {
  dir_.MakeDirs("Modelle");
  platform::FolderBatch batch;
  ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
  ASSERT_TRUE(WriteAll(&batch, {"x.mod"}));
  EXPECT_NE(platform::WriteBatchFile(&batch, "x.mod", "2", 1), SaveOutcome::kSaved);
  EXPECT_NE(platform::WriteBatchFile(&batch, "..\\x.mod", "2", 1), SaveOutcome::kSaved);
  platform::PlanFault(platform::kFaultRename, 1);
  EXPECT_EQ(platform::FinishFolderBatch(&batch), SaveOutcome::kWriteFailed);
  platform::AbandonFolderBatch(&batch);
  EXPECT_EQ(dir_.List("Modelle"), Names());
}

// With enough files to be moved by several threads at once.
TEST_F(FolderBatchTest, AnExistingFolderCarriesTheMarkerOnlyWhileItChanges) {
  WriteOld();
  Names many = {"B.mod", "a.mod", "alt.mod", "c.mod"};
  for (int k = 100; k < 400; ++k) many.push_back("t" + std::to_string(k) + ".mod");
  for (int k = 4; k < 304; k += 2) dir_.Write("Modelle/Nord/" + many[k], "alt");
  platform::FolderBatch batch;
  ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
  EXPECT_TRUE(batch.replacing);
  EXPECT_EQ(dir_.List("Modelle/Nord")[0], ".zuvo-unvollstaendig");  // the marker first, before anything changes
  EXPECT_EQ(platform::HoldsIncompleteMarker(target_), 1);
  ASSERT_TRUE(WriteAll(&batch, {"a.mod", "b.mod", "c.mod"}));  // b.mod is B.mod, ignoring case
  ASSERT_TRUE(WriteAll(&batch, Names(many.begin() + 4, many.end())));
  EXPECT_EQ(Contents({"a.mod", "B.mod", "alt.mod"}), "alt;alt;alt;");
  ASSERT_EQ(platform::FinishFolderBatch(&batch), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.List("Modelle"), Names({"Nord"}));
  EXPECT_EQ(dir_.List("Modelle/Nord"), many);  // no marker
  EXPECT_EQ(platform::HoldsIncompleteMarker(target_), 0);
  std::string expected = "neu b.mod;neu a.mod;alt;neu c.mod;";
  for (std::size_t k = 4; k < many.size(); ++k) expected += "neu " + many[k] + ";";
  EXPECT_EQ(Contents(many), expected);
}

// Abandoned by its end, with the marker an earlier batch left.
TEST_F(FolderBatchTest, AnAbandonedBatchLeavesTheFolderAsItWas) {
  WriteOld();
  dir_.Write("Modelle/Nord/.zuvo-unvollstaendig", "");
  const Names before = dir_.List("Modelle/Nord");
  {
    platform::FolderBatch batch;
    ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
    ASSERT_TRUE(WriteAll(&batch, {"a.mod", "c.mod"}));
  }
  EXPECT_EQ(dir_.List("Modelle/Nord"), before);
  EXPECT_EQ(dir_.Read("Modelle/Nord/a.mod"), "alt");
}

TEST_F(FolderBatchTest, WhatIsInTheWayIsRefused) {
  dir_.Write("Modelle/Datei", "eine Datei");
  dir_.Write("Modelle/" + platform::BatchFolderName("Weg"), "eine Datei");
  dir_.Write("Modelle/Nord/a.mod", "alt");
  dir_.MakeDirs("Modelle/Nord/b.mod");
  const struct {
    std::string target, within;  // within: the folder it must stay in
    platform::SaveOutcome outcome;
  } cases[] = {
      {"Modelle\\Datei", "", SaveOutcome::kReadOnly},
      {"Modelle\\Weg", "", SaveOutcome::kCannotCreate},
      {"Fehlt\\Nord", "", SaveOutcome::kCannotCreate},
      {"Modelle\\Nord", "Anlagen", SaveOutcome::kOutside},
  };
  for (const auto& c : cases) {
    platform::FolderBatch batch;
    EXPECT_EQ(platform::BeginFolderBatch(dir_.Path(c.target), dir_.Path(c.within), &batch), c.outcome) << c.target;
  }
  platform::FolderBatch batch;
  ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
  EXPECT_EQ(platform::WriteBatchFile(&batch, "B.MOD", "1", 1), SaveOutcome::kReadOnly);  // a folder
  platform::AbandonFolderBatch(&batch);
  EXPECT_EQ(dir_.List("Modelle"), Names({platform::BatchFolderName("Weg"), "Datei", "Nord"}));
  EXPECT_EQ(dir_.List("Modelle/Nord"), Names({"a.mod", "b.mod"}));
}

#ifndef _WIN32
struct stat StatOf(const std::string& path) {
  struct stat st = {};
  lstat(path.c_str(), &st);
  return st;
}

TEST(FolderBatchPosixTest, ALinkWhereTheBatchWritesIsNeverFollowedOutside) {
  const struct {
    std::string link;  // below Sim/Modelle
    std::string to;    // below the test folder
    SaveOutcome begun, written;
  } cases[] = {
      {platform::BatchFolderName("Nord"), "aussen", SaveOutcome::kOutside, SaveOutcome::kSaved},
      {std::string("Nord/") + platform::kIncompleteMarker, "aussen/opfer.txt", SaveOutcome::kOutside,
       SaveOutcome::kSaved},
      {"Nord", "aussen", SaveOutcome::kOutside, SaveOutcome::kSaved},
      {"Nord", "fehlt", SaveOutcome::kOutside, SaveOutcome::kSaved},  // leads nowhere
      {"Nord/a.mod", "aussen/opfer.txt", SaveOutcome::kSaved, SaveOutcome::kOutside},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link + " -> " + c.to);
    testing_support::TempDir dir;
    dir.Write("aussen/opfer.txt", "Opfer");
    dir.Write("Sim/Modelle/Sued/x.mod", "alt");
    if (c.link != "Nord") dir.MakeDirs("Sim/Modelle/Nord");
    if (c.link != "Nord" && c.link != "Nord/a.mod") dir.Write("Sim/Modelle/Nord/a.mod", "alt");
    const std::string link = dir.NativePath("Sim/Modelle/" + c.link);
    ASSERT_EQ(symlink(dir.NativePath(c.to).c_str(), link.c_str()), 0);
    const Names models = dir.List("Sim/Modelle"), nord = dir.List("Sim/Modelle/Nord");
    {
      platform::FolderBatch batch;
      ASSERT_EQ(platform::BeginFolderBatch(dir.Path("Sim\\Modelle\\Nord"), dir.Path("Sim"), &batch), c.begun);
      if (c.begun == SaveOutcome::kSaved) {
        EXPECT_EQ(platform::WriteBatchFile(&batch, "a.mod", "neu", 3), c.written);
      }
    }
    EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode)) << "the link stays";
    EXPECT_EQ(dir.Read("aussen/opfer.txt") + dir.Read("Sim/Modelle/Sued/x.mod"), "Opferalt");
    EXPECT_EQ(dir.List("aussen"), Names({"opfer.txt"}));
    EXPECT_EQ(dir.List("Sim/Modelle"), models);
    EXPECT_TRUE(c.link == "Nord" || dir.List("Sim/Modelle/Nord") == nord);
  }
}

TEST(FolderBatchPosixTest, ALinkToAFolderInsideIsFollowedAndReplacedFilesKeepTheirPermissions) {
  testing_support::TempDir dir;
  dir.Write("Sim/Modelle/Echt/a.mod", "alt");
  dir.Write("Sim/Modelle/Echt/r.mod", "alt");
  ASSERT_EQ(chmod(dir.NativePath("Sim/Modelle/Echt/a.mod").c_str(), 0640), 0);
  ASSERT_EQ(chmod(dir.NativePath("Sim/Modelle/Echt/r.mod").c_str(), 0444), 0);
  ASSERT_EQ(symlink("Echt", dir.NativePath("Sim/Modelle/Nord").c_str()), 0);
  platform::FolderBatch batch;
  ASSERT_EQ(platform::BeginFolderBatch(dir.Path("Sim\\Modelle\\Nord"), dir.Path("Sim"), &batch), SaveOutcome::kSaved);
  EXPECT_TRUE(batch.replacing);
  EXPECT_EQ(platform::WriteBatchFile(&batch, "r.mod", "neu", 3), SaveOutcome::kReadOnly);
  ASSERT_EQ(platform::WriteBatchFile(&batch, "a.mod", "neu", 3), SaveOutcome::kSaved);
  ASSERT_EQ(platform::FinishFolderBatch(&batch), SaveOutcome::kSaved);
  EXPECT_TRUE(S_ISLNK(StatOf(dir.NativePath("Sim/Modelle/Nord")).st_mode));
  EXPECT_EQ(dir.Read("Sim/Modelle/Echt/a.mod") + dir.Read("Sim/Modelle/Echt/r.mod"), "neualt");
  EXPECT_EQ(StatOf(dir.NativePath("Sim/Modelle/Echt/a.mod")).st_mode & 07777, 0640u);
}
#endif

}  // namespace
