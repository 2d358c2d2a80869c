// The layout file against the independent byte builder: the round trip, every refusal with its lines.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "host/installation.h"
#include "app/installation_seams.h"
#include "layout/json_dump.h"
#include "layout/layout.h"
#include "layout/layout_bytes.h"
#include "support/test_support.h"

namespace {

using layout::Layout;
using namespace layout_bytes;
using Messages = std::vector<std::string>;

std::string Patched(std::string bytes, std::size_t at, const std::string& with) {
  return bytes.replace(at, with.size(), with);
}

// Every test runs with an installation of its own (for data sheets).
class LayoutFileTest : public testing::Test {
 protected:
  app::DataSheets Sheets() const { return app::DataSheets(host::InstallationAt(install_.windows())); }
  int Load(const std::string& bytes) { return layout_.LoadFromBytes(bytes, Sheets()); }
  void DataSheet(const std::string& unit, const std::string& n) {
    install_.Write("Rollmaterial\\Datenbl\xE4tter\\" + unit + ".txt", "[Zuvo]\nZusLen=" + n);
  }
  testing_support::TempDir install_, dir_;
  Layout layout_;
  testing_support::MessageRecorder messages_;
  testing_support::DiagnosticRecorder diagnostics_;
};

// Records far from the end of the file are read without a bounds test per
// field: such a record loads, fails and tells of it as one near the end does.
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

// Every kind of record with every field set. Tracks of every type; the type-1 piece carries a bridge at
// (100,493,6) and the type-2 piece a buffer stop at (200,693,8).
std::string EveryKindOfRecord() {
  std::vector<Track> tracks;
  for (int type : {1, 2, 3, 4, 6, 7, 8, 9, 11, 11, 11, 11}) {
    Track t;
    const int id = static_cast<int>(tracks.size()) + 2;
    t.id = id - 1, t.name = "Typ " + std::to_string(type), t.type = type, t.variant = type >= 6 ? -type : 0;
    t.dir[0] = 0.0f, t.dir[1] = 1.0f, t.dir[2] = -0.0f, t.start[0] = t.end[0] = 100 * type;
    t.start[1] = -7, t.start[2] = 3, t.end[1] = 993, t.end[2] = 8,
    t.ends = type == 11 ? 2 + 6 * (id - 10) : 2;  // to 20
    for (int i = 0; i < 20; ++i) t.link[i] = type == 11 && i % 4 == 3 ? 0 : 1000 + i + type, t.linkEnd[i] = -i;
    t.third = 300 + type, t.fourth = 400 + type, t.gbo = std::string("GBO\\Halle\0x", 11), t.multi = -2.5f;
    t.groupA[0] = 0xFFFFFFFF, t.groupB[1] = 0x7FC00001, t.groupC[2] = 0x80000000;  // NaN bits carried
    tracks.push_back(t);
  }
  std::vector<Model> models(5);
  for (Model& m : models) {
    m.name = "..\\Bruecken\\Stein", m.pos[0] = 100, m.pos[1] = 493, m.pos[2] = 6;
    m.dir[0] = 0.0f, m.dir[1] = 1.0f, m.dir[2] = -0.0f;
  }
  models[1].id = 2, models[1].name = "..\\Prellbock\\Holz", models[1].dir[2] = 0.0f;
  models[1].pos[0] = 200, models[1].pos[1] = 693, models[1].pos[2] = 8;
  models[2].id = 2, models[2].name = std::string(255, 'M');  // a repeated id
  models[3].id = -9, models[3].name = "", models[3].values[0] = 0xFFFFFFFF, models[3].dir[1] = -0.5f;
  models[4].id = 32767, models[4].name = std::string("Null\0Byte", 9), models[4].dir[0] = 0.25f;
  std::vector<Unit> units(6);
  const int ids[] = {7, 3, 7, 30000, 32767, -1};  // a repeated id has no trailer of its own
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i].id = ids[i], units[i].trailerValue = 0xA0000000u + i, units[i].trailerByte = 0xB0 + int(i);
    units[i].trailerShort = -1000 - int(i), units[i].neighbourA = 3, units[i].neighbourAByte = 0xFF;
  }
  units[0].name = "Loks\\V200.DLL", units[0].extra = std::string("\x00\xFF\x10\x00\x7F", 5), units[5].second = "";
  units[1].name = "Loks\\Leer.dll", units[1].second = "Gr\xFCn", units[2].name = "V200.dll",
  units[2].extra = "12345";  // Leer: no data sheet
  Tail tail;
  tail.cameras[0][0] = 0x3F800000, tail.cameras[4][7] = 47200, tail.colourA[0] = 0xFF, tail.colourB[2] = 0x80;
  tail.block = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\x13\x14",
  tail.value = 0x12345678;
  return File(tracks, models, units, tail);
}

TEST_F(LayoutFileTest, LoadThenSaveGivesTheSameBytes) {
  DataSheet("V200", "5");
  const std::string original = EveryKindOfRecord();
  dir_.Write("a.anl", original);
  ASSERT_EQ(Load(File(ManyTracks(), {}, {})), 1);  // what it leaves in the records is not seen
  ASSERT_EQ(layout_.Load(dir_.Path("a.anl"), Sheets()), 1);
  EXPECT_EQ(layout_.tracks[0].linkedModel, 0);  // the bridge and the buffer stop were linked
  EXPECT_EQ(layout_.tracks[1].linkedModel, 1);
  // The dump shows every field under its key (compared as JSON values: member order is free).
  std::ifstream expected(ZUVO_EVERY_KIND_DUMP);
  EXPECT_EQ(nlohmann::json::parse(layout::DumpJson(layout_, "")), nlohmann::json::parse(expected, nullptr, false));
  layout_.PrepareForSave();
  ASSERT_EQ(layout_.Save(dir_.Path("a.anl"), ""), 1);
  EXPECT_EQ(dir_.Read("a.anl"), original);
  EXPECT_TRUE(messages_.messages().empty());
}

// (Models placed and duplicates dropped by a prepared save: the resave end-to-end test.)
TEST_F(LayoutFileTest, OnlyPreparingChangesTheLayoutAndWhatTheFileCannotHoldIsNeverWritten) {
  Track one;
  ASSERT_EQ(Load(File({one, one}, {Model(), Model()}, {Unit(), Unit()})), 1);
  layout_.tracks[0].variantValue = 9, layout_.tracks[1].id = layout_.rollingStock[0].id = 0;  // variant: type 7
  layout_.rollingStock[0].name = std::string(300, 'x');                                       // not written, so no harm
  std::string bytes;
  EXPECT_EQ((layout_.Serialize(&bytes), bytes), File({one}, {Model(), Model()}, {Unit()}));
  layout_.PrepareForSave();
  EXPECT_EQ((layout_.Serialize(&bytes), bytes), File({(one.type = 7, one.variant = 9, one)}, {Model()}, {Unit()}));
  layout_.tracks[0].type = 6;  // strings longer than their length byte, 32768 live records in a list
  for (layout::Name* text : {&layout_.tracks[0].name, &layout_.tracks[0].gboName, &layout_.models[0].name,
                             &layout_.rollingStock[1].secondName}) {
    EXPECT_EQ((*text = std::string(256, 'n'), layout_.Serialize(&bytes)), 0);
    EXPECT_EQ((*text = std::string(255, 'n'), layout_.Serialize(&bytes)), 1);
  }
  layout_.models.resize(32769, layout_.models[0]);
  EXPECT_EQ(layout_.Serialize(&bytes), 0);
  EXPECT_EQ((layout_.models[0].id = 0, layout_.Serialize(&bytes)), 1);
  dir_.Write("a.anl", "old");
  EXPECT_EQ((layout_.tracks[0].name = layout_.tracks[0].name.str() + "n", layout_.Save(dir_.Path("a.anl"), "")), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Fehler beim Schreiben von " + dir_.Path("a.anl") + "!\n"}));
  EXPECT_EQ(dir_.Read("a.anl"), "old");
}

TEST_F(LayoutFileTest, DamagedOrHostileFilesAreRefusedWithTheirMessages) {
  const std::string empty = File({}, {}, {});
  // A type-1 track "G" with id 7: check id at 46, check name 48, check type 50, connection 0's zero16 at 58.
  Track g, eight, multi;  // type 8: the repeated block G starts at 78
  g.id = 7, g.name = "G", g.link[0] = 3, eight = g, eight.id = 8, eight.type = 8;
  const std::string track = File({g}, {}, {});
  // Type 11: the group C check, then the real and its check, then one int16.
  multi.id = 9, multi.type = 11, multi.groupC[1] = 5, multi.multi = 0.5f;
  const std::string type11 = File({multi}, {}, {});
  const std::size_t realAt = type11.rfind(Bytes().F32(0.5f).F32(0.5f).data);
  Model house;
  const std::string models = File({Track()}, {(house.id = 4, house), house}, {Unit()});
  // The model's name comes twice: the second is its check name.
  const std::string houseName = Bytes().Str("Haus").data;
  const std::size_t checkName = models.find(houseName, models.find(houseName) + 1);
  // A unit with id 9: check id at 17, zero8 71, check name 72, check byte B 81.
  Unit unit, dll, lok;
  unit.id = 9, unit.byteB = 200, dll = unit;
  dll.name = "Loks\\V200.DlL", lok.name = "Lok.dll";
  const std::string units = File({}, {}, {unit});
  for (const std::string& good : {empty, track, File({eight}, {}, {}), type11, models, units}) ASSERT_EQ(Load(good), 1);
  DataSheet("Lok", "0");
  ASSERT_EQ(Load(File({}, {}, {lok})), 1);

  const Messages format = {"Formatfehler!\n"}, track7 = {"Gleis Nr. 7 fehlerhaft!\n"},
                 track9 = {"Gleis Nr. 9 fehlerhaft!\n"};
  const Messages unit9 = {"Rollmaterial Nr. 9 fehlerhaft!\n"},
                 lokRefused = {"Dll-Modell \"Lok.dll\" kann nicht benutzt werden!\n"};
  const auto le16 = [](int v) { return Bytes().I16(v).data; };
  struct Case {
    std::string what, bytes;
    Messages messages, diagnostics;
    std::string zusLen = "";
  };  // zusLen: Lok.dll
  std::vector<Case> cases = {
      {"byte after the end", empty + '\0', {"Datei zu lang!\n"}, {}},
      {"last byte missing", empty.substr(0, empty.size() - 1), format, {}},
      {"nothing", "", format, {}},
      {"cut in the views", empty.substr(0, 100), format, {}},
      {"cut in colours", empty.substr(0, 168), format, {}},
      {"block cut by one byte", empty.substr(0, empty.size() - 5), {"Feher in Eigenschaften!\n"}, {}},
      {"name past the end", Bytes().I16(1).I16(1).U8(200).Raw("abc").data, format, {}},
      {"check id", Patched(track, 46, le16(-2)), track7, {"I: -2 S: 7\n"}},
      {"zero16", Patched(track, 58, le16(3)), track7, {"I: 3 S: 0\n"}},
      {"check name text", Patched(track, 49, "H"), track7, {}},
      {"name length", Patched(track, 48, "\x02"), track7, {}},
      {"check type", Patched(track, 50, Bytes().I32(2).data), track7, {"I: 2 S: 1\n"}},
      {"real check",
       Patched(File({eight}, {}, {}), 78, Bytes().F32(2.0f).data),
       {"Gleis Nr. 8 fehlerhaft!\n"},
       {"I: 2.000000 S: 1.000000 Diff: 1.000000e+00\n"}},
      {"multi real check",
       Patched(type11, realAt + 4, Bytes().F32(0.25f).data),
       track9,
       {"I: 0.250000 S: 0.500000 Diff: -2.500000e-01\n"}},
      {"group check", Patched(type11, realAt - 8, Bytes().U32(0xFFFFFFFF).data), track9, {"I: -1 S: 5\n"}},
      {"model check name", Patched(models, checkName + 1, "M"), {"Modell Nr. 4 fehlerhaft!\n"}, {}},
      {"unit check id", Patched(units, 17, le16(10)), unit9, {"I: 10 S: 9\n"}},
      {"unit zero8", Patched(units, 71, "\x05"), unit9, {"I: 5 S: 0\n"}},
      {"unit byte B", Patched(units, 81, "\xC9"), unit9, {"I: 201 S: 200\n"}},
      {"unit check name", Patched(units, 73, "X"), unit9, {}},
      {"dll unit check id",
       Patched(File({}, {}, {dll}), 6 + 1 + dll.name.size() + 2, le16(10)),
       {"Dll-Modell \"Loks\\V200.DlL\" kann nicht benutzt werden!\n"},
       {"I: 10 S: 9\n"}},
      {"extra data the file lacks", File({}, {}, {lok}), lokRefused, {}, "32767"},
  };
  for (const char* length : {"-1", "32768", "65548", "2147483647"}) {
    cases.push_back(
        {std::string("sheet length ") + length, File({}, {}, {lok}) + std::string(70000, 'x'), lokRefused, {}, length});
  }
  Track bad = g;
  for (int type : {5, -1, 0x10001}) {
    cases.push_back({"type " + std::to_string(type),
                     File({(bad.name = "Weiche", bad.type = type, bad)}, {}, {}),
                     {"Weiche: Unbekannter Typ " + std::to_string(type) + "!\n", "Gleis Nr. 7 fehlerhaft!\n"},
                     {}});
  }
  for (int stored : {19, -1}) {  // cut right after a stored end count outside 0..18: nothing more is read
    bad = g, bad.type = 11, bad.ends = stored + 2;
    cases.push_back({"end count " + std::to_string(stored), File({bad}, {}, {}).substr(0, 136), track7, {}});
  }
  Tail tail;
  Bytes big;  // 32767 tracks announced, one present
  AppendTrack(big.I16(32767), Track());
  cases.push_back({"count", big.data, format, {}});
  cases.push_back(
      {"separator", File({}, {}, {}, (tail.separators[1] = 5, tail)), {}, {"I: 5 S: 0\n"}});  // only its line
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.zusLen.empty()) DataSheet("Lok", c.zusLen);
    messages_.clear();
    const auto mark = diagnostics_.lines().size();
    EXPECT_EQ(Load(c.bytes) + layout_.loaded, 0);
    EXPECT_EQ(messages_.messages(), c.messages);
    EXPECT_EQ(Messages(diagnostics_.lines().begin() + static_cast<long>(mark), diagnostics_.lines().end()),
              c.diagnostics);
    // From a file read a byte, some bytes or all at a time: the same, and a format error names the file.
    dir_.Write("c.anl", c.bytes);
    Messages named = c.messages;
    for (std::string& m : named) m += m == format[0] ? "Datei: " + dir_.Path("c.anl") + "\n" : "";
    for (std::size_t chunk : {1, 300, 1 << 20}) {
      messages_.clear();
      const auto at = diagnostics_.lines().size();
      EXPECT_EQ(layout_.LoadInChunks(dir_.Path("c.anl"), Sheets(), chunk) + layout_.loaded, 0);
      EXPECT_EQ(messages_.messages(), named);
      EXPECT_EQ(Messages(diagnostics_.lines().begin() + static_cast<long>(at), diagnostics_.lines().end()),
                c.diagnostics);
    }
  }
  // A file that cannot be read (a folder: Linux opens it, Windows does not) is one that cannot be opened.
  messages_.clear();
  EXPECT_EQ(layout_.Load(dir_.Path(""), Sheets()), 0);
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].rfind("Can't open " + dir_.Path("") + "!\n", 0), 0u) << messages_.messages()[0];
}

// Far from the end and near it (extra data that leaves less than a record's
// bound behind is read with every bounds test), a file saves to its own bytes.
TEST_F(LayoutFileTest, FilesFarFromAndNearTheEndSaveToTheirOwnBytes) {
  std::vector<Model> models(40);
  std::vector<Unit> units(120);  // their trailers take more than a unit can
  for (int i = 0; i < 120; ++i) {
    units[i].id = i + 1, units[i].second = std::string(i % 40 * 6, 'm');
    if (i < 40) models[i].id = i + 1, models[i].name = units[i].second;
  }
  DataSheet("Lok", "3000");
  Unit lok;
  lok.id = 4, lok.name = "Lok.dll", lok.extra = std::string(3000, 'x');
  for (const std::string& bytes : {File(ManyTracks(), models, units), File({}, {}, {lok})}) {
    std::string saved;
    ASSERT_EQ(Load(bytes), 1);
    EXPECT_EQ((layout_.Serialize(&saved), saved), bytes);
    // From a file, records (and the extra data) crossing from one chunk into the next.
    dir_.Write("f.anl", bytes);
    for (std::size_t chunk : {1, 2, 3, 1000, 256 * 1024}) {
      ASSERT_EQ(layout_.LoadInChunks(dir_.Path("f.anl"), Sheets(), chunk), 1);
      EXPECT_EQ((layout_.Serialize(&saved), saved), bytes);
      EXPECT_EQ(layout_.loadedBytes, bytes.size());
    }
  }
  EXPECT_EQ(layout_.rollingStock[0].extraData.size(), 3000u);
}

TEST_F(LayoutFileTest, AFailingRecordTellsOnceWhatFailedAndACheckNameFailsByItsLastByte) {
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
    Messages messages, lines;
  };
  const Case cases[] = {
      {checkId, Bytes().I16(9).data, {"Gleis Nr. 1 fehlerhaft!\n"}, {"I: 9 S: 1\n"}},
      {checkId + 2, "\x04", {"Gleis Nr. 1 fehlerhaft!\n"}, {}},
      {typeAt, Bytes().I32(5).data, {"aaa: Unbekannter Typ 5!\n", "Gleis Nr. 1 fehlerhaft!\n"}, {}},
  };
  for (const Case& c : cases) {
    const std::string bytes = Patched(good, c.at, c.with);
    ASSERT_EQ(Load(File(tracks, {Model()}, {Unit()})), 1);  // an earlier layout in the same place
    messages_.clear();
    const auto mark = diagnostics_.lines().size();
    EXPECT_EQ(Load(bytes), 0);
    EXPECT_EQ(messages_.messages(), c.messages);
    EXPECT_EQ(Messages(diagnostics_.lines().begin() + static_cast<long>(mark), diagnostics_.lines().end()), c.lines);
    ASSERT_EQ(layout_.tracks.size(), tracks.size());
    EXPECT_EQ(layout_.tracks[0].id, 1);
    EXPECT_EQ(layout_.tracks[1].id, 0);  // the records after the failing one are empty, the lists after it too
    EXPECT_TRUE(layout_.models.empty() && layout_.rollingStock.empty());
  }
  const std::string house = File({}, {Model()}, {}), name = Bytes().Str("Haus").data;
  ASSERT_EQ(Load(File(tracks, {Model()}, {Unit()})), 1);
  EXPECT_EQ(Load(Patched(house, house.rfind(name) + 1, "M")), 0);
  EXPECT_TRUE(layout_.tracks.empty() && layout_.models.size() == 1 && layout_.rollingStock.empty());
  // A check name that differs only in its last byte, for each way names are
  // compared (a word at a time, half words, bytes).
  std::vector<Unit> units(20);
  for (Unit& u : units) u.second = std::string(200, 's');
  for (const char* checked : {"Qwertzuiopasdfgh9", "Qwertzu", "Qw"}) {
    Model m;
    m.id = 3, m.name = checked;
    std::string bytes = File({}, {m}, units);
    bytes[bytes.rfind(checked) + m.name.size() - 1] = '#';
    messages_.clear();
    EXPECT_EQ(Load(bytes), 0);
    EXPECT_EQ(messages_.messages(), Messages{"Modell Nr. 3 fehlerhaft!\n"}) << checked;
  }
}

}  // namespace
