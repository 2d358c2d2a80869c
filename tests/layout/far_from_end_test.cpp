// Records far from the end of the file are read without a bounds test per
// field: such a record loads, fails and tells of it as one near the end does.
#include <gtest/gtest.h>

#include "host/installation.h"
#include "app/installation_seams.h"
#include "layout/layout.h"
#include "layout/layout_bytes.h"
#include "support/test_support.h"

namespace {

using namespace layout_bytes;
using Lines = std::vector<std::string>;

// Many records of every track type, 255-byte names, then the damage.
struct FarFromEnd : testing::Test {
  int Load(const std::string& bytes) {
    return layout.LoadFromBytes(bytes, app::DataSheets(host::InstallationAt(install.windows())));
  }
  testing_support::TempDir install;
  layout::Layout layout;
  testing_support::MessageRecorder messages;
  testing_support::DiagnosticRecorder diagnostics;
};

std::vector<Track> ManyTracks() {
  std::vector<Track> tracks;
  for (int i = 0; i < 60; ++i) {
    Track t;
    static const int kTypes[] = {1, 2, 3, 4, 6, 7, 8, 9, 11};
    t.id = i + 1, t.type = kTypes[i % 9], t.variant = t.type >= 6 && t.type != 11 ? 5 : 0, t.ends = 2 + i % 19;
    t.name = std::string(i % 2 ? 255 : 3, static_cast<char>('a' + i % 26)), t.gbo = "GBO\\G" + std::to_string(i);
    for (int e = 0; e < 20; ++e) t.link[e] = e % 2 ? 0 : i + e, t.linkEnd[e] = e;
    tracks.push_back(t);
  }
  return tracks;
}

TEST_F(FarFromEnd, ALoadedFileSavesToItsOwnBytes) {
  std::vector<Model> models(40);
  std::vector<Unit> units(40);
  for (std::size_t i = 0; i < models.size(); ++i)
    models[i].id = static_cast<int>(i) + 1, models[i].name = std::string(i * 6, 'm');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i].id = static_cast<int>(i) + 1, units[i].second = std::string(i * 6, 's');
  const std::string bytes = File(ManyTracks(), models, units);
  ASSERT_EQ(Load(bytes), 1);
  std::string saved;
  ASSERT_EQ(layout.Serialize(&saved), 1);
  EXPECT_EQ(saved, bytes);
}

TEST_F(FarFromEnd, AFailingRecordTellsOnceWhatFailed) {
  std::vector<Track> tracks = ManyTracks();
  const std::string good = File(tracks, {}, {});
  // The check id of the first track (id 1, name "aaa") and its type, each damaged alone: the
  // type follows the id and the name, which the check repeats after the track's places.
  const std::string idAndName = Bytes().I16(1).Str("aaa").data;
  const std::size_t typeAt = good.find(idAndName) + idAndName.size();
  const std::size_t checkId = good.find(idAndName, typeAt);
  ASSERT_NE(checkId, std::string::npos);
  struct Case {
    std::size_t at;
    std::string with;
    Lines messages, lines;
  };
  const Case cases[] = {
      {checkId, Bytes().I16(9).data, {"Gleis Nr. 1 fehlerhaft!\n"}, {"I: 9 S: 1\n"}},
      {checkId + 2, "\x04", {"Gleis Nr. 1 fehlerhaft!\n"}, {}},
      {typeAt, Bytes().I32(5).data, {"aaa: Unbekannter Typ 5!\n", "Gleis Nr. 1 fehlerhaft!\n"}, {}},
  };
  for (const Case& c : cases) {
    std::string bytes = good;
    bytes.replace(c.at, c.with.size(), c.with);
    messages.clear();
    const auto mark = diagnostics.lines().size();
    EXPECT_EQ(Load(bytes), 0);
    EXPECT_EQ(messages.messages(), c.messages);
    EXPECT_EQ(Lines(diagnostics.lines().begin() + static_cast<long>(mark), diagnostics.lines().end()), c.lines);
    ASSERT_EQ(layout.tracks.size(), tracks.size());
    EXPECT_EQ(layout.tracks[0].id, 1);
    EXPECT_EQ(layout.tracks[1].id, 0);  // the records after the failing one are empty
  }
}

// A check name that differs only in its last byte, for each way names are
// compared (a word at a time, half words, bytes).
TEST_F(FarFromEnd, ACheckNameDifferingInItsLastByteFails) {
  std::vector<Unit> units(20);
  for (Unit& u : units) u.second = std::string(200, 's');
  for (const char* name : {"Qwertzuiopasdfgh9", "Qwertzu", "Qw"}) {
    Model m;
    m.id = 3, m.name = name;
    std::string bytes = File({}, {m}, units);
    bytes[bytes.rfind(name) + m.name.size() - 1] = '#';
    messages.clear();
    EXPECT_EQ(Load(bytes), 0);
    EXPECT_EQ(messages.messages(), Lines{"Modell Nr. 3 fehlerhaft!\n"}) << name;
  }
}

// A unit's extra data that leaves less than a whole record's bound behind is
// read with every bounds test, and still loads.
TEST_F(FarFromEnd, LongExtraDataNearTheEndStillLoads) {
  install.Write("Rollmaterial\\Datenbl\xE4tter\\Lok.txt", "[Zuvo]\nZusLen=3000");
  Unit lok;
  lok.id = 4, lok.name = "Lok.dll", lok.extra = std::string(3000, 'x');
  const std::string bytes = File({}, {}, {lok});
  ASSERT_EQ(Load(bytes), 1);
  EXPECT_EQ(layout.rollingStock[0].extraData.size(), 3000u);
  std::string saved;
  ASSERT_EQ(layout.Serialize(&saved), 1);
  EXPECT_EQ(saved, bytes);
}

}  // namespace
