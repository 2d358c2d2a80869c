#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/installation.h"
#include "layout/layout.h"
#include "layout/layout_bytes.h"
#include "platform/faults.h"
#include "support/test_support.h"

namespace {

using layout::Layout;
using layout_bytes::File;
using layout_bytes::Model;
using layout_bytes::Tail;
using layout_bytes::Track;
using layout_bytes::Unit;
using testing_support::MessageRecorder;
using testing_support::TempDir;

using Messages = std::vector<std::string>;

class WriterTest : public testing::Test {
 protected:
  void SetUp() override { host::SetHostDirectoryOverride(install_.windows()); }
  void TearDown() override {
    platform::ClearFaults();
    host::SetHostDirectoryOverride("");
    host::ResetHostDirectoryCache();
  }

  // Writes `bytes` as a layout file, loads it and saves it over itself;
  // returns what the file holds afterwards.
  std::string Resave(const std::string& bytes) {
    dir_.Write("a.anl", bytes);
    Layout l;
    EXPECT_EQ(l.Load(dir_.Path("a.anl")), 1) << (messages_.messages().empty() ? "" : messages_.messages()[0]);
    EXPECT_EQ(l.Save(dir_.Path("a.anl")), 1);
    return dir_.Read("a.anl");
  }

  TempDir install_;
  TempDir dir_;
  MessageRecorder messages_;
};

TEST_F(WriterTest, AnEmptyLayoutIsThreeCountsCamerasAndProperties) {
  Layout l;
  std::string bytes;
  ASSERT_EQ(l.Serialize(&bytes), 1);
  EXPECT_EQ(bytes, std::string(198, '\0'));
}

// Tracks of every type, with every field set, including pieces that carry a
// bridge and a buffer stop already in the place their tracks give them.
std::vector<Track> EveryTrackType() {
  std::vector<Track> tracks;
  int id = 1;
  for (int type : {1, 2, 3, 4, 6, 7, 8, 9}) {
    Track t;
    t.id = id++;
    t.name = "Typ " + std::to_string(type);
    t.type = type;
    t.variant = type >= 6 ? -type : 0;
    t.dir[0] = 0.0f; t.dir[1] = 1.0f; t.dir[2] = -0.0f;
    t.start[0] = 100 * type; t.start[1] = -7; t.start[2] = 3;
    t.end[0] = 100 * type; t.end[1] = 993; t.end[2] = 8;
    for (int i = 0; i < 20; ++i) {
      t.link[i] = i + type;
      t.linkEnd[i] = -i;
    }
    t.third = 300 + type;
    t.fourth = 400 + type;
    t.gbo = std::string("GBO\\Halle\0x", 11);
    tracks.push_back(t);
  }
  for (int ends = 2; ends <= 20; ++ends) {
    Track t;
    t.id = id++;
    t.name = "Weiche";
    t.type = 11;
    t.ends = ends;
    for (int i = 0; i < 20; ++i) t.link[i] = (i + ends) % 3 == 0 ? 0 : 1000 + i;
    t.groupA[0] = 0xFFFFFFFF; t.groupA[2] = 1;
    t.groupB[1] = 0x7FC00001;  // a NaN's bits, carried as they are
    t.groupC[0] = 5; t.groupC[2] = 0x80000000;
    t.multi = -2.5f;
    t.third = -3;
    t.fourth = -4;
    tracks.push_back(t);
  }
  return tracks;
}

TEST_F(WriterTest, LoadThenSaveGivesTheSameBytes) {
  install_.Write("Rollmaterial\\Datenbl\xE4tter\\V200.txt", "[Zuvo]\r\nZusLen=5\r\n");
  install_.Write("Rollmaterial\\Datenbl\xE4tter\\Leer.txt", "[Zuvo]\r\nZusLen=0\r\n");

  std::vector<Track> tracks = EveryTrackType();
  // A bridge on the type-1 piece (middle of (100,-7,3)-(100,993,8)) and a
  // buffer stop on the type-2 piece ((200,993,8) minus 300 along +y).
  std::vector<Model> models(5);
  models[0].id = 1;
  models[0].name = "..\\Bruecken\\Stein";
  models[0].pos[0] = 100; models[0].pos[1] = 493; models[0].pos[2] = 6;
  models[0].dir[0] = 0.0f; models[0].dir[1] = 1.0f; models[0].dir[2] = -0.0f;
  models[1].id = 2;
  models[1].name = "..\\Prellbock\\Holz";
  models[1].pos[0] = 200; models[1].pos[1] = 693; models[1].pos[2] = 8;
  models[1].dir[0] = 0.0f; models[1].dir[1] = 1.0f; models[1].dir[2] = 0.0f;
  models[2].id = 2;  // repeated id, different model
  models[2].name = std::string(255, 'M');
  models[2].dir[1] = -0.0f;
  models[3].id = -9;
  models[3].name = "";
  models[3].dir[1] = -0.5f;
  models[3].values[0] = 0xFFFFFFFF;
  models[4].id = 32767;
  models[4].name = std::string("Null\0Byte", 9);
  models[4].dir[0] = 0.25f;

  std::vector<Unit> units(6);
  units[0].id = 7;
  units[0].name = "Loks\\V200.DLL";
  units[0].extra = std::string("\x00\xFF\x10\x00\x7F", 5);
  units[1].id = 3;
  units[1].name = "Loks\\Leer.dll";
  units[2].id = 7;  // a repeated id: no trailer of its own
  units[2].name = "V200.dll";
  units[2].extra = "12345";
  units[3].id = 30000;
  units[4].id = 32767;
  units[5].id = -1;
  units[5].second = "";
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i].trailerValue = 0xA0000000u + static_cast<std::uint32_t>(i);
    units[i].trailerByte = 0xB0 + static_cast<int>(i);
    units[i].trailerShort = -1000 - static_cast<int>(i);
    units[i].neighbourA = 3;
    units[i].neighbourAByte = 0xFF;
    units[i].neighbourBByte = 1;
  }
  Tail tail;
  tail.cameras[0][0] = 0x3F800000;
  tail.cameras[4][7] = 47200;
  tail.colourA[0] = 0xFF;
  tail.colourB[2] = 0x80;
  tail.block = std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\x13\x14", 20);
  tail.value = 0x12345678;

  std::string original = File(tracks, models, units, tail);
  EXPECT_EQ(Resave(original), original);
  EXPECT_TRUE(messages_.messages().empty());

  // The models were linked, and stayed where they stood.
  Layout l;
  ASSERT_EQ(l.LoadFromBytes(original), 1);
  EXPECT_EQ(l.tracks[0].linkedModel, 0);
  EXPECT_EQ(l.tracks[1].linkedModel, 1);
}

TEST_F(WriterTest, SavingPlacesLinkedModelsAndDropsDuplicates) {
  std::vector<Track> tracks = EveryTrackType();
  tracks.resize(2);
  std::vector<Model> models(4);
  models[0].id = 11;
  models[0].name = "..\\Bruecken\\Stein";
  models[0].pos[0] = 100; models[0].pos[1] = 493; models[0].pos[2] = -50;  // wrong height
  models[0].dir[0] = 0.0f; models[0].dir[1] = 1.0f; models[0].dir[2] = 0.0f;
  models[1].id = 12;
  models[2].id = 11;  // the same as model 1, but an id shared with the bridge
  models[3].id = 13;
  models[3].pos[0] = 1;
  std::string original = File(tracks, models, {});

  std::vector<Model> expectedModels = {models[0], models[1], models[3]};
  expectedModels[0].pos[2] = 6;      // the middle height
  expectedModels[0].dir[2] = -0.0f;  // the track's own direction, bit for bit
  EXPECT_EQ(Resave(original), File(tracks, expectedModels, {}));
}

TEST_F(WriterTest, TypesAreRecomputedAndRemovedRecordsLeftOut) {
  Track seven;
  seven.id = 4;
  seven.type = 7;
  seven.variant = 0;
  Track one = seven;
  one.type = 1;
  EXPECT_EQ(Resave(File({seven}, {}, {})), File({one}, {}, {}));

  Layout l;
  ASSERT_EQ(l.LoadFromBytes(File({one, one}, {Model(), Model()}, {Unit(), Unit()})), 1);
  l.tracks[0].variantValue = 9;  // a variant value turns a plain piece into type 7
  l.tracks[1].id = 0;
  l.models[1].name = "Anders";
  l.models[0].id = 0;
  l.rollingStock[0].id = 0;
  l.rollingStock[0].name = std::string(300, 'x');  // not written, so no harm
  std::string bytes;
  ASSERT_EQ(l.Serialize(&bytes), 1);
  Track variant = one;
  variant.type = 7;
  variant.variant = 9;
  Model other;
  other.name = "Anders";
  EXPECT_EQ(bytes, File({variant}, {other}, {Unit()}));
  EXPECT_EQ(l.tracks[0].type, 7);  // the change stays in memory
}

TEST_F(WriterTest, ANameTooLongForItsLengthByteIsNeverWritten) {
  dir_.Write("a.anl", "old");
  for (int which = 0; which < 4; ++which) {
    Layout l;
    l.tracks.resize(1);
    l.tracks[0].id = 1;
    l.tracks[0].type = 6;
    l.tracks[0].endCount = 2;
    l.models.resize(1);
    l.models[0].id = 1;
    l.rollingStock.resize(1);
    l.rollingStock[0].id = 1;
    std::string tooLong(256, 'n');
    switch (which) {
      case 0: l.tracks[0].name = tooLong; break;
      case 1: l.tracks[0].gboName = tooLong; break;
      case 2: l.models[0].name = tooLong; break;
      case 3: l.rollingStock[0].secondName = tooLong; break;
    }
    messages_.clear();
    EXPECT_EQ(l.Save(dir_.Path("a.anl")), 0);
    EXPECT_EQ(messages_.messages(), (Messages{"Fehler beim Schreiben von " + dir_.Path("a.anl") + "!\n"}));
    EXPECT_EQ(dir_.Read("a.anl"), "old");
  }
  // 32768 live records do not fit the 16-bit count.
  Layout many;
  many.models.resize(32768);
  for (layout::ModelRecord& m : many.models) m.id = 1;
  many.models[5].position.x = 1;  // not all equal, so not all dropped as duplicates
  for (std::size_t i = 0; i < many.models.size(); ++i) many.models[i].position.y = static_cast<int>(i);
  std::string bytes;
  EXPECT_EQ(many.Serialize(&bytes), 0);
  many.models[0].id = 0;
  EXPECT_EQ(many.Serialize(&bytes), 1);
}

TEST_F(WriterTest, AFailedSaveLeavesTheOldFileWhole) {
  // A bridge at the wrong height and a duplicate: a save would change both.
  Model bridge;
  bridge.name = "..\\Bruecken\\Stein";
  bridge.pos[0] = 100; bridge.pos[1] = 493; bridge.pos[2] = -50;
  bridge.dir[0] = 0.0f; bridge.dir[1] = 1.0f; bridge.dir[2] = -0.0f;
  Track seven;
  seven.id = 50;
  seven.type = 7;  // written as type 1
  std::vector<Track> tracks = EveryTrackType();
  tracks.push_back(seven);
  std::string original = File(tracks, {bridge, Model(), Model()}, {Unit()});
  dir_.Write("a.anl", original);
  Layout l;
  ASSERT_EQ(l.Load(dir_.Path("a.anl")), 1);
  ASSERT_EQ(l.tracks[0].linkedModel, 0);

  struct Case {
    platform::FaultKind kind;
    const char* message;
  };
  const Case cases[] = {{platform::kFaultCreate, "Can't open %s!\n"},
                        {platform::kFaultWrite, "Fehler beim Schreiben von %s!\n"},
                        {platform::kFaultClose, "Fehler beim Schreiben von %s!\n"},
                        {platform::kFaultRename, "Fehler beim Schreiben von %s!\n"}};
  for (const Case& c : cases) {
    platform::ClearFaults();
    platform::PlanFault(c.kind, 1);
    messages_.clear();
    EXPECT_EQ(l.Save(dir_.Path("a.anl")), 0) << c.kind;
    std::string expected = c.message;
    expected.replace(expected.find("%s"), 2, dir_.Path("a.anl"));
    EXPECT_EQ(messages_.messages(), (Messages{expected})) << c.kind;
    EXPECT_EQ(dir_.Read("a.anl"), original) << c.kind;
    EXPECT_EQ(dir_.List(), (std::vector<std::string>{"a.anl"})) << c.kind;
    // Nor has the layout in memory changed.
    EXPECT_EQ(l.models[0].position.z, -50) << c.kind;
    EXPECT_EQ(l.models[2].id, 1) << c.kind;
    EXPECT_EQ(l.tracks[0].linkedModel, 0) << c.kind;
    EXPECT_EQ(l.tracks.back().type, 7) << c.kind;
  }
  platform::ClearFaults();

  messages_.clear();
  EXPECT_EQ(l.Save(dir_.Path("fehlt\\a.anl")), 0);
  EXPECT_EQ(messages_.messages(), (Messages{"Can't open " + dir_.Path("fehlt\\a.anl") + "!\n"}));

  EXPECT_EQ(l.Save(dir_.Path("a.anl")), 1);
  EXPECT_NE(dir_.Read("a.anl"), original);
  EXPECT_EQ(l.models[0].position.z, 6);
  EXPECT_EQ(l.models[2].id, 0);
  EXPECT_EQ(l.tracks.back().type, 1);
}

}  // namespace
