// The map on a real installation folder: well-formed XML that rsvg-convert
// renders, one element per object, missing ones marked at their places.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>

#include "host/installation.h"
#include "app/installation_seams.h"
#include "map/map_svg.h"
#include "support/test_support.h"

namespace {

layout::TrackRecord Track(int id, int type, layout::Point start, layout::Point end, std::string name) {
  layout::TrackRecord t;  // no start direction: drawn straight
  return t.id = id, t.type = type, t.start = start, t.end = end, t.name = std::move(name), t;
}

layout::ModelRecord Model(int id, std::string name, layout::Point position) {
  layout::ModelRecord m;
  return m.id = id, m.name = std::move(name), m.position = position, m;
}

// The map of `l` against an installation with Haus, vor, Da.gbo and Lok.rm,
// written to map.svg and rendered to map.png (rsvg-convert refuses XML that is not well-formed).
std::string Draw(const testing_support::TempDir& host, const layout::Layout& l) {
  for (const char* file : {"Modelle\\Haus.mod", "Modelle\\vor.mod", "Gbo\\Da.gbo", "Rollmaterial\\Lok.rm"})
    host.Write(file, "x");
  app::InstallationObjects missing(host::InstallationAt(host.windows()));
  map::MapCounts counts;
  std::string svg = map::MapSvg(l, &missing, &counts);
  host.Write("map.svg", svg);
  const std::string file = "'" + host.NativePath("map.svg") + "'";
  EXPECT_EQ(std::system(("rsvg-convert -o '" + host.NativePath("map.png") + "' " + file).c_str()), 0);
  return svg;
}

TEST(MapSvgTest, OneElementPerObjectWhateverTheNamesAndGeometry) {
  layout::Layout l;
  const int lo = INT32_MIN, hi = INT32_MAX;
  l.tracks = {Track(1, 1, {hi / 2, 0, 0}, {0, -hi / 2, 0}, "<Gleis & \"B\">"),
              Track(2, 1, {5, 5, 0}, {5, 5, 0}, "\x01\xFF"),
              Track(3, 2, {lo, lo, 0}, {hi, hi, 0}, "Rand"),
              Track(4, 6, {0, 0, 0}, {0, 900, 0}, "Steig"),
              Track(5, 6, {0, 0, 0}, {900, 0, 0}, "Steig"),
              Track(0, 1, {0, 0, 0}, {9, 0, 0}, "entfernt"),
              Track(6, 1, {0, 0, 0}, {1000, 1000, 0}, "klein"),
              Track(7, 1, {0, 0, 0}, {0, 4000000, 0}, "Kehre")};
  l.tracks[0].startDirection = l.tracks[2].startDirection = l.tracks[6].startDirection = {0.0f, 1.0f, 0.0f};
  l.tracks[7].startDirection = {1.0f, 0.0f, 0.0f};  // a few drawing units: still an arc; klein: a dot
  l.tracks[1].startDirection = {NAN, INFINITY, 0.0f};
  l.tracks[3].gboName = "Gbo\\Da.gbo", l.tracks[4].gboName = "Gbo\\Weg & <fort>.gbo";
  l.models = {Model(1, "Haus", {0, 0, 0}), Model(2, std::string("vor\0nach", 8), {hi, lo, 0}),
              Model(3, "'Weg'\x7F", {1, 1, 0}), Model(4, "Haus", {2, 2, 0}), Model(0, "Weg", {0, 0, 0})};
  l.models[2].direction = {0.0f, 0.0f, 0.0f}, l.models[3].direction = {1.0f, 1.0f, 0.0f};
  l.rollingStock.resize(4);  // id 0 is a removed unit
  for (int i = 0; i < 4; ++i) l.rollingStock[i].id = i, l.rollingStock[i].name = i == 2 ? "Weg.rm" : "Lok.rm";
  l.cameraViews[2].dirX = NAN;
  testing_support::TempDir host;
  const std::string svg = Draw(host, l);
  std::string counts;
  for (const char* re : {"=\"track\"", "=\"gbo\"", "=\"gbo missing\"", "=\"model\"", "=\"model missing\"",
                         "=\"camera\"", "<title>", "nan|inf|e\\+", "l0 0\"", "l[-0-9 ]+l"}) {
    const std::regex pattern(re);
    counts += std::to_string(std::distance(std::sregex_iterator(svg.begin(), svg.end(), pattern), {})) + " ";
  }
  EXPECT_EQ(counts, "5 1 1 3 1 5 16 0 4 0 ");
  EXPECT_NE(svg.find("d=\"M3480 2406a1074 1074 0 1 0-1074 1074\"><title>&lt;Gleis &amp; &quot;B&quot;&gt; #1<"),
            svg.npos);
  EXPECT_NE(svg.find("Rollmaterial: 3 (fehlend: 1)"), std::string::npos);
}

TEST(MapSvgTest, MissingModelMarkedAtItsPlaceAndTheCameraInTheFrame) {
  layout::Layout l;
  const int e = 100000;
  l.tracks = {Track(1, 1, {-e, -e, 0}, {e, -e, 0}, "S"), Track(2, 1, {-e, e, 0}, {e, e, 0}, "N")};
  l.models = {Model(1, "Fehlt", {-25000, 10000, 0}), Model(2, "Haus", {25000, -10000, 0})};
  l.models[0].direction = {0.0f, 1.0f, 0.0f};  // its tip 2200 units north, not east
  for (auto& c : l.cameraViews) c.PX = c.PY = 40000;
  l.cameraViews[0].PX = 0, l.cameraViews[0].PY = -120000;  // beyond the tracks
  testing_support::TempDir host;
  const std::string svg = Draw(host, l);
  EXPECT_NE(svg.find(">200 m<"), svg.npos) << "scale bar";
  for (const char* style : {".model{fill:#2e8b2e}", ".model.missing{fill:#e00000}"})
    EXPECT_NE(svg.find(style), svg.npos);
  std::smatch m;  // the drawing area in pixels, and what it shows
  const std::regex area(
      "<svg x=\"(\\d+)\" y=\"(\\d+)\" width=\"(\\d+)\" height=\"(\\d+)\" viewBox=\"(\\S+) (\\S+) (\\S+) (\\S+)\"");
  ASSERT_TRUE(std::regex_search(svg, m, area));
  double v[8];
  for (int i = 0; i < 8; ++i) v[i] = std::stod(m[i + 1]);
  const double s = std::fmin(v[2] / v[6], v[3] / v[7]);  // pixels per drawing unit
  EXPECT_TRUE(s <= 0.3 && s * 10 > 0.3) << "a drawing unit: under a third of a pixel, no finer than needed";
  // The drawing's places of the west ends of S and N give its origin and unit.
  std::smatch south, north;
  ASSERT_TRUE(std::regex_search(svg, south, std::regex("d=\"M(\\d+) (\\d+)h\\d+\"><title>S #1<")));
  ASSERT_TRUE(std::regex_search(svg, north, std::regex("d=\"M(\\d+) (\\d+)h\\d+\"><title>N #2<")));
  const double x0 = std::stod(south[1]), y0 = std::stod(south[2]), unit = 2 * e / (y0 - std::stod(north[2]));
  EXPECT_GE(v[5] + v[7], y0 + (120000 - e) / unit) << "the camera in the picture";
  std::smatch model;  // the missing model's tip
  ASSERT_TRUE(
      std::regex_search(svg, model, std::regex("=\"model missing\" d=\"M(\\d+) (\\d+)[^\"]*\"><title>Fehlt #1<")));
  EXPECT_NEAR(std::stod(model[1]), x0 + (e - 25000) / unit, 1);
  EXPECT_NEAR(std::stod(model[2]), y0 - (e + 12200) / unit, 1);
}

}  // namespace
