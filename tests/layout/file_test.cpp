// The layout file: every refusal with its messages, every field read into
// its place, and the byte-exact save with its safe writing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/installation.h"
#include "layout/data_sheet.h"
#include "layout/layout.h"
#include "layout/layout_bytes.h"
#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using layout::Layout;
using layout_bytes::Bytes;
using layout_bytes::File;
using layout_bytes::Model;
using layout_bytes::Tail;
using layout_bytes::Track;
using layout_bytes::Unit;
using Messages = std::vector<std::string>;

std::string Patched(std::string bytes, std::size_t offset, const std::string& with) {
  return bytes.replace(offset, with.size(), with);
}
std::string Le16(int v) { return Bytes().I16(v).data; }
std::string Le32(std::uint32_t v) { return Bytes().U32(v).data; }
std::string LeReal(float f) { return Bytes().F32(f).data; }

// Every test runs with an installation of its own (for data sheets).
class LayoutFileTest : public testing::Test {
 protected:
  void SetUp() override { host::SetHostDirectoryOverride(install_.windows()); }
  void TearDown() override {
    platform::ClearFaults();
    host::SetHostDirectoryOverride("");
    host::ResetHostDirectoryCache();
  }
  int Load(const std::string& bytes) { return layout_.LoadFromBytes(bytes, layout::HostDataSheets()); }
  void DataSheet(const std::string& unit, const std::string& zusLen) {
    install_.Write("Rollmaterial\\Datenbl\xE4tter\\" + unit + ".txt", "[Zuvo]\r\nZusLen=" + zusLen + "\r\n");
  }

  testing_support::TempDir install_;
  testing_support::TempDir dir_;
  Layout layout_;
  testing_support::MessageRecorder messages_;
  testing_support::DiagnosticRecorder diagnostics_;
};

// Every type with every field set; the type-1 piece carries a bridge at
// (100,493,6) and the type-2 piece a buffer stop at (200,693,8).
std::vector<Track> EveryTrackType() {
  std::vector<Track> tracks;
  int id = 1;
  for (int type : {1, 2, 3, 4, 6, 7, 8, 9, 11, 11, 11, 11}) {
    Track t;
    t.id = id++, t.name = "Typ " + std::to_string(type), t.type = type, t.variant = type >= 6 ? -type : 0;
    t.dir[0] = 0.0f, t.dir[1] = 1.0f, t.dir[2] = -0.0f;
    t.start[0] = 100 * type, t.start[1] = -7, t.start[2] = 3;
    t.end[0] = 100 * type, t.end[1] = 993, t.end[2] = 8;
    t.ends = type == 11 ? 2 + 6 * (id - 10) : 2;  // 2, 8, 14, 20 ends
    for (int i = 0; i < 20; ++i) t.link[i] = type == 11 && i % 4 == 3 ? 0 : 1000 + i + type, t.linkEnd[i] = -i;
    t.third = 300 + type, t.fourth = 400 + type, t.gbo = std::string("GBO\\Halle\0x", 11), t.multi = -2.5f;
    t.groupA[0] = 0xFFFFFFFF, t.groupB[1] = 0x7FC00001, t.groupC[2] = 0x80000000;  // NaN bits carried
    tracks.push_back(t);
  }
  return tracks;
}

Model Bridge() {
  Model m;
  m.name = "..\\Bruecken\\Stein";
  m.pos[0] = 100, m.pos[1] = 493, m.pos[2] = 6;
  m.dir[0] = 0.0f, m.dir[1] = 1.0f, m.dir[2] = -0.0f;
  return m;
}

TEST_F(LayoutFileTest, LoadThenSaveGivesTheSameBytes) {
  std::string bytes;
  ASSERT_EQ(Layout().Serialize(&bytes), 1);
  EXPECT_EQ(bytes, std::string(198, '\0'));

  DataSheet("V200", "5");
  std::vector<Model> models(5, Bridge());
  models[1].id = 2, models[1].name = "..\\Prellbock\\Holz", models[1].dir[2] = 0.0f;
  models[1].pos[0] = 200, models[1].pos[1] = 693, models[1].pos[2] = 8;
  models[2].id = 2, models[2].name = std::string(255, 'M');  // a repeated id
  models[3].id = -9, models[3].name = "", models[3].values[0] = 0xFFFFFFFF;
  models[4].id = 32767, models[4].name = std::string("Null\0Byte", 9), models[4].dir[0] = 0.25f;
  std::vector<Unit> units(6);
  const int ids[] = {7, 3, 7, 30000, 32767, -1};  // a repeated id has no trailer of its own
  for (std::size_t i = 0; i < units.size(); ++i) {
    Unit& u = units[i];
    u.id = ids[i], u.trailerValue = 0xA0000000u + i, u.trailerByte = 0xB0 + int(i), u.trailerShort = -1000 - int(i);
    u.neighbourA = 3, u.neighbourAByte = 0xFF, u.neighbourBByte = 1;
  }
  units[0].name = "Loks\\V200.DLL", units[0].extra = std::string("\x00\xFF\x10\x00\x7F", 5);
  units[1].name = "Loks\\Leer.dll";  // no data sheet: no extra data
  units[2].name = "V200.dll", units[2].extra = "12345";
  units[5].second = "";
  layout_bytes::Tail tail;
  tail.cameras[0][0] = 0x3F800000, tail.cameras[4][7] = 47200, tail.colourA[0] = 0xFF, tail.colourB[2] = 0x80;
  for (int i = 0; i < 20; ++i) tail.block[static_cast<std::size_t>(i)] = static_cast<char>(i + 1);
  tail.value = 0x12345678;

  const std::string original = File(EveryTrackType(), models, units, tail);
  dir_.Write("a.anl", original);
  Layout l;  // the bridge and the buffer stop were linked, and stayed
  ASSERT_EQ(l.Load(dir_.Path("a.anl"), layout::HostDataSheets()), 1);
  EXPECT_EQ(l.tracks[0].linkedModel, 0);
  EXPECT_EQ(l.tracks[1].linkedModel, 1);
  ASSERT_EQ(l.Save(dir_.Path("a.anl")), 1);
  EXPECT_EQ(dir_.Read("a.anl"), original);
  EXPECT_TRUE(messages_.messages().empty());
}

// (Models placed and duplicates left out by a save: the resave end-to-end test.)
TEST_F(LayoutFileTest, TypesFollowTheRecordsAndRemovedRecordsAreLeftOut) {
  Track one;
  one.id = 4;
  Layout l;
  ASSERT_EQ(l.LoadFromBytes(File({one, one}, {Model(), Model()}, {Unit(), Unit()}), layout::HostDataSheets()), 1);
  l.tracks[0].variantValue = 9;  // a variant value turns a plain piece into type 7
  l.tracks[1].id = l.models[0].id = l.rollingStock[0].id = 0;
  l.models[1].name = "Anders";
  l.rollingStock[0].name = std::string(300, 'x');  // not written, so no harm
  std::string bytes;
  l.PrepareForSave();
  ASSERT_EQ(l.Serialize(&bytes), 1);
  Track seven = one;
  seven.type = 7, seven.variant = 9;
  Model other = Model();
  other.name = "Anders";
  EXPECT_EQ(bytes, File({seven}, {other}, {Unit()}));
  EXPECT_EQ(l.tracks[0].type, 7);
}

TEST_F(LayoutFileTest, WhatTheFileCannotHoldIsNeverWritten) {
  dir_.Write("a.anl", "old");
  for (int which = 0; which < 4; ++which) {
    Layout l;
    l.tracks.resize(1), l.models.resize(1), l.rollingStock.resize(1);
    l.tracks[0].id = l.models[0].id = l.rollingStock[0].id = 1;
    l.tracks[0].type = 6, l.tracks[0].endCount = 2;
    std::string* strings[] = {&l.tracks[0].name, &l.tracks[0].gboName, &l.models[0].name,
                              &l.rollingStock[0].secondName};
    *strings[which] = std::string(256, 'n');
    messages_.clear();
    EXPECT_EQ(l.Save(dir_.Path("a.anl")), 0);
    EXPECT_EQ(messages_.messages(), (Messages{"Fehler beim Schreiben von " + dir_.Path("a.anl") + "!\n"}));
    EXPECT_EQ(dir_.Read("a.anl"), "old");
  }
  // 32768 live records do not fit the 16-bit count.
  Layout many;
  many.models.resize(32768);
  for (std::size_t i = 0; i < many.models.size(); ++i) many.models[i].id = 1, many.models[i].position.y = int(i);
  std::string bytes;
  EXPECT_EQ(many.Serialize(&bytes), 0);
  many.models[0].id = 0;
  EXPECT_EQ(many.Serialize(&bytes), 1);
}

TEST_F(LayoutFileTest, DamagedOrHostileFilesAreRefusedWithTheirMessages) {
  const std::string empty = File({}, {}, {});
  // A type-1 track "G" with id 7: check id at 46, check name 48, check type 50, connection 0's zero16 at 58.
  Track g;
  g.id = 7, g.name = "G", g.link[0] = 3;
  const std::string track = File({g}, {}, {});
  Track eight = g;  // type 8: the repeated block G starts at 78
  eight.id = 8, eight.type = 8;
  // Type 11: the group C check, then the real and its check, then one int16.
  Track multi;
  multi.id = 9, multi.type = 11, multi.groupC[1] = 5, multi.multi = 0.5f;
  const std::string type11 = File({multi}, {}, {});
  const std::size_t realAt = type11.size() - 192 - 2 - 2 - 2 - 8;
  Model house;
  house.id = 4;
  const std::string models = File({Track()}, {house, house}, {Unit()});
  const std::size_t checkName = 2 + 74 + 2 + 2 + 5 + 12 + 12;
  // A unit with id 9: check id at 17, zero8 71, check name 72, check byte B 81.
  Unit unit;
  unit.id = 9, unit.byteB = 200;
  const std::string units = File({}, {}, {unit});
  Unit dll = unit, lok;
  dll.name = "Loks\\V200.DlL";
  lok.name = "Lok.dll";
  for (const std::string& good : {empty, track, File({eight}, {}, {}), type11, models, units}) ASSERT_EQ(Load(good), 1);
  DataSheet("Lok", "0");
  ASSERT_EQ(Load(File({}, {}, {lok})), 1);

  const Messages format = {"Formatfehler!\n"}, track7 = {"Gleis Nr. 7 fehlerhaft!\n"};
  const Messages track9 = {"Gleis Nr. 9 fehlerhaft!\n"}, unit9 = {"Rollmaterial Nr. 9 fehlerhaft!\n"};
  const Messages lokRefused = {"Dll-Modell \"Lok.dll\" kann nicht benutzt werden!\n"};
  struct Case {
    std::string what, bytes;
    Messages messages, diagnostics;
    std::string zusLen = "";  // the data sheet of "Lok.dll"
  };
  std::vector<Case> cases = {
      {"byte after the end", empty + '\0', {"Datei zu lang!\n"}, {}},
      {"last byte missing", empty.substr(0, empty.size() - 1), format, {}},
      {"nothing", "", format, {}},
      {"cut in the views", empty.substr(0, 100), format, {}},
      {"cut in the colours", empty.substr(0, empty.size() - 30), format, {}},
      {"block cut", empty.substr(0, empty.size() - 16), {"Feher in Eigenschaften!\n"}, {}},
      {"name past the end", Bytes().I16(1).I16(1).U8(200).Raw("abc").data, format, {}},
      {"check id", Patched(track, 46, Le16(-2)), track7, {"I: -2 S: 7\n"}},
      {"zero16", Patched(track, 58, Le16(3)), track7, {"I: 3 S: 0\n"}},
      {"check name text", Patched(track, 49, "H"), track7, {}},
      {"check name length", Patched(track, 48, "\x02"), track7, {}},
      {"check type", Patched(track, 50, Le32(2)), track7, {"I: 2 S: 1\n"}},
      {"real check", Patched(File({eight}, {}, {}), 78, LeReal(2.0f)), {"Gleis Nr. 8 fehlerhaft!\n"},
       {"I: 2.000000 S: 1.000000 Diff: 1.000000e+00\n"}},
      {"multi real check", Patched(type11, realAt + 4, LeReal(0.25f)), track9,
       {"I: 0.250000 S: 0.500000 Diff: -2.500000e-01\n"}},
      {"group check", Patched(type11, realAt - 8, Le32(0xFFFFFFFF)), track9, {"I: -1 S: 5\n"}},
      {"model check name", Patched(models, checkName + 1, "M"), {"Modell Nr. 4 fehlerhaft!\n"}, {}},
      {"unit check id", Patched(units, 17, Le16(10)), unit9, {"I: 10 S: 9\n"}},
      {"unit zero8", Patched(units, 71, "\x05"), unit9, {"I: 5 S: 0\n"}},
      {"unit byte B", Patched(units, 81, "\xC9"), unit9, {"I: 201 S: 200\n"}},
      {"unit check name", Patched(units, 73, "X"), unit9, {}},
      {"dll unit check id", Patched(File({}, {}, {dll}), 6 + 1 + dll.name.size() + 2, Le16(10)),
       {"Dll-Modell \"Loks\\V200.DlL\" kann nicht benutzt werden!\n"}, {"I: 10 S: 9\n"}},
      {"extra data the file lacks", File({}, {}, {lok}), lokRefused, {}, "32767"},
  };
  for (const char* length : {"-1", "32768", "65548", "2147483647"}) {
    cases.push_back({std::string("data sheet length ") + length, File({}, {}, {lok}), lokRefused, {}, length});
  }
  for (int type : {5, -1, 0x10001}) {
    Track bad = g;
    bad.name = "Weiche", bad.type = type;
    cases.push_back({"type " + std::to_string(type), File({bad}, {}, {}),
                     {"Weiche: Unbekannter Typ " + std::to_string(type) + "!\n", "Gleis Nr. 7 fehlerhaft!\n"}, {}});
  }
  for (int stored : {19, -1}) {
    // Cut right after a stored end count outside 0..18: nothing more is read.
    Track bad = g;
    bad.type = 11, bad.ends = stored + 2;
    const std::size_t countAt = 2 + 2 + 2 + 4 + 8 + 36 + 8 + 12 + 4 + 36 + 8 + 12;
    cases.push_back({"end count " + std::to_string(stored), File({bad}, {}, {}).substr(0, countAt + 2), track7, {}});
  }
  Tail tail;
  tail.separators[1] = 5;  // only a diagnostic line
  cases.push_back({"separator", File({}, {}, {}, tail), {}, {"I: 5 S: 0\n"}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.zusLen.empty()) DataSheet("Lok", c.zusLen);
    messages_.clear();
    const std::size_t mark = diagnostics_.lines().size();
    EXPECT_EQ(Load(c.bytes), 0);
    EXPECT_EQ(layout_.loaded, 0);
    EXPECT_EQ(messages_.messages(), c.messages);
    EXPECT_EQ(Messages(diagnostics_.lines().begin() + static_cast<std::ptrdiff_t>(mark), diagnostics_.lines().end()),
              c.diagnostics);
  }
}

// (Fields carried unchanged are covered by the byte-exact save.)
TEST_F(LayoutFileTest, ReadsEveryTrackTypeWithItsOwnFields) {
  std::vector<Track> tracks = EveryTrackType();
  Track flagged;  // a flag keeps only its low 16 bits (0x10000: unconnected)
  flagged.type = 11, flagged.ends = 5, flagged.link[3] = 7, flagged.flag[2] = 0x10000, flagged.link[4] = 8;
  tracks.push_back(flagged);
  ASSERT_EQ(Load(File(tracks, {}, {})), 1);
  const int ends[] = {2, 1, 3, 4, 2, 2, 3, 4, 2, 8, 14, 20, 5};
  for (std::size_t k = 0; k < tracks.size(); ++k) {
    const Track& t = tracks[k];
    const layout::TrackRecord& r = layout_.tracks[k];
    SCOPED_TRACE(k);
    EXPECT_EQ(r.name, t.name);
    EXPECT_EQ(r.gboName, t.type == 6 ? t.gbo : "");
    EXPECT_EQ((std::vector<double>{double(r.id), double(r.type), double(r.endCount), double(r.variantValue),
                                   r.startDirection.y, double(r.start.x), double(r.end.y)}),
              (std::vector<double>{double(t.id), double(t.type), double(ends[k]), double(t.type == 11 ? 0 : t.variant),
                                   t.dir[1], double(t.start[0]), double(t.end[1])}));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(r.connections[i].linkId, i < ends[k] ? t.link[i] : 0) << i;
  }
}

TEST_F(LayoutFileTest, ModelsUnitsTrailersAndViews) {
  Model m;
  m.id = 4, m.dir[0] = 0.0f, m.dir[1] = -0.5f, m.dir[2] = 1.0f;  // the file holds +0.5
  // Trailers: the first unit of each id in 1..29999, ascending.
  std::vector<Unit> units(7);
  const int ids[] = {7, 3, 0, 30000, -5, 3, 29999};
  for (std::size_t i = 0; i < 7; ++i) units[i].id = ids[i], units[i].trailerValue = 100 + ids[i];
  DataSheet("Lok", "12");
  units[2].name = "Loks\\Lok.DLL";
  units[2].extra = std::string("\x01\x00\x02\x03\x04\x05\x06\x07\x08\x09\x0A\xFF", 12);
  Tail tail;
  for (int v = 0; v < 5; ++v) {
    const float dir[3] = {0.25f * v, -1.5f, 2.0f};
    std::memcpy(tail.cameras[v], dir, sizeof dir);
    for (int k = 3; k < 8; ++k) tail.cameras[v][k] = static_cast<std::uint32_t>(-(v * 10 + k));
  }
  const std::string file = File({}, {m, m}, units, tail);
  ASSERT_EQ(Load(file), 1);
  EXPECT_EQ(layout_.models[1].direction.y, -0.5f);
  EXPECT_EQ(layout_.models[1].position.z, 30);
  const auto& stock = layout_.rollingStock;
  EXPECT_EQ(std::string(stock[2].extraData.begin(), stock[2].extraData.end()), units[2].extra);
  EXPECT_EQ(stock[2].secondName, "Zweit");
  EXPECT_TRUE(stock[1].extraData.empty());
  const std::uint32_t trailers[] = {107, 103, 0, 0, 0, 0, 30099};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(stock[i].trailerValue, trailers[i]) << i;
  const layout::CameraView& last = layout_.cameraViews[4];
  EXPECT_EQ((std::vector<double>{last.dirX, last.dirY, last.dirZ, double(last.PX), double(last.PY), double(last.PZ),
                                 double(last.OW), double(last.LH), double(layout_.cameraViews[0].PX)}),
            (std::vector<double>{1, -1.5, 2, -43, -44, -45, -46, -47, -3}));

  // A failed model: the section keeps its full count with the later record
  // empty, and rolling stock is not reached.
  ASSERT_EQ(Load(Patched(file, 2 + 2 + 2 + 5 + 12 + 12 + 1, "M")), 0);
  ASSERT_EQ(layout_.models.size(), 2u);
  EXPECT_EQ(layout_.models[0].id, 4);
  EXPECT_EQ(layout_.models[1].id, 0);
  EXPECT_TRUE(layout_.models[1].name.empty());
  EXPECT_TRUE(layout_.rollingStock.empty());
}

TEST_F(LayoutFileTest, CountsAndFreshStarts) {
  // 32767 tracks announced, one present: the list is at full count, empty after the first.
  Bytes big;
  big.I16(32767);
  AppendTrack(big, Track());
  EXPECT_EQ(Load(big.data), 0);
  ASSERT_EQ(layout_.tracks.size(), 32767u);
  EXPECT_EQ(layout_.tracks[1].id, 0);
  // A count below 0 is an empty list.
  Bytes negative;
  negative.I16(-32768).I16(-1).I16(-2);
  layout_bytes::AppendTail(negative, Tail());
  EXPECT_EQ(Load(negative.data), 1);
  EXPECT_TRUE(layout_.tracks.empty() && layout_.models.empty() && layout_.rollingStock.empty());

  // A good layout, then a bad one: nothing of the first is left over.
  Track t;
  t.id = 5;
  ASSERT_EQ(Load(File({t, t}, {Model()}, {Unit()})), 1);
  const std::string file = File({t}, {}, {Unit(), Unit()});
  EXPECT_EQ(Load(file.substr(0, file.size() - 200)), 0);
  EXPECT_EQ(layout_.tracks.size(), 1u);
  EXPECT_TRUE(layout_.models.empty());
  EXPECT_EQ(layout_.rollingStock.size(), 2u);
  // A missing file (its message is checked end to end) empties the layout too.
  testing_support::TempDir dir;
  EXPECT_EQ(layout_.Load(dir.Path("fehlt.anl"), layout::HostDataSheets()), 0);
  EXPECT_TRUE(layout_.tracks.empty());
}

}  // namespace
