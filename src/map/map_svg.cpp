#include "map/map_svg.h"

#include <cmath>

#include "map/geometry.h"
#include "map/svg_text.h"

namespace map {
namespace {

// The smallest box drawn, in layout units, so that a layout of one point
// still gets a scale.
const double kMinExtent = 1000.0;
const int kAreaWidthPx = kWidthPx - 2 * kMarginPx;
const char kSeparator[] = " \xC2\xB7 ";  // a middle dot between the counts

Vec PointOf(const layout::Point& p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

// A name as the lists show it: up to a 0 byte.
std::string Shown(const std::string& name) { return name.substr(0, name.find('\0')); }

// The extent of the content, the size of the symbols, and the box shown.
struct Frame {
  double extent = kMinExtent;
  double mark = 0.0;  // size of a model or camera symbol, layout units
  Bounds box;         // what the drawing area shows
  int areaHeightPx = 0;
  double pxPerUnit = 0.0;
};

Frame FrameOf(const layout::Layout& layout) {
  Bounds content;
  for (const layout::TrackRecord& t : layout.tracks) {
    if (t.id == 0) continue;
    AddPiece(PieceOf(PointOf(t.start), {t.startDirection.x, t.startDirection.y}, PointOf(t.end)), &content);
  }
  for (const layout::ModelRecord& m : layout.models) {
    if (m.id != 0) content.Add(PointOf(m.position));
  }
  for (const layout::CameraView& c : layout.cameraViews) content.Add({double(c.PX), double(c.PY)});
  Frame f;
  Vec middle{(content.minX + content.maxX) / 2.0, (content.minY + content.maxY) / 2.0};
  f.extent = std::fmax(kMinExtent, std::fmax(content.maxX - content.minX, content.maxY - content.minY));
  f.mark = f.extent / 100.0;
  // The content's box, at least kMinExtent wide and high around its middle,
  // with a border of a twentieth of the extent and one symbol.
  const double pad = f.extent * 0.05 + f.mark;
  const double halfW = std::fmax(content.maxX - content.minX, kMinExtent) / 2.0 + pad;
  const double halfH = std::fmax(content.maxY - content.minY, kMinExtent) / 2.0 + pad;
  f.box.Add({std::floor(middle.x - halfW), std::floor(middle.y - halfH)});
  f.box.Add({std::ceil(middle.x + halfW), std::ceil(middle.y + halfH)});
  const double w = f.box.maxX - f.box.minX, h = f.box.maxY - f.box.minY;
  f.areaHeightPx = static_cast<int>(std::lround(std::fmin(std::fmax(kAreaWidthPx * h / w, 200.0), kAreaWidthPx)));
  f.pxPerUnit = std::fmin(kAreaWidthPx / w, f.areaHeightPx / h);
  return f;
}

// "x y" of a point with north up (y negated).
void AppendPoint(std::string* out, Vec p) {
  AppendNumber(out, p.x);
  *out += ' ';
  AppendNumber(out, -p.y);
}

// "dx dy" from one point to another with north up, between the rounded
// points, so that relative steps add up to the rounded absolute place.
void AppendStep(std::string* out, Vec from, Vec to) {
  AppendNumber(out, std::round(to.x) - std::round(from.x));
  *out += ' ';
  AppendNumber(out, std::round(from.y) - std::round(to.y));
}

void Open(std::string* out, const char* kind, bool missing) {
  *out += "<path class=\"";
  *out += kind;
  if (missing) *out += " missing";
  *out += "\" d=\"";
}

// Ends the path data and adds the title "name (Nr. id)".
void Close(std::string* out, const std::string& name, int id) {
  *out += "\"><title>";
  AppendEscaped(out, name);
  *out += " (Nr. ";
  *out += std::to_string(id);
  *out += ")</title></path>\n";
}

void AppendPiece(std::string* out, const Piece& piece) {
  *out += 'M';
  AppendPoint(out, piece.start);
  switch (piece.shape) {
    case Shape::kPoint:
      *out += "l0 0";  // drawn as a dot by the round line cap
      return;
    case Shape::kLine:
      *out += 'l';
      break;
    case Shape::kArc:
      *out += 'a';
      AppendNumber(out, piece.radius);
      *out += ' ';
      AppendNumber(out, piece.radius);
      // With y negated a counter-clockwise turn is SVG's negative sense.
      *out += piece.largeArc ? " 0 1 " : " 0 0 ";
      *out += piece.counterClockwise ? "0 " : "1 ";
      break;
  }
  AppendStep(out, piece.start, piece.end);
}

// A triangle around the position, its tip along the direction (east when
// the direction has none).
void AppendModel(std::string* out, const layout::ModelRecord& m, double mark) {
  Vec d{1.0, 0.0};
  UnitVector(m.direction.x, m.direction.y, &d);
  const Vec p = PointOf(m.position);
  const double back = mark * 0.6;
  const Vec tip{p.x + d.x * mark, p.y + d.y * mark};
  const Vec left{p.x - d.x * back - d.y * back, p.y - d.y * back + d.x * back};
  const Vec right{p.x - d.x * back + d.y * back, p.y - d.y * back - d.x * back};
  *out += 'M';
  AppendPoint(out, tip);
  *out += 'l';
  AppendStep(out, tip, left);
  *out += ' ';
  AppendStep(out, left, right);
  *out += 'z';
}

// A ring at the view's place and a line along its view direction.
void AppendCamera(std::string* out, const layout::CameraView& c, double mark) {
  const Vec p{double(c.PX), double(c.PY)};
  const double r = mark * 0.6;
  *out += 'M';
  AppendPoint(out, {p.x - r, p.y});
  *out += 'a';
  AppendNumber(out, r);
  *out += ' ';
  AppendNumber(out, r);
  *out += " 0 1 0 ";
  AppendNumber(out, 2.0 * r);
  *out += " 0a";
  AppendNumber(out, r);
  *out += ' ';
  AppendNumber(out, r);
  *out += " 0 1 0 ";
  AppendNumber(out, -2.0 * r);
  *out += " 0";
  Vec d;
  if (UnitVector(c.dirX, c.dirY, &d)) {
    *out += 'M';
    AppendPoint(out, p);
    *out += 'l';
    AppendStep(out, p, {p.x + d.x * mark * 2.5, p.y + d.y * mark * 2.5});
  }
}

void AppendStyle(std::string* out, const Frame& f) {
  const double stroke = std::fmax(f.mark / 4.0, 1.0);
  *out += "<style>.track{fill:none;stroke:#606060;stroke-linecap:round;stroke-width:";
  AppendNumber(out, stroke);
  *out += "}.gbo{fill:none;stroke:#1f5fbf;stroke-linecap:round;stroke-width:";
  AppendNumber(out, stroke * 3.0);
  *out += "}.model{fill:#2e8b2e}.camera{fill:none;stroke:#d07000;stroke-width:";
  AppendNumber(out, stroke);
  *out += "}.gbo.missing{stroke:";
  *out += kMissingColour;
  *out += "}.model.missing{fill:";
  *out += kMissingColour;
  *out += "}</style>\n";
}

// "N (fehlend: M)".
std::string CountText(const char* what, int count, int missingCount) {
  return std::string(what) + ": " + std::to_string(count) + " (fehlend: " + std::to_string(missingCount) + ")";
}

// The counts, a scale bar of a round number of metres near 150 pixels, the
// colour of missing objects and a north arrow.
void AppendLegend(std::string* out, const Frame& f, const MapCounts& n) {
  const int top = kMarginPx + f.areaHeightPx + 10;
  *out += "<g font-family=\"sans-serif\" font-size=\"15\" fill=\"#000\">\n<text x=\"10\" y=\"";
  *out += std::to_string(top + 16) + "\">Gleise: " + std::to_string(n.tracks) + kSeparator;
  *out += CountText("GBOs", n.gbos, n.missingGbos) + kSeparator + CountText("Immobilien", n.models, n.missingModels);
  *out += kSeparator + CountText("Rollmaterial", n.units, n.missingUnits) + "</text>\n";
  const double metres = 150.0 / f.pxPerUnit / kUnitsPerMetre;
  double step = 1.0;
  if (metres > 1.0) {
    const double decade = std::pow(10.0, std::floor(std::log10(metres)));
    step = metres >= 5.0 * decade ? 5.0 * decade : metres >= 2.0 * decade ? 2.0 * decade : decade;
  }
  const std::string y = std::to_string(top + 50);
  *out += "<path d=\"M10 " + y + "h";
  AppendNumber(out, step * kUnitsPerMetre * f.pxPerUnit);
  *out += "m0 -6v12M10 " + std::to_string(top + 44) + "v12\" stroke=\"#000\" stroke-width=\"2\" fill=\"none\"/>\n";
  *out += "<text x=\"";
  AppendNumber(out, 20.0 + step * kUnitsPerMetre * f.pxPerUnit);
  *out += "\" y=\"" + std::to_string(top + 55) + "\">";
  AppendNumber(out, step);
  *out += " m</text>\n<rect x=\"400\" y=\"" + std::to_string(top + 40) + "\" width=\"14\" height=\"14\" fill=\"";
  *out += kMissingColour;
  *out += "\"/><text x=\"420\" y=\"" + std::to_string(top + 52) + "\">Datei fehlt in der Installation</text>\n";
  const std::string arrowX = std::to_string(kWidthPx - 40);
  *out += "<path d=\"M" + arrowX + " " + std::to_string(top + 28) + "l-8 20h16z\"/><text x=\"" + arrowX;
  *out += "\" y=\"" + std::to_string(top + 66) + "\" text-anchor=\"middle\">N</text>\n</g>\n";
}

}  // namespace

std::string MapSvg(const layout::Layout& layout, layout::MissingFiles* missing, MapCounts* counts) {
  *counts = MapCounts();
  const Frame f = FrameOf(layout);
  const int heightPx = kMarginPx + f.areaHeightPx + kLegendPx;
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(kWidthPx) + "\" height=\"";
  out += std::to_string(heightPx) + "\" viewBox=\"0 0 " + std::to_string(kWidthPx) + " " + std::to_string(heightPx);
  out += "\">\n<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  out += "<svg x=\"" + std::to_string(kMarginPx) + "\" y=\"" + std::to_string(kMarginPx) + "\" width=\"";
  out += std::to_string(kAreaWidthPx) + "\" height=\"" + std::to_string(f.areaHeightPx) + "\" viewBox=\"";
  AppendPoint(&out, {f.box.minX, f.box.maxY});
  out += ' ';
  AppendNumber(&out, f.box.maxX - f.box.minX);
  out += ' ';
  AppendNumber(&out, f.box.maxY - f.box.minY);
  out += "\">\n";
  AppendStyle(&out, f);
  for (const layout::TrackRecord& t : layout.tracks) {
    if (t.id == 0) continue;
    const bool gbo = t.type == 6;
    const bool lacking = gbo && missing->Gbo(t.gboName);
    gbo ? ++counts->gbos : ++counts->tracks;
    counts->missingGbos += lacking;
    Open(&out, gbo ? "gbo" : "track", lacking);
    AppendPiece(&out, PieceOf(PointOf(t.start), {t.startDirection.x, t.startDirection.y}, PointOf(t.end)));
    Close(&out, gbo ? Shown(t.name) + ": " + Shown(t.gboName) : t.name, t.id);
  }
  for (const layout::ModelRecord& m : layout.models) {
    if (m.id == 0) continue;
    const bool lacking = missing->Model(m.name);
    ++counts->models;
    counts->missingModels += lacking;
    Open(&out, "model", lacking);
    AppendModel(&out, m, f.mark);
    Close(&out, m.name, m.id);
  }
  for (const layout::RollingStockRecord& u : layout.rollingStock) {
    if (u.id == 0) continue;
    ++counts->units;
    counts->missingUnits += missing->RollingStock(u.name);
  }
  for (int i = 0; i < layout::kCameraViewCount; ++i) {
    Open(&out, "camera", false);
    AppendCamera(&out, layout.cameraViews[i], f.mark);
    Close(&out, "Kamera", i + 1);
  }
  out += "</svg>\n";
  AppendLegend(&out, f, *counts);
  out += "</svg>\n";
  return out;
}

}  // namespace map
