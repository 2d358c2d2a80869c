// Changes confined to a folder against links planted as a stranger's archive
// brings them: natively, and under wine with links of the Linux side.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/held_file.h"
#include "platform/platform.h"
#include "platform/test_processes.h"
#include "support/test_support.h"

namespace {

using platform::SaveOutcome;

class ConfineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!platform_test::CanPlantLinks()) GTEST_SKIP() << "links cannot be planted on this system";
    dir_.Write("inst/a.txt", "A");
    dir_.Write("inst/sub/s.txt", "S");
    dir_.Write("out/o.txt", "O");
    dir_.MakeDirs("inst2");
    for (const auto& link : kLinks) platform_test::PlantLink(link.second, dir_.Path(link.first));
  }
  void TearDown() override {
    for (const auto& link : kLinks) platform_test::RemoveLink(dir_.Path(link.first));
    for (const char* moved : {"inst/moved.txt", "inst/work"}) platform_test::RemoveLink(dir_.Path(moved));
  }
  std::string In(const std::string& name) const { return dir_.Path("inst/" + name); }
  // Every file outside, with its bytes.
  std::string Outside() const {
    std::string all;
    for (const std::string& name : dir_.List("out")) all += name + "=" + dir_.Read("out/" + name) + ";";
    return all;
  }

  const std::vector<std::pair<std::string, std::string>> kLinks = {
      {"inst/toOut.txt", "../out/o.txt"},  // a file link out
      {"inst/toIn.txt", "a.txt"},          // a file link in
      {"inst/outDir", "../out"},           // a folder link out
      {"inst/inDir", "sub"},               // a folder link in
      {"inst/twin", "../inst2"},           // out to a folder whose name begins alike
  };
  testing_support::TempDir dir_;
};

TEST_F(ConfineTest, NoChangeFollowsALinkOut) {
  const std::string within = dir_.Path("inst");
  const bool wine = platform::ThisSystem() == platform::SystemKind::kWine;
  const auto replace = [&](const std::string& path) {
    return [=] { return int(platform::ReplaceFile(path, "X", 1, within)); };
  };
  // A rename refused as one outside gives -1.
  const auto rename = [&](const std::string& from, const std::string& to) {
    return [=] {
      bool outside = false;
      const int renamed = platform::RenameFile(from, to, within, &outside);
      return outside ? -1 : renamed;
    };
  };
  const auto hold = [&](const std::string& path) {
    return [=] {
      platform::HeldFile held;
      return int(platform::HoldFile(path, within, &held));
    };
  };
  const struct {
    const char* what;
    std::function<int()> change;
    int expected;
  } cases[] = {
      {"replace through a file link out", replace(In("toOut.txt")), int(SaveOutcome::kOutside)},
      {"replace in a folder link out", replace(In("outDir\\o.txt")), int(SaveOutcome::kOutside)},
      {"new file in a folder link out", replace(In("outDir\\n.txt")), int(SaveOutcome::kOutside)},
      {"new file in a folder named alike", replace(In("twin\\n.txt")), int(SaveOutcome::kOutside)},
      {"replace outside", replace(dir_.Path("out\\o.txt")), int(SaveOutcome::kOutside)},
      {"rename from a folder link out", rename(In("outDir\\o.txt"), In("o.txt")), -1},
      {"rename into a folder link out", rename(In("a.txt"), In("outDir\\a.txt")), -1},
      {"rename of a missing file", rename(In("fehlt.txt"), In("b.txt")), 0},
      {"hold a file link out", hold(In("toOut.txt")), int(platform::HoldOutcome::kOutside)},
      // A link is renamed itself (wine would rename what it names, so there it stays).
      {"rename a file link out", [&] { return platform::RenameFile(In("toOut.txt"), In("moved.txt"), within); },
       wine ? 0 : 1},
      {"remove in a folder link out", [&] { return platform::RemoveFile(In("outDir\\o.txt"), within); }, 0},
      {"remove a file link out",
       [&] { return platform::RemoveFile(In("moved.txt"), within) + platform::RemoveFile(In("toOut.txt"), within); },
       wine ? 0 : 1},
      {"folder in a folder link out", [&] { return platform::MakeDirectory(In("outDir\\neu"), within); }, 0},
      {"held file in a folder link out",
       [&] {
         platform::HeldFile held;
         return int(platform::CreateHeldFile(In("outDir\\j.txt"), "J", within, &held));
       },
       int(platform::HoldOutcome::kOutside)},
      {"hold in a folder link out", hold(In("outDir\\o.txt")), int(platform::HoldOutcome::kOutside)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.change(), c.expected) << c.what;
    EXPECT_EQ(Outside(), "o.txt=O;") << c.what;
  }
  EXPECT_TRUE(dir_.List("inst2").empty());
}

TEST_F(ConfineTest, LinksInsideAreFollowedAndTheFolderItselfIsInside) {
  const std::string within = dir_.Path("inst");
  EXPECT_EQ(platform::ReplaceFile(In("toIn.txt"), "A2", 2, within), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("inst/a.txt"), "A2");  // the file it names, and the link stays
  EXPECT_EQ(dir_.Read("inst/toIn.txt"), "A2");
  EXPECT_EQ(platform::ReplaceFile(In("inDir\\s.txt"), "S2", 2, within), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("inst/sub/s.txt"), "S2");
  EXPECT_EQ(platform::ReplaceFile(In("neu.txt"), "N", 1, within), SaveOutcome::kSaved);
  EXPECT_EQ(platform::RenameFile(In("inDir\\s.txt"), In("s.txt"), within), 1);
  EXPECT_EQ(platform::RenameFile(In("s.txt"), In("inDir\\s.txt"), within), 1);
  EXPECT_EQ(platform::MakeDirectory(In("inDir\\neu"), within), 1);
  EXPECT_EQ(platform::MakeDirectory(In("neu"), within), 1);
  EXPECT_EQ(platform::RemoveFile(In("neu.txt"), within), 1);
  platform::HeldFile held;
  EXPECT_EQ(platform::CreateHeldFile(In("inDir\\j.txt"), "J", within, &held), platform::HoldOutcome::kHeld);
  EXPECT_EQ(platform::RemoveHeldFile(&held), 1);
  EXPECT_EQ(dir_.List("inst/sub"), (std::vector<std::string>{"neu", "s.txt"}));
  // A folder named as within, in other words, is inside as well.
  EXPECT_EQ(platform::ReplaceFile(In("b.txt"), "B", 1, dir_.Path("inst\\.\\sub\\..")), SaveOutcome::kSaved);
  // Without a folder to stay in, what the user named himself is written.
  EXPECT_EQ(platform::ReplaceFile(In("outDir\\frei.txt"), "F", 1, ""), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("out/frei.txt"), "F");
  EXPECT_EQ(platform::ReplaceFile(In("toOut.txt"), "F", 1, ""), SaveOutcome::kSaved);
  EXPECT_EQ(dir_.Read("out/o.txt"), "F");
}

// Whatever an earlier look said: the change itself refuses a folder that is
// a link out by the time it happens.
TEST_F(ConfineTest, AFolderSwappedForALinkAfterALookIsRefused) {
  const std::string within = dir_.Path("inst");
  dir_.Write("inst/work/w.txt", "W");
  const std::string looked = platform::RealPathOf(In("work\\w.txt"));
  ASSERT_FALSE(looked.empty());
  ASSERT_EQ(platform::RenameFile(In("work"), In("work.weg"), within), 1);
  platform_test::PlantLink("../out", In("work"));
  dir_.Write("out/w.txt", "fremd");
  bool outside = false;
  EXPECT_EQ(platform::RenameFile(In("work\\w.txt"), In("work\\w.sav"), within, &outside), 0);
  EXPECT_TRUE(outside);
  EXPECT_EQ(platform::ReplaceFile(In("work\\w.txt"), "X", 1, within), SaveOutcome::kOutside);
  EXPECT_EQ(platform::RemoveFile(In("work\\w.txt"), within), 0);
  EXPECT_EQ(Outside(), "o.txt=O;w.txt=fremd;");  // (the link goes with the other links)
}

}  // namespace
