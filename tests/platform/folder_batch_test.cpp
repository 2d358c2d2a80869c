// Folder batches on real files, natively on Linux and as a Windows program
// under wine: a new folder appears whole or not at all; an existing one gets
// every file at once, carries the marker while it changes, and is left as it
// was by a batch that is abandoned.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/faults.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {

using Names = std::vector<std::string>;
using platform::SaveOutcome;

const std::string kTemp = ".zuvo-neu-Nord";

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

TEST_F(FolderBatchTest, ANewFolderAppearsWithAllItsFilesAtOnce) {
  dir_.MakeDirs("Modelle");
  platform::FolderBatch batch;
  ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
  ASSERT_TRUE(WriteAll(&batch, {"a.mod"}));
  platform::PlanFault(platform::kFaultRename, 1);  // its rename failing leaves nothing
  EXPECT_EQ(platform::FinishFolderBatch(&batch), SaveOutcome::kWriteFailed);
  platform::ClearFaults();
  platform::AbandonFolderBatch(&batch);
  EXPECT_EQ(dir_.List("Modelle"), Names());
  ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
  EXPECT_FALSE(batch.replacing);
  ASSERT_TRUE(WriteAll(&batch, {"x.mod", "y.mod"}));
  const std::string big(300000, '\x81');  // beyond one write
  ASSERT_EQ(platform::WriteBatchFile(&batch, "z.mod", big.data(), big.size()), SaveOutcome::kSaved);
  // Nothing in place before the end; the same name twice is refused.
  EXPECT_EQ(dir_.List("Modelle"), Names({kTemp}));
  EXPECT_NE(platform::WriteBatchFile(&batch, "x.mod", "2", 1), SaveOutcome::kSaved);
  EXPECT_NE(platform::WriteBatchFile(&batch, "..\\x.mod", "2", 1), SaveOutcome::kSaved);
  ASSERT_EQ(platform::FinishFolderBatch(&batch), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.List("Modelle"), Names({"Nord"}));
  EXPECT_EQ(dir_.List("Modelle/Nord"), Names({"x.mod", "y.mod", "z.mod"}));
  EXPECT_EQ(Contents({"x.mod", "y.mod"}), "neu x.mod;neu y.mod;");
  EXPECT_TRUE(dir_.Read("Modelle/Nord/z.mod") == big);
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
  Names listed;
  for (const auto& entry : batch.targetEntries) {
    EXPECT_EQ(entry.second, platform::kPathFile) << entry.first;
    listed.push_back(entry.first);
  }
  std::sort(listed.begin(), listed.end());
  const Names marked = dir_.List("Modelle/Nord");  // the marker first, before anything changes
  EXPECT_EQ(marked[0], ".zuvo-unvollstaendig");
  EXPECT_EQ(listed, Names(marked.begin() + 1, marked.end()));
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

TEST_F(FolderBatchTest, AnAbandonedBatchLeavesTheFolderAsItWas) {
  // Abandoned by hand, by its end, after a failed write; then with a marker
  // that an earlier batch left, which stays.
  const struct {
    platform::FaultKind fault;  // kFaultKindCount: none
    bool byDestructor, earlierMarker;
  } cases[] = {
      {platform::kFaultKindCount, false, false}, {platform::kFaultKindCount, true, false},
      {platform::kFaultWrite, false, false},     {platform::kFaultClose, false, false},
      {platform::kFaultKindCount, false, true},  {platform::kFaultCreate, false, true},
  };
  WriteOld();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(&c - cases));
    if (c.earlierMarker) dir_.Write("Modelle/Nord/.zuvo-unvollstaendig", "");
    const Names before = dir_.List("Modelle/Nord");
    {
      platform::FolderBatch batch;
      ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
      EXPECT_EQ(platform::WriteBatchFile(&batch, "a.mod", "1", 1), SaveOutcome::kSaved);
      if (c.fault != platform::kFaultKindCount) platform::PlanFault(c.fault, 1);
      EXPECT_EQ(platform::WriteBatchFile(&batch, "c.mod", "2", 1) == SaveOutcome::kSaved,
                c.fault == platform::kFaultKindCount);
      platform::ClearFaults();
      EXPECT_TRUE(dir_.Exists("Modelle/Nord/.zuvo-unvollstaendig"));
      if (!c.byDestructor) platform::AbandonFolderBatch(&batch);
    }
    EXPECT_EQ(dir_.List("Modelle"), Names({"Nord"}));
    EXPECT_EQ(dir_.List("Modelle/Nord"), before);
    EXPECT_EQ(dir_.Read("Modelle/Nord/a.mod"), "alt");
  }
}

TEST_F(FolderBatchTest, AMoveCutOffLeavesEveryFileWholeAndTheMarker) {
  // The nth move fails: the files before it are new, the rest old, and the
  // folder stays marked.
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    testing_support::TempDir dir;
    for (const char* name : {"a.mod", "b.mod"}) dir.Write(std::string("Modelle/Nord/") + name, "alt");
    platform::FolderBatch batch;
    ASSERT_EQ(platform::BeginFolderBatch(dir.Path("Modelle\\Nord"), dir.Path(""), &batch), SaveOutcome::kSaved);
    ASSERT_TRUE(WriteAll(&batch, {"a.mod", "b.mod"}));
    platform::PlanFault(platform::kFaultRename, n);
    std::string failed = "x";
    const SaveOutcome finished = platform::FinishFolderBatch(&batch, &failed);
    platform::ClearFaults();
    platform::AbandonFolderBatch(&batch);
    EXPECT_EQ(dir.List("Modelle"), Names({"Nord"}));
    // Marked only when old and new files are mixed; there is no third move.
    const char* const expected[] = {"a.mod|alt;alt", "b.mod|neu a.mod;alt|marked", "|neu a.mod;neu b.mod"};
    EXPECT_EQ(failed + "|" + dir.Read("Modelle/Nord/a.mod") + ";" + dir.Read("Modelle/Nord/b.mod") +
                  (dir.Exists("Modelle/Nord/.zuvo-unvollstaendig") ? "|marked" : ""),
              expected[n - 1]);
    EXPECT_EQ(finished == SaveOutcome::kSaved, n == 3);
  }
}

TEST_F(FolderBatchTest, TheMarkerRemovedLastAndATemporaryFolderLeftBehindIsReused) {
  // A failure after the last move keeps the marker: the folder is complete,
  // but that is never claimed without the removal that says so.
  WriteOld();
  {
    platform::FolderBatch batch;
    ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
    ASSERT_TRUE(WriteAll(&batch, {"a.mod"}));
    platform::PlanFault(platform::kFaultRemove, 2);  // the temporary folder goes first, then the marker
    EXPECT_EQ(platform::FinishFolderBatch(&batch), SaveOutcome::kWriteFailed);
    platform::ClearFaults();
  }
  EXPECT_EQ(dir_.List("Modelle"), Names({"Nord"}));
  EXPECT_TRUE(dir_.Exists("Modelle/Nord/.zuvo-unvollstaendig"));
  // A killed batch's temporary folder, with a half-written file in it.
  dir_.Write("Modelle/" + kTemp + "/a.mod", "halb");
  dir_.Write("Modelle/" + kTemp + "/z.mod", "halb");
  platform::FolderBatch batch;
  ASSERT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.List("Modelle/" + kTemp), Names());
  ASSERT_TRUE(WriteAll(&batch, {"a.mod"}));
  ASSERT_EQ(platform::FinishFolderBatch(&batch), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.List("Modelle"), Names({"Nord"}));
  EXPECT_EQ(dir_.List("Modelle/Nord"), Names({"B.mod", "a.mod", "alt.mod"}));
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
  platform::PlanFault(platform::kFaultMkdir, 1);  // a start that fails leaves nothing behind
  EXPECT_EQ(platform::BeginFolderBatch(target_, dir_.Path(""), &batch), SaveOutcome::kCannotCreate);
  platform::ClearFaults();
  EXPECT_EQ(dir_.List("Modelle"), Names({platform::BatchFolderName("Weg"), "Datei", "Nord"}));
  EXPECT_EQ(dir_.List("Modelle/Nord"), Names({"a.mod", "b.mod"}));
}

}  // namespace
