// Camera sets in the settings file: key order, value format, defaults and the
// trip from views to angles and back.

#include "layout/camera_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using layout::CameraView;
using layout::kCameraViewCount;
using settings::SettingsFile;

CameraView View(float x, float y, float z, int px) {
  CameraView v;
  v.dirX = x;
  v.dirY = y;
  v.dirZ = z;
  v.PX = px;
  v.PY = -px;
  v.PZ = 7;
  v.OW = 38;
  v.LH = 47200;
  return v;
}

TEST(CameraSetTest, WritesThirtyFiveKeysInOrderWithTrimmedAngles) {
  const CameraView views[kCameraViewCount] = {
      View(1.0f, 0.0f, 0.0f, 1),                      // 0 and 0
      View(0.0f, 1.0f, 0.0f, 2),                      // 90
      View(-1.0f, 0.0f, 0.0f, 3),                     // 180
      View(0.0f, 0.0f, 0.0f, 4),                      // no direction at all: 0 and 0
      View(0.782608151f, 0.622514665f, 0.0f, -18100)  // 38.5 through single precision
  };
  SettingsFile settings;
  layout::WriteCameraSet(&settings, "Abend", views);
  const char* angles[kCameraViewCount][2] = {{"0", "0"}, {"90", "0"}, {"180", "0"}, {"0", "0"}, {"38.5", "0"}};
  std::string expected = "[KamSet Abend]\r\n";
  for (int i = 0; i < kCameraViewCount; ++i) {
    const CameraView& v = views[i];
    const std::string n = std::to_string(i + 1);
    expected += "PX" + n + "=" + std::to_string(v.PX) + "\r\nPY" + n + "=" + std::to_string(v.PY) +
                "\r\nPZ" + n + "=7\r\nOW" + n + "=38\r\nLH" + n + "=47200\r\nWX" + n + "=" +
                angles[i][0] + "\r\nWH" + n + "=" + angles[i][1] + "\r\n";
  }
  EXPECT_EQ(settings.Serialize(), expected);

  EXPECT_EQ(layout::FormatCameraReal(38.5f), "38.5");
  EXPECT_EQ(layout::FormatCameraReal(90.0f), "90");
  EXPECT_EQ(layout::FormatCameraReal(0.0f), "0");
  EXPECT_EQ(layout::FormatCameraReal(24.145552f), "24.145552");
  EXPECT_EQ(layout::FormatCameraReal(-4.844f), "-4.844");
  EXPECT_EQ(layout::FormatCameraReal(-90.0f), "-90");
  EXPECT_EQ(layout::FormatCameraReal(100.25f), "100.25");
}

TEST(CameraSetTest, ReadsWhatItWroteUpToSinglePrecision) {
  CameraView views[kCameraViewCount];
  const float angles[kCameraViewCount][2] = {{24.145552f, -4.844f}, {-123.25f, 12.5f}, {0.0f, 89.0f},
                                             {179.5f, -45.0f}, {10.123456f, 0.001f}};
  for (int i = 0; i < kCameraViewCount; ++i) {
    double wx = angles[i][0] * 0.017453292519943295, wh = angles[i][1] * 0.017453292519943295;
    views[i] = View(static_cast<float>(std::cos(wh) * std::cos(wx)),
                    static_cast<float>(std::cos(wh) * std::sin(wx)), static_cast<float>(std::sin(wh)),
                    1000 * i - 2000000000);
  }
  SettingsFile settings;
  layout::WriteCameraSet(&settings, "Rundweg", views);
  CameraView back[kCameraViewCount];
  layout::ReadCameraSet(settings, "Rundweg", back);
  for (int i = 0; i < kCameraViewCount; ++i) {
    EXPECT_EQ(back[i].PX, views[i].PX);
    EXPECT_EQ(back[i].PY, views[i].PY);
    EXPECT_EQ(back[i].PZ, 7);
    EXPECT_EQ(back[i].OW, 38);
    EXPECT_EQ(back[i].LH, 47200);
    EXPECT_NEAR(back[i].dirX, views[i].dirX, 2e-6) << i;
    EXPECT_NEAR(back[i].dirY, views[i].dirY, 2e-6) << i;
    EXPECT_NEAR(back[i].dirZ, views[i].dirZ, 2e-6) << i;
  }
  // The first view's angles are stored as they were read.
  EXPECT_EQ(*settings.Find("KamSet Rundweg", "WX1"), "24.145552");
  EXPECT_EQ(*settings.Find("KamSet Rundweg", "WH1"), "-4.844");
  EXPECT_EQ(*settings.Find("KamSet Rundweg", "WX2"), "-123.25");
  EXPECT_EQ(*settings.Find("KamSet Rundweg", "WH2"), "12.5");
}

TEST(CameraSetTest, MissingKeysTakeDefaultsAndASetWithoutPX1IsNoSet) {
  SettingsFile settings;
  settings.Parse(
      "[KamSet Abend]\nPX1=5\nOW1=40\nWX1=90\nWH1=0\n"
      "[KamSet abend]\nPY1=1\nPX2=3\n");
  CameraView untouched = View(0.5f, 0.5f, 0.5f, 99);
  CameraView views[kCameraViewCount] = {untouched, untouched, untouched, untouched, untouched};

  // "abend" lacks PX1 (set names are case-sensitive): nothing changes.
  layout::ReadCameraSet(settings, "abend", views);
  layout::ReadCameraSet(settings, "Nacht", views);
  for (const CameraView& v : views) {
    EXPECT_EQ(v.PX, 99);
    EXPECT_EQ(v.dirX, 0.5f);
  }

  layout::ReadCameraSet(settings, "Abend", views);
  EXPECT_EQ(views[0].PX, 5);
  EXPECT_EQ(views[0].PY, -6500);
  EXPECT_EQ(views[0].PZ, 2000);
  EXPECT_EQ(views[0].OW, 40);
  EXPECT_EQ(views[0].LH, 47200);
  EXPECT_NEAR(views[0].dirX, 0.0f, 1e-7);
  EXPECT_EQ(views[0].dirY, 1.0f);
  EXPECT_EQ(views[0].dirZ, 0.0f);
  // Views without any key: every default, the direction from 24.145552 and -4.844 degrees.
  EXPECT_EQ(views[3].PX, -18100);
  EXPECT_EQ(views[3].OW, 38);
  EXPECT_FLOAT_EQ(views[3].dirX, 0.90925008f);
  EXPECT_FLOAT_EQ(views[3].dirY, 0.40759504f);
  EXPECT_FLOAT_EQ(views[3].dirZ, -0.08444307f);

  // Written back into the existing section: its keys keep their places, the
  // missing ones follow them inside the section.
  layout::WriteCameraSet(&settings, "Abend", views);
  EXPECT_EQ(settings.entry(0).name, "KamSet Abend");
  EXPECT_EQ(settings.entry(1).name, "PX1");
  EXPECT_EQ(settings.entry(2).name, "OW1");
  EXPECT_EQ(settings.entry(3).name, "WX1");
  EXPECT_EQ(settings.entry(4).name, "WH1");
  EXPECT_EQ(settings.entry(5).name, "PY1");
  EXPECT_EQ(settings.entry(36).name, "KamSet abend");
  EXPECT_EQ(settings.count(), 39);
}

TEST(CameraSetTest, NamesOfAnyLength) {
  const std::string name(1000, 'n');
  CameraView views[kCameraViewCount] = {View(1, 0, 0, 1), View(1, 0, 0, 2), View(1, 0, 0, 3),
                                        View(1, 0, 0, 4), View(1, 0, 0, 5)};
  SettingsFile settings;
  layout::WriteCameraSet(&settings, name, views);
  EXPECT_EQ(settings.entry(0).name, "KamSet " + name);
  CameraView back[kCameraViewCount];
  layout::ReadCameraSet(settings, name, back);
  EXPECT_EQ(back[4].PX, 5);
}

}  // namespace
