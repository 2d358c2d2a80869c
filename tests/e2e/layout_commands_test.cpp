// zuvo resave and zuvo dump, run as the user runs them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "e2e/run_zuvo.h"
#include "layout/layout_bytes.h"
#include "support/test_support.h"

namespace {

using e2e::RunZuvo;
using layout_bytes::File;
using layout_bytes::Model;
using layout_bytes::Track;
using layout_bytes::Unit;
using testing_support::TempDir;

Model Bridge(int z) {
  Model m;
  m.id = 5;
  m.name = "..\\Bruecken\\Stein";
  m.pos[0] = 500;
  m.pos[1] = 0;
  m.pos[2] = z;
  return m;
}

TEST(LayoutCommandsTest, ResaveWritesTheLayoutBackPrepared) {
  TempDir dir;
  Track t;
  t.end[2] = 40;
  Model house;
  house.id = 6;
  dir.Write("Berg.anl", File({t}, {Bridge(-7), house, house}, {Unit()}));

  e2e::RunResult run = RunZuvo({"resave", dir.NativePath("Berg.anl")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  // The bridge moved to the middle height of its track; the duplicate is gone.
  EXPECT_EQ(dir.Read("Berg.anl"), File({t}, {Bridge(20), house}, {Unit()}));

  // Named by its settings file, the layout file of the pair is saved.
  dir.Write("Berg.anl", File({t}, {Bridge(-7)}, {}));
  run = RunZuvo({"resave", dir.NativePath("Berg.DANL")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(dir.Read("Berg.anl"), File({t}, {Bridge(20)}, {}));
  EXPECT_FALSE(dir.Exists("Berg.DANL"));
}

TEST(LayoutCommandsTest, AFailedLoadExitsWithOneAndChangesNothing) {
  TempDir dir;
  Track t;
  t.id = 7;
  t.name = "G";
  std::string bad = File({t}, {}, {});
  bad[46] = 8;  // the track's check id
  dir.Write("Bad.anl", bad);
  for (const char* command : {"resave", "dump"}) {
    e2e::RunResult run = RunZuvo({command, dir.NativePath("Bad.anl")});
    EXPECT_EQ(run.exitCode, 1) << command;
    EXPECT_EQ(run.out, "I: 8 S: 7\n") << command;
    EXPECT_EQ(run.err, "Gleis Nr. 7 fehlerhaft!\n") << command;
    EXPECT_EQ(dir.Read("Bad.anl"), bad) << command;
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"Bad.anl"}));
  }

  e2e::RunResult missing = RunZuvo({"dump", dir.NativePath("Fehlt.anl")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("Can't open "), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("Fehlt.anl!"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.out, "");

  e2e::RunResult wrongExtension = RunZuvo({"resave", dir.NativePath("Bad.txt")});
  EXPECT_EQ(wrongExtension.exitCode, 1);
  EXPECT_EQ(wrongExtension.err, "falsche Endung: txt\n");

  EXPECT_EQ(RunZuvo({"dump"}).exitCode, 2);
}

TEST(LayoutCommandsTest, ASaveThatFailsLeavesTheFileAndSaysSo) {
  TempDir dir;
  std::string original = File({Track()}, {Bridge(-7)}, {});
  dir.Write("Berg.anl", original);
  e2e::RunOptions faults;
  faults.environment = {"ZUVO_FAULTS=write:1"};
  e2e::RunResult run = RunZuvo({"resave", dir.NativePath("Berg.anl")}, faults);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Fehler beim Schreiben von "), std::string::npos) << run.err;
  EXPECT_EQ(dir.Read("Berg.anl"), original);
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"Berg.anl"}));
}

TEST(LayoutCommandsTest, DumpPrintsEveryRecordAsJson) {
  TempDir host;
  host.Write("Rollmaterial\\Datenbl\xE4tter\\V200.txt", "[Zuvo]\r\nZusLen=3\r\n");
  TempDir dir;
  Track t;
  t.name = "Gleis\xFC";
  Model m;
  m.dir[1] = -0.5f;
  Unit u;
  u.id = 3;
  u.name = "Loks\\V200.dll";
  u.extra = std::string("\x00\xAB\x7F", 3);
  u.trailerValue = 77;
  dir.Write("Berg.anl", File({t}, {Bridge(0), m}, {u}));

  e2e::RunResult run =
      RunZuvo({"--host", host.NativePath(""), "dump", dir.NativePath("Berg.anl")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  nlohmann::json j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["loaded"], 1);
  ASSERT_EQ(j["tracks"].size(), 1u);
  EXPECT_EQ(j["tracks"][0]["name"], "Gleis\xC3\xBC");
  EXPECT_EQ(j["tracks"][0]["end"], nlohmann::json::array({1000, 0, 0}));
  EXPECT_EQ(j["tracks"][0]["endCount"], 2);
  EXPECT_EQ(j["tracks"][0]["connections"].size(), 20u);
  EXPECT_EQ(j["tracks"][0]["linkedModel"], 0);
  EXPECT_EQ(j["models"][1]["direction"][1], -0.5);
  EXPECT_EQ(j["models"][0]["name"], "..\\Bruecken\\Stein");
  EXPECT_EQ(j["rollingStock"][0]["extraData"], "00ab7f");
  EXPECT_EQ(j["rollingStock"][0]["trailerValue"], 77);
  EXPECT_EQ(j["cameraViews"].size(), 5u);
  EXPECT_EQ(j["cameraViews"][4]["LH"], 0);
  EXPECT_EQ(j["properties"]["block"], std::string(40, '0'));
}

}  // namespace
