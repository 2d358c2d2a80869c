// Camera sets in the settings file: key order, value format, defaults and the
// trip from views to angles and back.
#include "layout/camera_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using layout::CameraView;
using layout::kCameraViewCount;
using settings::SettingsFile;

CameraView View(float x, float y, float z, int px) {
  CameraView v;
  v.dirX = x, v.dirY = y, v.dirZ = z, v.PX = px, v.PY = -px, v.PZ = 7, v.OW = 38, v.LH = 47200;
  return v;
}
std::vector<double> Numbers(const CameraView& v) {
  return {double(v.PX), double(v.PY), double(v.PZ), double(v.OW), double(v.LH)};
}

TEST(CameraSetTest, WritesThirtyFiveKeysInOrderWithTrimmedAnglesAndReadsThemBack) {
  const std::string name = "Abend " + std::string(1000, 'n');  // names of any length
  const CameraView views[kCameraViewCount] = {
      View(1.0f, 0.0f, 0.0f, 1), View(0.0f, 1.0f, 0.0f, 2), View(-1.0f, 0.0f, 0.0f, 3),
      View(0.0f, 0.0f, 0.0f, 4),                      // no direction at all: 0 and 0
      View(0.782608151f, 0.622514665f, 0.0f, -18100)  // 38.5 through single precision
  };
  SettingsFile settings;
  layout::WriteCameraSet(&settings, name, views);
  const char* wx[kCameraViewCount] = {"0", "90", "180", "0", "38.5"};
  std::string expected = "[KamSet " + name + "]\r\n";
  for (int i = 0; i < kCameraViewCount; ++i) {
    const std::string n = std::to_string(i + 1);
    expected += "PX" + n + "=" + std::to_string(views[i].PX) + "\r\nPY" + n + "=" + std::to_string(views[i].PY) +
                "\r\nPZ" + n + "=7\r\nOW" + n + "=38\r\nLH" + n + "=47200\r\nWX" + n + "=" + wx[i] + "\r\nWH" +
                n + "=0\r\n";
  }
  EXPECT_EQ(settings.Serialize(), expected);
  EXPECT_EQ(layout::FormatCameraReal(-90.0f) + " " + layout::FormatCameraReal(100.25f), "-90 100.25");

  // Angles to views and back, to single precision; angles as they were read.
  CameraView back[kCameraViewCount];
  const float angles[kCameraViewCount][2] = {{24.145552f, -4.844f}, {-123.25f, 12.5f}, {0.0f, 89.0f},
                                             {179.5f, -45.0f}, {10.123456f, 0.001f}};
  for (int i = 0; i < kCameraViewCount; ++i) {
    settings.Set("KamSet Rundweg", "WX" + std::to_string(i + 1), layout::FormatCameraReal(angles[i][0]));
    settings.Set("KamSet Rundweg", "WH" + std::to_string(i + 1), layout::FormatCameraReal(angles[i][1]));
  }
  settings.Set("KamSet Rundweg", "PX1", "-2000000000");
  layout::ReadCameraSet(settings, "Rundweg", back);
  EXPECT_EQ(back[0].PX, -2000000000);
  layout::WriteCameraSet(&settings, "Rundweg", back);
  for (int i = 0; i < kCameraViewCount; ++i) {
    const double x = angles[i][0] * 0.017453292519943295, h = angles[i][1] * 0.017453292519943295;
    EXPECT_NEAR(back[i].dirX, std::cos(h) * std::cos(x), 2e-6) << i;
    EXPECT_NEAR(back[i].dirY, std::cos(h) * std::sin(x), 2e-6) << i;
    EXPECT_NEAR(back[i].dirZ, std::sin(h), 2e-6) << i;
  }
  std::string text;
  for (const char* key : {"WX1", "WH1", "WX2", "WH2"}) text += *settings.Find("KamSet Rundweg", key) + " ";
  EXPECT_EQ(text, "24.145552 -4.844 -123.25 12.5 ");
}

TEST(CameraSetTest, MissingKeysTakeDefaultsAndASetWithoutPX1IsNoSet) {
  SettingsFile settings;
  settings.Parse("[KamSet Abend]\nPX1=5\nOW1=40\nWX1=90\nWH1=0\n[KamSet abend]\nPY1=1\nPX2=3\n");
  const CameraView untouched = View(0.5f, 0.5f, 0.5f, 99);
  CameraView views[kCameraViewCount] = {untouched, untouched, untouched, untouched, untouched};
  // "abend" lacks PX1 (set names are case-sensitive), "Nacht" is no section.
  layout::ReadCameraSet(settings, "abend", views);
  layout::ReadCameraSet(settings, "Nacht", views);
  for (const CameraView& v : views) EXPECT_EQ(Numbers(v), Numbers(untouched));
  for (const CameraView& v : views) EXPECT_EQ(v.dirX, 0.5f);
  layout::ReadCameraSet(settings, "Abend", views);
  EXPECT_EQ(Numbers(views[0]), (std::vector<double>{5, -6500, 2000, 40, 47200}));
  EXPECT_NEAR(views[0].dirX, 0.0f, 1e-7);
  EXPECT_EQ(views[0].dirY, 1.0f);
  EXPECT_EQ(views[0].dirZ, 0.0f);
  // A view without any key: every default, the direction from 24.145552 and -4.844 degrees.
  EXPECT_EQ(Numbers(views[3]), (std::vector<double>{-18100, -6500, 2000, 38, 47200}));
  EXPECT_FLOAT_EQ(views[3].dirX, 0.90925008f);
  EXPECT_FLOAT_EQ(views[3].dirY, 0.40759504f);
  EXPECT_FLOAT_EQ(views[3].dirZ, -0.08444307f);

  // Written back: the section's keys keep their places, the missing ones follow inside it.
  layout::WriteCameraSet(&settings, "Abend", views);
  const char* order[] = {"KamSet Abend", "PX1", "OW1", "WX1", "WH1", "PY1"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(settings.entry(i).name, order[i]);
  EXPECT_EQ(settings.entry(36).name, "KamSet abend");
  EXPECT_EQ(settings.count(), 39);
}

}  // namespace
