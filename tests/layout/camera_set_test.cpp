// Camera sets in a settings file: the number text of the angles, the angles
// to and from the view directions, the order of the written keys, and what a
// set with missing keys reads as.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "layout/camera_set.h"
#include "settings/settings_file.h"

namespace {

using layout::CameraView;
using layout::kCameraViewCount;
using Strings = std::vector<std::string>;

TEST(CameraSetTest, AnglesAreWrittenWithSixDecimalsAndNoTrailingZeros) {
  const std::pair<float, const char*> cases[] = {
      {38.5f, "38.5"}, {-180.0f, "-180"}, {123.456f, "123.456001"}, {0.0000001f, "0"}, {0.0000006f, "0.000001"},
  };
  for (const auto& c : cases) EXPECT_EQ(layout::FormatCameraReal(c.first), c.second) << c.first;
}

// The keys of view `number` in the set "Test".
std::string Key(const settings::SettingsFile& file, const char* base, int number) {
  const std::string* value = file.Find("KamSet Test", std::string(base) + std::to_string(number));
  return value == nullptr ? "<missing>" : *value;
}

TEST(CameraSetTest, DirectionsBecomeHorizontalAndElevationAnglesAndBackWithTheKeysViewByView) {
  const struct {
    float x, y, z;
    const char *wx, *wh;
  } cases[] = {
      {0, 1, 0, "90", "0"}, {0, -1, 0, "-90", "0"},  {0, 0, -1, "0", "-90"},
      {2, 2, 0, "45", "0"}, {-3, 0, 3, "180", "45"},
  };
  for (const auto& c : cases) {
    CameraView views[kCameraViewCount] = {};
    views[2].dirX = c.x, views[2].dirY = c.y, views[2].dirZ = c.z;
    views[2].PX = -7, views[2].LH = 47200;
    settings::SettingsFile file;
    layout::WriteCameraSet(&file, "Test", views);
    EXPECT_EQ((Strings{Key(file, "WX", 3), Key(file, "WH", 3), Key(file, "PX", 3), Key(file, "LH", 3)}),
              (Strings{c.wx, c.wh, "-7", "47200"}))
        << c.x << ' ' << c.y << ' ' << c.z;
    // Read back: a unit vector in the same direction.
    CameraView back[kCameraViewCount] = {};
    layout::ReadCameraSet(file, "Test", back);
    const double length = std::sqrt(double(c.x) * c.x + double(c.y) * c.y + double(c.z) * c.z);
    EXPECT_NEAR(back[2].dirX, c.x / length, 1e-6);
    EXPECT_NEAR(back[2].dirY, c.y / length, 1e-6);
    EXPECT_NEAR(back[2].dirZ, c.z / length, 1e-6);
    EXPECT_EQ(back[2].PX, -7);
    Strings names, expected;
    for (const settings::SettingsEntry* entry : file.EntriesOf("KamSet Test")) names.push_back(entry->name);
    for (int i = 1; i <= kCameraViewCount; ++i) {
      for (const char* base : {"PX", "PY", "PZ", "OW", "LH", "WX", "WH"}) expected.push_back(base + std::to_string(i));
    }
    EXPECT_EQ(names, expected);
  }
}

TEST(CameraSetTest, ASetWithoutItsFirstKeyIsNoSetAndMissingKeysTakeTheirDefaults) {
  CameraView views[kCameraViewCount] = {};
  views[0].PX = 5, views[0].dirX = 1;
  settings::SettingsFile file, full;
  file.Parse("[KamSet Test]\r\nPY1=3\r\n");
  layout::ReadCameraSet(file, "Test", views);
  EXPECT_EQ(views[0].PX * 10 + views[0].PY, 50);
  full.Parse("[KamSet Test]\r\nPX1=1\r\nWX1=90\r\nWH1=0\r\n");
  layout::ReadCameraSet(full, "Test", views);
  EXPECT_EQ(views[0].PX, 1);
  EXPECT_NEAR(views[0].dirY, 1.0, 1e-6);
  // View 2 has no keys at all: every default.
  EXPECT_EQ((std::vector<std::int32_t>{views[1].PX, views[1].PY, views[1].PZ, views[1].OW, views[1].LH}),
            (std::vector<std::int32_t>{-18100, -6500, 2000, 38, 47200}));
  const double wx = 24.145552 * 3.14159265358979 / 180, wh = -4.844 * 3.14159265358979 / 180;
  EXPECT_NEAR(views[1].dirX, std::cos(wh) * std::cos(wx), 1e-6);
  EXPECT_NEAR(views[1].dirY, std::cos(wh) * std::sin(wx), 1e-6);
  EXPECT_NEAR(views[1].dirZ, std::sin(wh), 1e-6);
}

}  // namespace
