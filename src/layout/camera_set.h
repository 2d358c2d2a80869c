// Camera sets: named copies of a layout's five camera views, kept in the
// layout's settings file as one section "KamSet <name>".
//
// For view i (1 to 5) the section holds the keys PXi, PYi, PZi, OWi, LHi
// ("%d") and WXi, WHi: the horizontal and the elevation angle of the view
// direction in degrees ("%.6lf" with trailing zeros and a trailing point
// removed). A section without PX1 is no camera set. Written sections hold
// their keys in the order PX1, PY1, PZ1, OW1, LH1, WX1, WH1, PX2, ... WH5.
//
// Angles to direction: dirX = cos(WH) cos(WX), dirY = cos(WH) sin(WX),
// dirZ = sin(WH); back: WX = atan2(dirY, dirX), WH = atan2(dirZ,
// sqrt(dirX^2 + dirY^2)). Both ways are computed in double precision and
// rounded to single precision at the end, so a set read and written back may
// change in the last decimals.
#pragma once

#include <string>

#include "layout/layout.h"
#include "settings/settings_file.h"

namespace layout {

// "KamSet " followed by the set's name (any length).
std::string CameraSetSection(const std::string& name);

// Copies the set `name` into the five views. Without the set's key PX1 the
// views stay as they were; a missing key takes its default.
void ReadCameraSet(const settings::SettingsFile& settings, const std::string& name, CameraView views[kCameraViewCount]);

// Stores the five views into the set `name`, creating the section and keys
// as needed. Does not write the file.
void WriteCameraSet(settings::SettingsFile* settings, const std::string& name,
                    const CameraView views[kCameraViewCount]);

// The key "<base><number>" of `section`, or the default when missing.
int GetIntKey(const settings::SettingsFile& settings, const std::string& section, int number, const char* base,
              int defaultValue);
double GetRealKey(const settings::SettingsFile& settings, const std::string& section, int number, const char* base,
                  float defaultValue);

// Stores the key "<base><number>": "%d", or for a real the trimmed "%.6lf".
void SetIntKey(settings::SettingsFile* settings, const std::string& section, int number, const char* base, int value);
void SetRealKey(settings::SettingsFile* settings, const std::string& section, int number, const char* base,
                float value);

// "%.6lf" of the value widened to double, without trailing zeros and then
// without a trailing point: 38.5 -> "38.5", 90 -> "90", 0 -> "0".
std::string FormatCameraReal(float value);

}  // namespace layout
