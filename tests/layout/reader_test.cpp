#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/installation.h"
#include "layout/layout.h"
#include "layout/layout_bytes.h"
#include "support/test_support.h"

namespace {

using layout::Layout;
using layout_bytes::Bytes;
using layout_bytes::File;
using layout_bytes::Model;
using layout_bytes::Tail;
using layout_bytes::Track;
using layout_bytes::Unit;
using testing_support::DiagnosticRecorder;
using testing_support::MessageRecorder;
using testing_support::TempDir;

using Messages = std::vector<std::string>;

std::string Patched(std::string bytes, std::size_t offset, const std::string& with) {
  bytes.replace(offset, with.size(), with);
  return bytes;
}

std::string Le16(int v) { return Bytes().I16(v).data; }
std::string Le32(std::uint32_t v) { return Bytes().U32(v).data; }
std::string LeReal(float f) { return Bytes().F32(f).data; }

// Every test runs with an installation of its own (for data sheets).
class ReaderTest : public testing::Test {
 protected:
  void SetUp() override { host::SetHostDirectoryOverride(install_.windows()); }
  void TearDown() override {
    host::SetHostDirectoryOverride("");
    host::ResetHostDirectoryCache();
  }

  // Loads bytes; the messages and diagnostic lines land in the recorders.
  int Load(const std::string& bytes) { return layout_.LoadFromBytes(bytes); }

  void WriteDataSheet(const std::string& base, const std::string& text) {
    install_.Write("Rollmaterial\\Datenbl\xE4tter\\" + base + ".txt", text);
  }

  TempDir install_;
  Layout layout_;
  MessageRecorder messages_;
  DiagnosticRecorder diagnostics_;
  std::size_t mark_ = 0;

  // Diagnostic lines written since the last Mark().
  void Mark() { mark_ = diagnostics_.lines().size(); }
  Messages NewLines() const {
    return Messages(diagnostics_.lines().begin() + static_cast<std::ptrdiff_t>(mark_),
                    diagnostics_.lines().end());
  }
};

TEST_F(ReaderTest, SmallestFileLoadsAndEveryByteAfterItOrMissingFails) {
  std::string empty = File({}, {}, {});
  ASSERT_EQ(empty.size(), 2u + 2 + 2 + 160 + 32);
  EXPECT_EQ(Load(empty), 1);
  EXPECT_EQ(layout_.loaded, 1);
  EXPECT_TRUE(layout_.tracks.empty() && layout_.models.empty() && layout_.rollingStock.empty());
  EXPECT_TRUE(messages_.messages().empty());

  EXPECT_EQ(Load(empty + '\0'), 0);
  EXPECT_EQ(layout_.loaded, 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Datei zu lang!\n"}));

  messages_.clear();
  EXPECT_EQ(Load(empty.substr(0, empty.size() - 1)), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Formatfehler!\n"}));

  // Cut inside the camera views, inside a count, and nothing at all.
  for (std::size_t size : {0u, 1u, 3u, 100u}) {
    messages_.clear();
    EXPECT_EQ(Load(empty.substr(0, size)), 0) << size;
    EXPECT_EQ(messages_.messages(), (Messages{"Formatfehler!\n"})) << size;
  }
  EXPECT_TRUE(diagnostics_.lines().empty());
}

TEST_F(ReaderTest, CameraViewsAndPropertiesAreReadInOrder) {
  Tail tail;
  for (int v = 0; v < 5; ++v) {
    float dir[3] = {0.25f * v, -1.5f, 2.0f};
    for (int k = 0; k < 3; ++k) std::memcpy(&tail.cameras[v][k], &dir[k], 4);
    for (int k = 3; k < 8; ++k) tail.cameras[v][k] = static_cast<std::uint32_t>(-(v * 10 + k));
  }
  tail.colourA[0] = 1; tail.colourA[1] = 2; tail.colourA[2] = 255;
  tail.colourB[0] = 4; tail.colourB[1] = 5; tail.colourB[2] = 6;
  for (int i = 0; i < 20; ++i) tail.block[static_cast<std::size_t>(i)] = static_cast<char>(0xE0 + i);
  tail.value = 0xDEADBEEF;
  ASSERT_EQ(Load(File({}, {}, {}, tail)), 1);
  const layout::CameraView& last = layout_.cameraViews[4];
  EXPECT_EQ(last.dirX, 1.0f);
  EXPECT_EQ(last.dirY, -1.5f);
  EXPECT_EQ(last.dirZ, 2.0f);
  EXPECT_EQ(last.PX, -43);
  EXPECT_EQ(last.PY, -44);
  EXPECT_EQ(last.PZ, -45);
  EXPECT_EQ(last.OW, -46);
  EXPECT_EQ(last.LH, -47);
  EXPECT_EQ(layout_.cameraViews[0].PX, -3);
  const layout::LayoutProperties& p = layout_.properties;
  EXPECT_EQ(p.colourA[2], 255);
  EXPECT_EQ(p.colourB[0], 4);
  EXPECT_EQ(p.block[19], 0xF3);
  EXPECT_EQ(p.value, 0xDEADBEEFu);
}

TEST_F(ReaderTest, ReadsEveryTrackTypeWithItsOwnFields) {
  std::vector<Track> tracks;
  for (int type : {1, 2, 3, 4, 6, 7, 8, 9, 11}) {
    Track t;
    t.id = static_cast<int>(100 + type);
    t.name = "Typ" + std::to_string(type);
    t.type = type;
    t.variant = 1000 + type;
    t.dir[0] = 0.5f; t.dir[1] = -0.25f; t.dir[2] = 0.125f;
    t.start[0] = -1; t.start[1] = -2; t.start[2] = -3;
    t.end[0] = 4000 + type; t.end[1] = 5; t.end[2] = 6;
    for (int i = 0; i < 20; ++i) {
      t.link[i] = 10 * type + i + 1;
      t.linkEnd[i] = -(i + 1);
    }
    t.third = 33;
    t.fourth = 44;
    t.ends = 5;
    t.link[3] = 0;  // type 11: end 3 is not connected
    t.groupA[0] = 1; t.groupB[1] = 2; t.groupC[2] = 3;
    t.multi = 7.5f;
    t.gbo = "GBOs\\Bahnhof.gbo";
    tracks.push_back(t);
  }
  ASSERT_EQ(Load(File(tracks, {}, {})), 1) << (messages_.messages().empty() ? "" : messages_.messages()[0]);
  ASSERT_EQ(layout_.tracks.size(), tracks.size());

  const int expectedEnds[] = {2, 1, 3, 4, 2, 2, 3, 4, 5};
  for (std::size_t k = 0; k < tracks.size(); ++k) {
    const Track& t = tracks[k];
    const layout::TrackRecord& r = layout_.tracks[k];
    SCOPED_TRACE(t.type);
    EXPECT_EQ(r.id, t.id);
    EXPECT_EQ(r.name, t.name);
    EXPECT_EQ(r.type, t.type);
    EXPECT_EQ(r.endCount, expectedEnds[k]);
    bool hasVariant = t.type == 6 || t.type == 7 || t.type == 8 || t.type == 9;
    EXPECT_EQ(r.variantValue, hasVariant ? t.variant : 0);
    EXPECT_EQ(r.startDirection.y, -0.25f);
    EXPECT_EQ(r.start.z, -3);
    EXPECT_EQ(r.end.x, t.end[0]);
    EXPECT_EQ(r.connections[0].linkId, t.link[0]);
    EXPECT_EQ(r.connections[0].linkEnd, -1);
    // Type 2 stores only connection 0.
    EXPECT_EQ(r.connections[1].linkId, t.type == 2 ? 0 : t.link[1]);
    bool third = t.type == 3 || t.type == 4 || t.type == 8 || t.type == 9;
    bool fourth = t.type == 4 || t.type == 9;
    EXPECT_EQ(r.connections[2].linkId, third || t.type == 11 ? t.link[2] : 0);
    EXPECT_EQ(r.thirdEndValue, third || t.type == 11 ? 33 : 0);
    EXPECT_EQ(r.connections[3].linkId, fourth ? t.link[3] : 0);
    EXPECT_EQ(r.fourthEndValue, fourth || t.type == 11 ? 44 : 0);
    EXPECT_EQ(r.gboName, t.type == 6 ? t.gbo : "");
    if (t.type == 11) {
      EXPECT_EQ(r.connections[3].linkId, 0);
      EXPECT_EQ(r.connections[4].linkId, t.link[4]);
      EXPECT_EQ(r.connections[4].linkEnd, -5);
      EXPECT_EQ(r.connections[5].linkId, 0);
      EXPECT_EQ(r.groupA[0], 1u);
      EXPECT_EQ(r.groupB[1], 2u);
      EXPECT_EQ(r.groupC[2], 3u);
      EXPECT_EQ(r.multiReal, 7.5f);
    } else {
      EXPECT_EQ(r.connections[4].linkId, 0);
      EXPECT_EQ(r.multiReal, 0.0f);
    }
  }
}

TEST_F(ReaderTest, MultiEndPiecesTakeTwoToTwentyEnds) {
  for (int ends = 2; ends <= 20; ++ends) {
    Track t;
    t.type = 11;
    t.ends = ends;
    for (int i = 0; i < 20; ++i) t.link[i] = i % 3 == 0 ? 0 : 50 + i;
    ASSERT_EQ(Load(File({t}, {}, {})), 1) << ends;
    EXPECT_EQ(layout_.tracks[0].endCount, ends);
    for (int i = 2; i < 20; ++i) {
      EXPECT_EQ(layout_.tracks[0].connections[i].linkId, i < ends ? t.link[i] : 0) << ends << " " << i;
    }
  }
  // End count 2: neither flags nor entries, the groups follow the count.
  Track two;
  two.type = 11;
  two.ends = 2;
  two.link[2] = 9;  // not stored: the piece has only two ends
  Bytes expectedTail;
  expectedTail.I16(0);
  for (int k = 0; k < 12; ++k) expectedTail.U32(0);
  std::string file = File({two}, {}, {});
  EXPECT_NE(file.find(expectedTail.data + LeReal(0.0f) + LeReal(0.0f) + Le16(0)), std::string::npos);
  ASSERT_EQ(Load(file), 1);
  EXPECT_EQ(layout_.tracks[0].connections[2].linkId, 0);

  // A flag keeps only its low 16 bits: 0x10000 is an unconnected end.
  Track flags;
  flags.type = 11;
  flags.ends = 3;
  flags.flag[2] = 0x10000;
  ASSERT_EQ(Load(File({flags}, {}, {})), 1);
  EXPECT_EQ(layout_.tracks[0].connections[2].linkId, 0);
}

TEST_F(ReaderTest, MultiEndCountOutsideTwoToTwentyFailsTheTrack) {
  for (int stored : {19, 20, 32767, -1, -2, -32768}) {
    Track t;
    t.id = 12;
    t.type = 11;
    t.ends = stored + 2;
    messages_.clear();
    std::string file = File({t}, {}, {});
    // Cut after the stored count: a refused count must not read any further.
    std::size_t countAt = 2 + 2 + 1 + t.name.size() + 4 + 8 + 36 + (2 + 1 + t.name.size() + 4) + 12 +
                          4 + 36 + (2 + 1 + t.name.size() + 4) + 12;
    ASSERT_EQ(file.substr(countAt, 2), Le16(stored));
    EXPECT_EQ(Load(file.substr(0, countAt + 2)), 0) << stored;
    EXPECT_EQ(messages_.messages(), (Messages{"Gleis Nr. 12 fehlerhaft!\n"})) << stored;
  }
  EXPECT_TRUE(diagnostics_.lines().empty());
  Track ok;
  ok.type = 11;
  ok.ends = 20;
  EXPECT_EQ(Load(File({ok}, {}, {})), 1);
}

TEST_F(ReaderTest, InvalidTrackTypeShowsTwoMessages) {
  for (int type : {5, 10, 0, -1, 12, 0x10001}) {
    Track t;
    t.id = 7;
    t.name = "Weiche";
    t.type = type;
    messages_.clear();
    EXPECT_EQ(Load(File({t}, {}, {})), 0);
    EXPECT_EQ(messages_.messages(), (Messages{"Weiche: Unbekannter Typ " + std::to_string(type) + "!\n",
                            "Gleis Nr. 7 fehlerhaft!\n"}));
    EXPECT_EQ(layout_.tracks.size(), 1u);
    EXPECT_EQ(layout_.tracks[0].name, "Weiche");  // stored before the type is checked
  }
}

TEST_F(ReaderTest, AFailedCheckInATrackNamesTheTrack) {
  Track t;
  t.id = 7;
  t.name = "G";
  t.link[0] = 3;
  // Offsets in the file of one type-1 track named "G": id 2, name 4, type 6,
  // block G 10, check id 46, check name 48, check type 50, connection 0 at 54
  // (zero16 at 58), connection 1 at 60.
  std::string good = File({t}, {}, {});
  ASSERT_EQ(Load(good), 1);

  struct Case {
    std::size_t offset;
    std::string bytes;
    std::vector<std::string> diagnostics;
  };
  const Case cases[] = {
      {46, Le16(8), {"I: 8 S: 7\n"}},
      {46, Le16(-2), {"I: -2 S: 7\n"}},
      {58, Le16(3), {"I: 3 S: 0\n"}},
      {49, "H", {}},                   // check name: other text
      {48, std::string(1, '\x02'), {}},  // check name: other length
      {50, Le32(2), {"I: 2 S: 1\n"}},  // check type
  };
  for (const Case& c : cases) {
    messages_.clear();
    Mark();
    EXPECT_EQ(Load(Patched(good, c.offset, c.bytes)), 0) << c.offset;
    EXPECT_EQ(messages_.messages(), (Messages{"Gleis Nr. 7 fehlerhaft!\n"})) << c.offset;
    EXPECT_EQ(NewLines(), c.diagnostics) << c.offset;
    EXPECT_EQ(layout_.loaded, 0);
  }
}

TEST_F(ReaderTest, RealChecksPrintValuesAndDifference) {
  Track t;
  t.id = 8;
  t.name = "G";
  t.type = 8;
  // Type 8: name ends at 5, type 6, connection 2 at 10, third 16, block G 18,
  // checks 54, block E 62, variant 74, block G check 78.
  std::string good = File({t}, {}, {});
  ASSERT_EQ(good.substr(78, 4), LeReal(1.0f));
  EXPECT_EQ(Load(Patched(good, 78, LeReal(2.0f))), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Gleis Nr. 8 fehlerhaft!\n"}));
  EXPECT_EQ(diagnostics_.lines(), (Messages{"I: 2.000000 S: 1.000000 Diff: 1.000000e+00\n"}));

  // Type 11: the groups' check and the real's check.
  Track m;
  m.id = 9;
  m.type = 11;
  m.ends = 2;
  m.groupC[1] = 5;
  m.multi = 0.5f;
  std::string multi = File({m}, {}, {});
  std::size_t tailAt = multi.size() - 192 - 2 - 2 - 2 - 8;  // multiReal twice, fourth value
  ASSERT_EQ(multi.substr(tailAt, 8), LeReal(0.5f) + LeReal(0.5f));
  messages_.clear();
  Mark();
  EXPECT_EQ(Load(Patched(multi, tailAt + 4, LeReal(0.25f))), 0);
  EXPECT_EQ(NewLines(), (Messages{"I: 0.250000 S: 0.500000 Diff: -2.500000e-01\n"}));
  EXPECT_EQ(messages_.messages(), (Messages{"Gleis Nr. 9 fehlerhaft!\n"}));
  messages_.clear();
  Mark();
  EXPECT_EQ(Load(Patched(multi, tailAt - 12 + 4, Le32(0xFFFFFFFF))), 0);
  EXPECT_EQ(NewLines(), (Messages{"I: -1 S: 5\n"}));
}

TEST_F(ReaderTest, ModelsNegateTheirYDirectionAndCheckTheirName) {
  Model m;
  m.id = 4;
  m.name = "Haus";
  m.dir[0] = 0.0f; m.dir[1] = -0.5f; m.dir[2] = 1.0f;  // the file holds +0.5
  m.values[0] = 0xFFFFFFFF; m.values[1] = 17;
  std::string file = File({Track()}, {m, m}, {Unit()});
  ASSERT_EQ(Load(file), 1);
  ASSERT_EQ(layout_.models.size(), 2u);
  EXPECT_EQ(layout_.models[0].direction.y, -0.5f);
  EXPECT_EQ(layout_.models[0].position.z, 30);
  EXPECT_EQ(layout_.models[0].values[0], 0xFFFFFFFFu);
  EXPECT_EQ(layout_.models[1].values[1], 17u);

  // The first model's check name: track count, track, model count, id, name,
  // position, direction.
  std::size_t checkName = 2 + 74 + 2 + 2 + 5 + 12 + 12;
  ASSERT_EQ(file.substr(checkName, 5), std::string("\x04Haus"));
  EXPECT_EQ(Load(Patched(file, checkName + 1, "M")), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Modell Nr. 4 fehlerhaft!\n"}));
  EXPECT_TRUE(diagnostics_.lines().empty());
  // The state after the failure: tracks read, the model section at full count
  // with the later record zero, rolling stock not reached.
  EXPECT_EQ(layout_.tracks.size(), 1u);
  ASSERT_EQ(layout_.models.size(), 2u);
  EXPECT_EQ(layout_.models[0].id, 4);
  EXPECT_EQ(layout_.models[1].id, 0);
  EXPECT_TRUE(layout_.models[1].name.empty());
  EXPECT_TRUE(layout_.rollingStock.empty());
}

TEST_F(ReaderTest, RollingStockChecksNameTheUnit) {
  Unit u;
  u.id = 9;
  u.name = "Wagen.rm";
  u.byteB = 200;
  std::string good = File({}, {}, {u});
  // Offsets: count 4, id 6, name 8, check id 17, second name 19, values 25,
  // first byte 69, byte B 70, zero8 71, check name 72, check B 81.
  ASSERT_EQ(Load(good), 1);
  struct Case {
    std::size_t offset;
    std::string bytes;
    const char* diagnostic;
  };
  const Case cases[] = {{17, Le16(10), "I: 10 S: 9\n"},
                        {71, "\x05", "I: 5 S: 0\n"},
                        {81, "\xC9", "I: 201 S: 200\n"},
                        {73, "X", nullptr}};
  for (const Case& c : cases) {
    messages_.clear();
    Mark();
    EXPECT_EQ(Load(Patched(good, c.offset, c.bytes)), 0);
    EXPECT_EQ(messages_.messages(), (Messages{"Rollmaterial Nr. 9 fehlerhaft!\n"})) << c.offset;
    if (c.diagnostic != nullptr) {
      EXPECT_EQ(NewLines(), (Messages{c.diagnostic}));
    } else {
      EXPECT_TRUE(NewLines().empty());
    }
  }
  // The same fault in a unit whose name ends in ".dll" in any case.
  u.name = "Loks\\V200.DlL";
  std::string dll = File({}, {}, {u});
  messages_.clear();
  EXPECT_EQ(Load(Patched(dll, 6 + 1 + u.name.size() + 2, Le16(10))), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Dll-Modell \"Loks\\V200.DlL\" kann nicht benutzt werden!\n"}));
}

TEST_F(ReaderTest, DllUnitsCarryTheExtraDataTheirDataSheetAnnounces) {
  WriteDataSheet("V200", "ZusLen=99\r\n[Zuvo]\r\nName=V 200\r\nZusLen=12\r\n");
  Unit u;
  u.id = 3;
  u.name = "Loks\\V200.DLL";
  u.extra = std::string("\x01\x00\x02\x03\x04\x05\x06\x07\x08\x09\x0A\xFF", 12);
  Unit plain;
  plain.id = 4;
  ASSERT_EQ(Load(File({}, {}, {u, plain, u})), 1)
      << (messages_.messages().empty() ? "" : messages_.messages()[0]);
  ASSERT_EQ(layout_.rollingStock.size(), 3u);
  const auto& extra = layout_.rollingStock[0].extraData;
  EXPECT_EQ(std::string(extra.begin(), extra.end()), u.extra);
  EXPECT_TRUE(layout_.rollingStock[1].extraData.empty());
  EXPECT_EQ(layout_.rollingStock[2].extraData.size(), 12u);
  EXPECT_EQ(layout_.rollingStock[2].secondName, "Zweit");

  // Without its data sheet the extra bytes are taken for the next fields.
  Unit other = u;
  other.name = "Loks\\Ohne.dll";
  messages_.clear();
  EXPECT_EQ(Load(File({}, {}, {other})), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Dll-Modell \"Loks\\Ohne.dll\" kann nicht benutzt werden!\n"}));
}

TEST_F(ReaderTest, DataSheetLengthsThatCannotBeMeantRefuseTheUnit) {
  Unit u;
  u.id = 3;
  u.name = "Lok.dll";
  for (const char* length : {"-1", "-32768", "32768", "65548", "40000", "2147483647"}) {
    WriteDataSheet("Lok", std::string("[Zuvo]\r\nZusLen=") + length + "\r\n");
    messages_.clear();
    EXPECT_EQ(Load(File({}, {}, {u})), 0) << length;
    EXPECT_EQ(messages_.messages(), (Messages{"Dll-Modell \"Lok.dll\" kann nicht benutzt werden!\n"}))
        << length;
  }
  // A length the file cannot hold.
  WriteDataSheet("Lok", "[Zuvo]\r\nZusLen=32767\r\n");
  messages_.clear();
  EXPECT_EQ(Load(File({}, {}, {u})), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Dll-Modell \"Lok.dll\" kann nicht benutzt werden!\n"}));
  // Zero means no extra data.
  WriteDataSheet("Lok", "[Zuvo]\r\nZusLen=0\r\n");
  EXPECT_EQ(Load(File({}, {}, {u})), 1);
}

TEST_F(ReaderTest, TrailersFollowAscendingIdsOfUnitsBelow30000) {
  auto unit = [](int id, std::uint32_t trailer) {
    Unit u;
    u.id = id;
    u.trailerValue = trailer;
    u.trailerByte = static_cast<int>(trailer & 0xFF);
    u.trailerShort = -static_cast<int>(trailer);
    return u;
  };
  std::vector<Unit> units = {unit(7, 70), unit(3, 30), unit(0, 1), unit(30000, 2),
                             unit(-5, 3), unit(3, 31), unit(29999, 99)};
  std::string file = File({}, {}, units);
  // Exactly three trailers: ids 3, 7 and 29999 in this order.
  std::string expected = Le32(30) + "\x1E" + Le16(-30) + Le32(70) + "\x46" + Le16(-70) + Le32(99) +
                         "\x63" + Le16(-99);
  ASSERT_EQ(file.substr(file.size() - 21), expected);
  ASSERT_EQ(Load(file), 1);
  EXPECT_EQ(layout_.rollingStock[0].trailerValue, 70u);
  EXPECT_EQ(layout_.rollingStock[1].trailerValue, 30u);
  EXPECT_EQ(layout_.rollingStock[1].trailerShort, -30);
  EXPECT_EQ(layout_.rollingStock[5].trailerValue, 0u);  // a later unit with id 3
  EXPECT_EQ(layout_.rollingStock[3].trailerValue, 0u);  // id 30000
  EXPECT_EQ(layout_.rollingStock[6].trailerByte, 99);
}

TEST_F(ReaderTest, PropertiesSeparatorsAndBlock) {
  for (int which = 0; which < 2; ++which) {
    Tail tail;
    tail.separators[which] = 5;
    messages_.clear();
    Mark();
    EXPECT_EQ(Load(File({}, {}, {}, tail)), 0);
    EXPECT_TRUE(messages_.messages().empty());
    EXPECT_EQ(NewLines(), (Messages{"I: 5 S: 0\n"}));
  }
  std::string empty = File({}, {}, {});
  // Fewer than 20 bytes for the block: the file ends 8 bytes into it.
  messages_.clear();
  EXPECT_EQ(Load(empty.substr(0, empty.size() - 16)), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Feher in Eigenschaften!\n"}));
  messages_.clear();
  EXPECT_EQ(Load(empty.substr(0, empty.size() - 24)), 0);  // right before the block
  EXPECT_EQ(messages_.messages(), (Messages{"Feher in Eigenschaften!\n"}));
  messages_.clear();
  EXPECT_EQ(Load(empty.substr(0, empty.size() - 30)), 0);  // inside the colours
  EXPECT_EQ(messages_.messages(), (Messages{"Formatfehler!\n"}));
}

TEST_F(ReaderTest, StringsKeepEveryByte) {
  Track t;
  t.name = std::string("Gl\0eis\xFC", 7);
  Model m;
  m.name = "";
  Unit u;
  u.name = std::string(255, 'x');
  u.second = std::string("a\0b", 3);
  ASSERT_EQ(Load(File({t}, {m}, {u})), 1);
  EXPECT_EQ(layout_.tracks[0].name, t.name);
  EXPECT_EQ(layout_.models[0].name, "");
  EXPECT_EQ(layout_.rollingStock[0].name.size(), 255u);
  EXPECT_EQ(layout_.rollingStock[0].secondName, u.second);

  // A name running past the end of the file.
  Bytes b;
  b.I16(1).I16(1).U8(200).Raw("abc");
  EXPECT_EQ(Load(b.data), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Formatfehler!\n"}));
}

TEST_F(ReaderTest, HostileCountsNeverReadOrAllocateBeyondTheirBounds) {
  // 32767 tracks announced, one present.
  Bytes big;
  big.I16(32767);
  AppendTrack(big, Track());
  EXPECT_EQ(Load(big.data), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Formatfehler!\n"}));
  EXPECT_EQ(layout_.tracks.size(), 32767u);
  EXPECT_EQ(layout_.tracks[1].id, 0);

  // A count below 0 is an empty list; the records behind it are then read as
  // whatever follows, and the load fails with that part's message.
  Bytes negative;
  negative.I16(-1);
  Track t;
  t.id = 1;
  AppendTrack(negative, t);
  layout_bytes::AppendTail(negative, Tail());
  messages_.clear();
  EXPECT_EQ(Load(negative.data), 0);
  EXPECT_EQ(messages_.messages().size(), 1u);
  EXPECT_TRUE(layout_.tracks.empty());

  Bytes emptyNegative;
  emptyNegative.I16(-32768).I16(-1).I16(-2);
  layout_bytes::AppendTail(emptyNegative, Tail());
  EXPECT_EQ(Load(emptyNegative.data), 1);
}

TEST_F(ReaderTest, ALoadStartsFromScratch) {
  Track t;
  t.id = 5;
  ASSERT_EQ(Load(File({t, t}, {Model()}, {Unit()})), 1);
  Unit bad;
  bad.id = 1;
  std::string file = File({t}, {}, {bad, bad});
  ASSERT_EQ(Load(file), 1);
  // A good layout, then a bad one: nothing of the first is left over.
  EXPECT_EQ(Load(file.substr(0, file.size() - 200)), 0);
  EXPECT_EQ(layout_.loaded, 0);
  EXPECT_EQ(layout_.tracks.size(), 1u);
  EXPECT_TRUE(layout_.models.empty());
  ASSERT_EQ(layout_.rollingStock.size(), 2u);

  // A file that cannot be opened.
  TempDir dir;
  messages_.clear();
  EXPECT_EQ(layout_.Load(dir.Path("fehlt.anl")), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Can't open " + dir.Path("fehlt.anl") + "!\n"}));
  EXPECT_TRUE(layout_.tracks.empty());

  dir.Write("gut.anl", File({t}, {}, {}));
  EXPECT_EQ(layout_.Load(dir.Path("gut.anl")), 1);
  EXPECT_EQ(layout_.tracks.size(), 1u);
}

}  // namespace
