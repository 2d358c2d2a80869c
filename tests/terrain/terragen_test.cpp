#include <gtest/gtest.h>

#include "support/test_support.h"
#include "terrain/terragen.h"
#include "terrain/terrain_test_support.h"

namespace {

using terrain::TerragenHeightField;
using terrain_test::DataPath;
using terrain_test::Terragen;
using testing_support::MessageRecorder;
using testing_support::TempDir;
using Messages = std::vector<std::string>;

TEST(Terragen, ChunksScalesAndHeights) {
  TempDir dir;
  MessageRecorder messages;
  for (bool lower : {false, true}) {
    Terragen t(lower);
    t.Count("XPTS", 3).Count("YPTS", 2).Scale(2.3f, 99.0f, 30.0f).Tag("CRAD").F32(6370.0f);
    t.Tag("CRVM").U32(0);
    t.Heights(16384, 10, {400, 0, -400, 8, 16, 24}).Tag("EOF ").Text("ignored after the end");
    dir.Write("t.ter", t.s);
    TerragenHeightField field(dir.Path("t.ter"));
    EXPECT_EQ((std::vector<int>{2, 1, 230}), (std::vector<int>{field.cellsX, field.cellsY, field.pixelSize}));
    // (base + sample * scale / 65536) * z scale * 100; beyond the edge the
    // edge repeats.
    EXPECT_EQ((std::vector<double>{110 * 3000.0, -90 * 3000.0, 16 * 3000.0, 16 * 3000.0, -90 * 3000.0}),
              (std::vector<double>{field.HeightAt(0, 0), field.HeightAt(2, 0), field.HeightAt(2, 1),
                                   field.HeightAt(7, 9), field.minimumHeight}));
  }
  EXPECT_TRUE(messages.messages().empty());
  // (SIZE, odd counts and a file ending without "EOF ": fuzz_found_test.cpp.)
  // An x scale of 0 gives 7.81 m; others are rounded to whole centimetres
  // (2.3 m above to 230, not 229).
  const std::vector<std::pair<float, int>> sizes = {{0.0f, 781}, {0.006f, 1}, {0.004f, 0}, {-2.3f, -230}, {1e30f, 0}};
  for (const auto& s : sizes) EXPECT_EQ(s.second, terrain::TerragenPixelSize(s.first)) << s.first;
}

TEST(Terragen, FaultsAndTheirMessages) {
  TempDir dir;
  MessageRecorder messages;
  const std::string path = dir.Path("bad.ter");
  const std::string format = "Formatfehler in " + path + "!\n";
  Terragen unknown, thin, cut, shortSamples, claim;
  unknown.Count("XPTS", 2).Count("YPTS", 2).Tag("THNG").Heights(1, 0, {1, 2, 3, 4});
  thin.Count("XPTS", 1).Count("YPTS", 4).Heights(1, 0, {1, 2, 3, 4});
  cut.Count("XPTS", 2).Tag("YPTS").U8(2);
  shortSamples.Count("XPTS", 3).Count("YPTS", 2).Scale(1, 1, 1).Heights(16384, 100, {-8, 4});
  // A header that claims 65535 x 65535 samples in a tiny file.
  claim.Count("XPTS", 65535).Count("YPTS", 65535).Heights(1, 0, {5, 6});
  struct Case {
    const char* what;
    std::string bytes;
    Messages messages;
    int cellsX;
  };
  const std::vector<Case> cases = {
      {"magic", "TERRAGEXTERRAIN ", {"Keyword TERRAGEN missing!\n"}, 0},
      {"keyword", "TERRAGENTERRAINX", {"Keyword TERRAIN missing!\n"}, 0},
      {"unknown tag: the samples after it are not read", unknown.s, {format}, 0},
      {"one point in x: quietly empty", thin.s, {}, 0},
      {"chunk cut short", cut.s, {format}, 0},
      {"samples cut short: the missing ones are 0", shortSamples.s, {format}, 2},
      {"huge claim: nothing of that size allocated", claim.s, {format}, 65534},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages.clear();
    dir.Write("bad.ter", c.bytes);
    TerragenHeightField field(path);
    EXPECT_EQ(c.messages, messages.messages());
    EXPECT_EQ(c.cellsX, field.cellsX);
    if (c.cellsX == 0) {
      EXPECT_EQ(0, field.pixelSize);
    }
    if (c.bytes == shortSamples.s) {
      EXPECT_DOUBLE_EQ((100 - 2) * 100.0, field.HeightAt(0, 0));
      EXPECT_DOUBLE_EQ((100 + 1) * 100.0, field.HeightAt(1, 0));
      EXPECT_DOUBLE_EQ(100 * 100.0, field.HeightAt(2, 1));
      EXPECT_DOUBLE_EQ((100 - 2) * 100.0, field.minimumHeight);
    }
    if (c.bytes == claim.s) {
      EXPECT_EQ(2u, field.terrain.samples.size());
      EXPECT_DOUBLE_EQ(0.0, field.minimumHeight);
    }
  }
  messages.clear();
  EXPECT_EQ(0, TerragenHeightField(dir.Path("missing.ter")).cellsX);
  EXPECT_EQ(Messages{"Can't open " + dir.Path("missing.ter") + "!\n"}, messages.messages());
}

TEST(Terragen, FilesWrittenByGdal) {
  MessageRecorder messages;
  // Heights in metres, south row first, as make-data.sh gives them to GDAL.
  const double heights[3][4] = {{90, 100, 110, 120}, {50, 60, 70, 80}, {10, 20, 30, 40}};
  for (const char* name : {"gdal-30m.ter", "gdal-10m.ter"}) {
    SCOPED_TRACE(name);
    TerragenHeightField field(DataPath(name));
    ASSERT_EQ(3, field.cellsX);
    ASSERT_EQ(2, field.cellsY);
    EXPECT_EQ(std::string(name) == "gdal-30m.ter" ? 3000 : 1000, field.pixelSize);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) EXPECT_NEAR(heights[y][x] * 100, field.HeightAt(x, y), 1.0);
    }
    EXPECT_NEAR(1000.0, field.minimumHeight, 1.0);
  }
  // GDAL leaves out the padding of an odd sample count and "EOF ".
  TerragenHeightField odd(DataPath("gdal-odd.ter"));
  ASSERT_EQ(2, odd.cellsX);
  ASSERT_EQ(2, odd.cellsY);
  EXPECT_NEAR(3500.0, odd.HeightAt(0, 0), 1.0);
  EXPECT_NEAR(1500.0, odd.HeightAt(2, 2), 1.0);
  EXPECT_TRUE(messages.messages().empty());
}

}  // namespace
