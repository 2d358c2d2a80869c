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
using layout_bytes::Track;
using layout_bytes::Unit;
using Messages = std::vector<std::string>;

class WriterTest : public testing::Test {
 protected:
  void SetUp() override { host::SetHostDirectoryOverride(install_.windows()); }
  void TearDown() override {
    platform::ClearFaults();
    host::SetHostDirectoryOverride("");
    host::ResetHostDirectoryCache();
  }

  testing_support::TempDir install_;
  testing_support::TempDir dir_;
  testing_support::MessageRecorder messages_;
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
    for (int i = 0; i < 20; ++i) t.link[i] = (i + t.ends) % 3 == 0 ? 0 : 1000 + i + type, t.linkEnd[i] = -i;
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

TEST_F(WriterTest, LoadThenSaveGivesTheSameBytes) {
  std::string bytes;
  ASSERT_EQ(Layout().Serialize(&bytes), 1);
  EXPECT_EQ(bytes, std::string(198, '\0'));

  install_.Write("Rollmaterial\\Datenbl\xE4tter\\V200.txt", "[Zuvo]\r\nZusLen=5\r\n");
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
  ASSERT_EQ(l.Load(dir_.Path("a.anl")), 1);
  EXPECT_EQ(l.tracks[0].linkedModel, 0);
  EXPECT_EQ(l.tracks[1].linkedModel, 1);
  ASSERT_EQ(l.Save(dir_.Path("a.anl")), 1);
  EXPECT_EQ(dir_.Read("a.anl"), original);
  EXPECT_TRUE(messages_.messages().empty());
}

// (Models placed and duplicates left out by a save: the resave end-to-end test.)
TEST_F(WriterTest, TypesFollowTheRecordsAndRemovedRecordsAreLeftOut) {
  Track one;
  one.id = 4;
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
  Track seven = one;
  seven.type = 7, seven.variant = 9;
  Model other;
  other.name = "Anders";
  EXPECT_EQ(bytes, File({seven}, {other}, {Unit()}));
  EXPECT_EQ(l.tracks[0].type, 7);
}

TEST_F(WriterTest, WhatTheFileCannotHoldIsNeverWritten) {
  dir_.Write("a.anl", "old");
  for (int which = 0; which < 4; ++which) {
    Layout l;
    l.tracks.resize(1);
    l.tracks[0].id = 1, l.tracks[0].type = 6, l.tracks[0].endCount = 2;
    l.models.resize(1);
    l.models[0].id = 1;
    l.rollingStock.resize(1);
    l.rollingStock[0].id = 1;
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
  for (std::size_t i = 0; i < many.models.size(); ++i) {
    many.models[i].id = 1;
    many.models[i].position.y = static_cast<int>(i);  // no duplicates
  }
  std::string bytes;
  EXPECT_EQ(many.Serialize(&bytes), 0);
  many.models[0].id = 0;
  EXPECT_EQ(many.Serialize(&bytes), 1);
}

// (The messages and the files on disk under every fault: the end-to-end fault sweep.)
TEST_F(WriterTest, AFailedSaveLeavesTheLayoutInMemoryAsItWas) {
  Model bridge = Bridge();
  bridge.pos[2] = -50;  // a save moves it, drops the duplicate house and writes type 7 as 1
  Track seven;
  seven.id = 50, seven.type = 7;
  std::vector<Track> tracks = EveryTrackType();
  tracks.push_back(seven);
  const std::string original = File(tracks, {bridge, Model(), Model()}, {Unit()});
  dir_.Write("a.anl", original);
  Layout l;
  ASSERT_EQ(l.Load(dir_.Path("a.anl")), 1);
  ASSERT_EQ(l.tracks[0].linkedModel, 0);
  for (platform::FaultKind kind :
       {platform::kFaultCreate, platform::kFaultWrite, platform::kFaultClose, platform::kFaultRename}) {
    SCOPED_TRACE(kind);
    platform::ClearFaults();
    platform::PlanFault(kind, 1);
    EXPECT_EQ(l.Save(dir_.Path("a.anl")), 0);
    EXPECT_EQ(dir_.Read("a.anl"), original);
    EXPECT_EQ(dir_.List(), Messages{"a.anl"});
    EXPECT_EQ(l.models[0].position.z, -50);
    EXPECT_EQ(l.models[2].id, 1);
    EXPECT_EQ(l.tracks[0].linkedModel, 0);
    EXPECT_EQ(l.tracks.back().type, 7);
  }
  platform::ClearFaults();
  EXPECT_EQ(l.Save(dir_.Path("a.anl")), 1);
  EXPECT_NE(dir_.Read("a.anl"), original);
  EXPECT_EQ(l.models[0].position.z, 6);
  EXPECT_EQ(l.models[2].id, 0);
  EXPECT_EQ(l.tracks.back().type, 1);
}

}  // namespace
