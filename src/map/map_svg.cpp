#include "map/map_svg.h"

#include <cctype>
#include <cmath>

#include "map/geometry.h"
#include "map/svg_text.h"
#include "host/paths.h"

namespace map {
namespace {

// The smallest box drawn, in layout units, so that a layout of one point
// still gets a scale.
const double kMinExtent = 1000.0;
const int kAreaWidthPx = kWidthPx - 2 * kMarginPx;
// The largest drawing unit, in pixels: rounding to it moves a point by at
// most half of that.
const double kMaxUnitPx = 0.3;
const char kSeparator[] = " \xC2\xB7 ";  // a middle dot between the counts

Vec PointOf(const layout::Point& p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

// A name as the lists show it: up to a 0 byte.
std::string Shown(const std::string& name) { return host::NameUpToNul(name); }

// The extent of the content, the size of the symbols, the box shown and how
// the drawing's numbers stand for it.
struct Frame {
  double extent = kMinExtent;
  double mark = 0.0;  // size of a model or camera symbol, layout units
  Bounds box;         // what the drawing area shows, layout units
  int areaHeightPx = 0;
  double pxPerUnit = 0.0;
  // Layout units per drawing unit: a power of ten small enough that rounding
  // to it moves nothing by more than a fraction of a pixel.
  double unit = 1.0;

  // The drawing's whole-numbered place of a layout point: from the box's
  // north-west corner, x east and y south.
  Vec At(Vec p) const { return {std::round((p.x - box.minX) / unit), std::round((box.maxY - p.y) / unit)}; }
};

// The drawing area's height and the scale that fits the box into it.
void Scale(Frame* f) {
  const double w = f->box.maxX - f->box.minX, h = f->box.maxY - f->box.minY;
  f->areaHeightPx = static_cast<int>(std::lround(std::fmin(std::fmax(kAreaWidthPx * h / w, 200.0), kAreaWidthPx)));
  f->pxPerUnit = std::fmin(kAreaWidthPx / w, f->areaHeightPx / h);
}

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
  Scale(&f);
  while (f.unit * 10.0 * f.pxPerUnit <= kMaxUnitPx) f.unit *= 10.0;
  if (f.unit > 1.0) {  // the box in whole drawing units
    const Bounds b = f.box;
    f.box = Bounds();
    f.box.Add({std::floor(b.minX / f.unit) * f.unit, std::floor(b.minY / f.unit) * f.unit});
    f.box.Add({std::ceil(b.maxX / f.unit) * f.unit, std::ceil(b.maxY / f.unit) * f.unit});
    Scale(&f);
  }
  return f;
}

// Appends a number of path data, parted from a number before it by a space
// unless its minus sign parts them.
void AppendData(std::string* out, double value) {
  std::string text;
  AppendNumber(&text, value);
  if (text[0] != '-' && !out->empty() && std::isdigit(static_cast<unsigned char>(out->back()))) *out += ' ';
  *out += text;
}

// The drawing's place of a layout point.
void AppendPoint(std::string* out, const Frame& f, Vec p) {
  const Vec at = f.At(p);
  AppendData(out, at.x);
  AppendData(out, at.y);
}

// The step from one point to another, between their rounded places so that
// relative steps add up to the rounded absolute place: "h" or "v" along an
// axis, else "l" (its letter left out when `*last` already is "l"). At the
// end of an arc (`last` null) always the two numbers.
void AppendStep(std::string* out, const Frame& f, Vec from, Vec to, char* last) {
  const Vec a = f.At(from), b = f.At(to);
  const double dx = b.x - a.x, dy = b.y - a.y;
  if (last != nullptr && (dx == 0.0) != (dy == 0.0)) {
    *last = dy == 0.0 ? 'h' : 'v';
    *out += *last;
    AppendData(out, dy == 0.0 ? dx : dy);
    return;
  }
  if (last != nullptr && *last != 'l') *out += *last = 'l';
  AppendData(out, dx);
  AppendData(out, dy);
}

void Open(std::string* out, const char* kind, bool missing) {
  *out += "<path class=\"";
  *out += kind;
  if (missing) *out += " missing";
  *out += "\" d=\"";
}

// Ends the path data and adds the title "name #id".
void Close(std::string* out, const std::string& name, int id) {
  *out += "\"><title>";
  AppendEscaped(out, name);
  *out += " #";
  *out += std::to_string(id);
  *out += "</title></path>\n";
}

void AppendPiece(std::string* out, const Frame& f, const Piece& piece) {
  *out += 'M';
  AppendPoint(out, f, piece.start);
  switch (piece.shape) {
    case Shape::kPoint:
      *out += "l0 0";  // drawn as a dot by the round line cap
      return;
    case Shape::kLine: {
      char last = 0;
      AppendStep(out, f, piece.start, piece.end, &last);
      return;
    }
    case Shape::kArc: {
      const Vec a = f.At(piece.start), b = f.At(piece.end);
      if (a.x == b.x && a.y == b.y) {
        *out += "l0 0";  // shorter than a drawing unit: a dot
        return;
      }
      // A radius of 0 would make the arc a line.
      const double radius = std::fmax(1.0, std::round(piece.radius / f.unit));
      *out += 'a';
      AppendData(out, radius);
      AppendData(out, radius);
      AppendData(out, 0);
      AppendData(out, piece.largeArc);
      // With y negated a counter-clockwise turn is SVG's negative sense.
      AppendData(out, !piece.counterClockwise);
      AppendStep(out, f, piece.start, piece.end, nullptr);
      return;
    }
  }
}

// A triangle around the position, its tip along the direction (east when
// the direction has none).
void AppendModel(std::string* out, const Frame& f, const layout::ModelRecord& m) {
  Vec d{1.0, 0.0};
  UnitVector(m.direction.x, m.direction.y, &d);
  const Vec p = PointOf(m.position);
  const double back = f.mark * 0.6;
  const Vec tip{p.x + d.x * f.mark, p.y + d.y * f.mark};
  const Vec left{p.x - d.x * back - d.y * back, p.y - d.y * back + d.x * back};
  const Vec right{p.x - d.x * back + d.y * back, p.y - d.y * back - d.x * back};
  *out += 'M';
  AppendPoint(out, f, tip);
  char last = 0;
  AppendStep(out, f, tip, left, &last);
  AppendStep(out, f, left, right, &last);  // closed by the fill
}

// A ring at the view's place and a line along its view direction.
void AppendCamera(std::string* out, const Frame& f, const layout::CameraView& c) {
  const Vec p{double(c.PX), double(c.PY)};
  const double r = std::round(f.mark * 0.6 / f.unit);
  const Vec at = f.At(p);
  *out += 'M';
  AppendData(out, at.x - r);
  AppendData(out, at.y);
  for (double across : {2.0 * r, -2.0 * r}) {  // round to the east end and back
    *out += 'a';
    for (double v : {r, r, 0.0, 1.0, 0.0, across, 0.0}) AppendData(out, v);
  }
  Vec d;
  if (UnitVector(c.dirX, c.dirY, &d)) {
    *out += 'M';
    AppendPoint(out, f, p);
    char last = 0;
    AppendStep(out, f, p, {p.x + d.x * f.mark * 2.5, p.y + d.y * f.mark * 2.5}, &last);
  }
}

void AppendStyle(std::string* out, const Frame& f) {
  const double stroke = std::fmax(f.mark / 4.0 / f.unit, 1.0);
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

std::string MapSvg(const layout::Layout& layout, layout::ObjectFiles* missing, MapCounts* counts) {
  *counts = MapCounts();
  const Frame f = FrameOf(layout);
  const int heightPx = kMarginPx + f.areaHeightPx + kLegendPx;
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(kWidthPx) + "\" height=\"";
  out += std::to_string(heightPx) + "\" viewBox=\"0 0 " + std::to_string(kWidthPx) + " " + std::to_string(heightPx);
  out += "\">\n<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  out += "<svg x=\"" + std::to_string(kMarginPx) + "\" y=\"" + std::to_string(kMarginPx) + "\" width=\"";
  out += std::to_string(kAreaWidthPx) + "\" height=\"" + std::to_string(f.areaHeightPx) + "\" viewBox=\"";
  out += "0 0 ";
  AppendNumber(&out, (f.box.maxX - f.box.minX) / f.unit);
  out += ' ';
  AppendNumber(&out, (f.box.maxY - f.box.minY) / f.unit);
  out += "\">\n";
  AppendStyle(&out, f);
  for (const layout::TrackRecord& t : layout.tracks) {
    if (t.id == 0) continue;
    const bool gbo = t.type == 6;
    const bool lacking = gbo && missing->GboMissing(t.gboName);
    gbo ? ++counts->gbos : ++counts->tracks;
    counts->missingGbos += lacking;
    Open(&out, gbo ? "gbo" : "track", lacking);
    AppendPiece(&out, f, PieceOf(PointOf(t.start), {t.startDirection.x, t.startDirection.y}, PointOf(t.end)));
    Close(&out, gbo ? Shown(t.name) + ": " + Shown(t.gboName) : t.name.str(), t.id);
  }
  for (const layout::ModelRecord& m : layout.models) {
    if (m.id == 0) continue;
    const bool lacking = missing->ModelMissing(m.name);
    ++counts->models;
    counts->missingModels += lacking;
    Open(&out, "model", lacking);
    AppendModel(&out, f, m);
    Close(&out, m.name, m.id);
  }
  for (const layout::RollingStockRecord& u : layout.rollingStock) {
    if (u.id == 0) continue;
    ++counts->units;
    counts->missingUnits += missing->RollingStockMissing(u.name);
  }
  for (int i = 0; i < layout::kCameraViewCount; ++i) {
    Open(&out, "camera", false);
    AppendCamera(&out, f, layout.cameraViews[i]);
    Close(&out, "Kamera", i + 1);
  }
  out += "</svg>\n";
  AppendLegend(&out, f, *counts);
  out += "</svg>\n";
  return out;
}

}  // namespace map
