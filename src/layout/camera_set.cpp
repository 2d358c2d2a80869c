#include "layout/camera_set.h"

#include <cmath>

#include "host/messages.h"

namespace layout {
namespace {

const double kDegreesToRadians = 0.017453292519943295;
const double kRadiansToDegrees = 57.29577951308232;

// Defaults of a set whose key is missing.
const int kDefaultPX = -18100;
const int kDefaultPY = -6500;
const int kDefaultPZ = 2000;
const int kDefaultOW = 38;
const int kDefaultLH = 47200;
const float kDefaultWX = 24.145552f;
const float kDefaultWH = -4.844f;

std::string KeyName(const char* base, int number) { return host::StringPrintf("%s%d", base, number); }

}  // namespace

std::string CameraSetSection(const std::string& name) { return "KamSet " + name; }

int GetIntKey(const settings::SettingsFile& settings, const std::string& section, int number, const char* base,
              int defaultValue) {
  return settings.GetInt(section, KeyName(base, number), defaultValue);
}

double GetRealKey(const settings::SettingsFile& settings, const std::string& section, int number, const char* base,
                  float defaultValue) {
  return settings.GetReal(section, KeyName(base, number), defaultValue);
}

void SetIntKey(settings::SettingsFile* settings, const std::string& section, int number, const char* base, int value) {
  settings->Set(section, KeyName(base, number), host::StringPrintf("%d", value));
}

void SetRealKey(settings::SettingsFile* settings, const std::string& section, int number, const char* base,
                float value) {
  settings->Set(section, KeyName(base, number), FormatCameraReal(value));
}

std::string FormatCameraReal(float value) {
  std::string text = host::StringPrintf("%.6lf", static_cast<double>(value));
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

void ReadCameraSet(const settings::SettingsFile& settings, const std::string& name,
                   CameraView views[kCameraViewCount]) {
  const std::string section = CameraSetSection(name);
  if (settings.Find(section, "PX1") == nullptr) return;
  for (int i = 1; i <= kCameraViewCount; ++i) {
    CameraView& view = views[i - 1];
    view.PX = GetIntKey(settings, section, i, "PX", kDefaultPX);
    view.PY = GetIntKey(settings, section, i, "PY", kDefaultPY);
    view.PZ = GetIntKey(settings, section, i, "PZ", kDefaultPZ);
    view.OW = GetIntKey(settings, section, i, "OW", kDefaultOW);
    view.LH = GetIntKey(settings, section, i, "LH", kDefaultLH);
    const double wx = GetRealKey(settings, section, i, "WX", kDefaultWX) * kDegreesToRadians;
    const double wh = GetRealKey(settings, section, i, "WH", kDefaultWH) * kDegreesToRadians;
    view.dirX = static_cast<float>(std::cos(wh) * std::cos(wx));
    view.dirY = static_cast<float>(std::cos(wh) * std::sin(wx));
    view.dirZ = static_cast<float>(std::sin(wh));
  }
}

void WriteCameraSet(settings::SettingsFile* settings, const std::string& name,
                    const CameraView views[kCameraViewCount]) {
  const std::string section = CameraSetSection(name);
  for (int i = 1; i <= kCameraViewCount; ++i) {
    const CameraView& view = views[i - 1];
    SetIntKey(settings, section, i, "PX", view.PX);
    SetIntKey(settings, section, i, "PY", view.PY);
    SetIntKey(settings, section, i, "PZ", view.PZ);
    SetIntKey(settings, section, i, "OW", view.OW);
    SetIntKey(settings, section, i, "LH", view.LH);
    const double x = view.dirX, y = view.dirY, z = view.dirZ;
    const double wx = std::atan2(y, x) * kRadiansToDegrees;
    const double wh = std::atan2(z, std::sqrt(x * x + y * y)) * kRadiansToDegrees;
    SetRealKey(settings, section, i, "WX", static_cast<float>(wx));
    SetRealKey(settings, section, i, "WH", static_cast<float>(wh));
  }
}

}  // namespace layout
