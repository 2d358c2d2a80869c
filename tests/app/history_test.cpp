// What the handlers decide about a layout's history. (Faults while keeping a
// version, and a restore during a live run, are the end-to-end tests'.)
#include <functional>

#include "app/scripted_view.h"
#include "settings/history_index.h"

namespace {

using app_testing::AppTest;
using app_testing::Texts;

const char kAnl[] = "Anlagen\\Berg.anl", kDanl[] = "Anlagen\\Berg.danl";
const std::string kFolder = "Anlagen\\StartZUVO-Verlauf\\Berg", kIndex = kFolder + "\\Verlauf.txt";

std::string Layout(const char* model) {
  layout_bytes::Model m;
  m.name = model;
  return layout_bytes::File({}, {m}, {});
}

class HistoryTest : public AppTest {
 protected:
  // The pair on disk as given, loaded, and kept by a resave (which writes
  // the layout again).
  int Keep(const std::string& anl, const std::string& danl) {
    host.Write(kAnl, anl);
    host.Write(kDanl, danl);
    return Load(kAnl) ? dialog.Resave() : 0;
  }
  Texts Pair() const { return {host.Read(kAnl), host.Read(kDanl)}; }
  settings::HistoryIndex Index() const {
    settings::HistoryIndex index;
    std::string fault;
    EXPECT_EQ(settings::ParseHistoryIndex(host.Read(kIndex), &index, &fault), 1) << fault;
    return index;
  }
  std::string Stored(const settings::HistoryFile& file) const { return host.Read(kFolder + "\\" + file.content); }
};

TEST_F(HistoryTest, ARestoreBringsBackTheNewestOtherVersionAfterKeepingTodaysPair) {
  ASSERT_EQ(Keep(Layout("A"), "[KamSet Nord]\r\nPX1=1\r\n"), 1);
  ASSERT_EQ(Keep(Layout("A"), "[KamSet Nord]\r\nPX1=1\r\n"), 1);  // the same files: no second version
  ASSERT_EQ(Keep(Layout("B"), "[KamSet Nord]\r\nPX1=1\r\n"), 1);
  const Texts second = Pair();
  host.Write(kAnl, Layout("B"));  // today's files are those of the newest version: the one before is meant
  view.answers = {false};         // No changes nothing
  EXPECT_EQ(dialog.RestoreVersion(host.Path(kAnl), 0), 1);
  EXPECT_EQ(view.log.back().rfind("? Fassung 1 vom ", 0), 0u) << view.log.back();
  EXPECT_EQ(host.Read(kAnl), Layout("B"));
  host.Write(kAnl, Layout("C"));  // today's files, in no version yet
  const Texts today = Pair();
  settings::HistoryIndex index = Index();
  ASSERT_EQ(index.versions.size(), 2u);

  const std::string anl = host.Path(kAnl), indexFile = host.Path(kIndex);
  view.log.clear(), view.answers = {true};
  EXPECT_EQ(dialog.RestoreVersion(host.Path(kDanl), 0), 1);  // either file names the pair
  EXPECT_EQ(Pair(), second);
  EXPECT_EQ(view.log.at(1), "= Fassung 2 wiederhergestellt: " + anl + " (die Dateien davor: Fassung 3)");
  view.log.clear(), view.answers = {true};  // and undone: version 3 differs from today's files now
  EXPECT_EQ(dialog.RestoreVersion(anl, 0), 1);
  EXPECT_EQ(Pair(), today);
  // Today's files are those of version 2, but only the newest version counts as holding them already.
  EXPECT_EQ(view.log.at(1), "= Fassung 3 wiederhergestellt: " + anl + " (die Dateien davor: Fassung 4)");
  view.log.clear(), view.answers = {true};
  EXPECT_EQ(dialog.RestoreVersion(anl, 3), 1);  // the same files: nothing asked, nothing kept
  EXPECT_EQ(view.log, Texts{"= Fassung 3 gleicht den heutigen Dateien von " + anl + ": nichts zu tun."});
  EXPECT_EQ(Index().versions.size(), 4u);

  const std::string stored = kFolder + "\\" + index.versions[0].layout.content;
  const std::string damaged =
      "Fassung 1: " + host.Path(stored) + " fehlt oder ist besch\344digt, nichts wiederhergestellt!\n";
  const struct {
    int number;
    std::function<void()> damage;
    std::string message;
  } refused[] = {
      {7, [] {}, "Fassung 7 gibt es nicht im Verlauf " + indexFile + "!\n"},
      {1, [&] { host.Write(stored, Layout("Z")); }, damaged},  // the same size
      {1, [&] { host.Write(kIndex, "[StartZUVO-Verlauf]\r\nFormat=1\r\nFassungen=9\r\n"); },
       "Verlauf " + indexFile +
           " ist besch\344digt ([StartZUVO-Verlauf] Fassungen): StartZUVO \xE4ndert die Anlage "
           "nicht, solange er so ist.\n"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.message);
    r.damage();
    messages.clear(), view.log.clear(), view.answers = {true};
    const Texts files = host.List(kFolder);
    EXPECT_EQ(dialog.RestoreVersion(anl, r.number), 0);
    EXPECT_EQ(messages.messages(), Texts{r.message});
    EXPECT_TRUE(view.log.empty());
    EXPECT_EQ(Pair(), today);
    EXPECT_EQ(host.List(kFolder), files);
  }
  // A damaged index stops every command that would replace a file of the pair.
  ASSERT_EQ(Load(kAnl), 1);
  messages.clear(), view.answers = {true};
  EXPECT_EQ(dialog.OnRemoveMissingRealEstateClicked(), 0);
  EXPECT_EQ(dialog.Resave(), 0);
  EXPECT_EQ(messages.messages().size(), 2u);
  EXPECT_EQ(Pair(), today);
}

// The commands whose versions the end-to-end tests do not list keep the
// pair as it was first, named by the command.
TEST_F(HistoryTest, DeletingACameraSetAndRemovingRealEstateKeepThePairFirst) {
  using Handler = int (app::StartupDialog::*)();
  const std::pair<Handler, const char*> commands[] = {
      {&app::StartupDialog::OnDeleteCameraSetClicked, "delete-camera-set"},
      {&app::StartupDialog::OnRemoveMissingRealEstateClicked, "remove-missing real-estate"}};
  int n = 0;
  for (const auto& command : commands) {
    SCOPED_TRACE(command.second);
    host.Write(kAnl, Layout(command.second));
    host.Write(kDanl, "[KamSet Nord]\r\nPX1=" + std::to_string(++n) + "\r\n");
    const Texts before = Pair();
    ASSERT_EQ(Load(kAnl), 1);
    view.controls.m_cameraSet = "Nord", view.answers = {true};
    EXPECT_EQ((dialog.*command.first)(), 1);
    const settings::HistoryVersion newest = Index().versions.back();
    EXPECT_EQ((std::vector<std::string>{newest.command, Stored(newest.layout), Stored(newest.settings)}),
              (std::vector<std::string>{command.second, before[0], before[1]}));
  }
}

TEST_F(HistoryTest, AFailedLoadHintsAtTheHistory) {
  ASSERT_EQ(Keep(Layout("A"), ""), 1);
  host.Write(kAnl, "kaputt");
  view.log.clear();
  EXPECT_EQ(Load(kAnl), 0);
  const std::string anl = host.Path(kAnl);
  EXPECT_EQ(view.log, Texts{"hint Fr\xFChere Fassungen liegen im Verlauf: \"zuvo history " + anl +
                            "\" zeigt sie, "
                            "\"zuvo restore " +
                            anl + "\" holt die neueste andere zur\374ck."});
  host.Write("Anlagen\\Ost.anl", "kaputt");  // no history: no hint
  view.log.clear();
  EXPECT_EQ(Load("Anlagen\\Ost.anl"), 0);
  EXPECT_TRUE(view.log.empty());
}

}  // namespace
