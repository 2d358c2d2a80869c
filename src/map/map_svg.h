// The map of a layout: an SVG drawing of its track pieces, GBOs, placed
// models and camera views, north up, fitted to its content, with a legend
// of counts and a scale bar.
//
// Picture: kWidthPx wide; the drawing area (a nested svg whose viewBox
// starts at 0 0, the north-west corner of the content's bounds, x east and
// y south) above a legend band of kLegendPx. Each drawn object is one
// element with the class "track", "gbo", "model" or "camera", plus
// "missing" when the installation lacks its file, and a <title> "name #id".
// Removed records (id 0) are not drawn. The drawing's numbers are whole and
// count a power of ten of layout units that is well under a pixel, so that
// a large layout's file stays small.
#pragma once

#include <string>

#include "layout/layout.h"
#include "layout/object_files.h"

namespace map {

// Layout units per metre.
const double kUnitsPerMetre = 100.0;
const int kWidthPx = 1200;
const int kMarginPx = 10;
const int kLegendPx = 90;
// The colour of an object whose file is missing.
const char kMissingColour[] = "#e00000";

// What the legend counts: live records, and those whose file is missing.
struct MapCounts {
  int tracks = 0;  // pieces without a GBO
  int gbos = 0;
  int models = 0;
  int units = 0;  // rolling stock
  int missingGbos = 0;
  int missingModels = 0;
  int missingUnits = 0;
};

// The SVG text of the map. `missing` answers the existence checks (the same
// as the missing list's); `counts` receives what the legend shows.
std::string MapSvg(const layout::Layout& layout, layout::ObjectFiles* missing, MapCounts* counts);

}  // namespace map
