#include "terrain/preview.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "host/messages.h"
#include "host/wording.h"
#include "platform/cp1252.h"
#include "terrain/terrain_inputs.h"
#include "terrain/tile_plan.h"

namespace terrain {
namespace {

const int kLineHeight = 20;
const int kMargin = 8;
// What ground on earth has, in centimetres: beyond it the heights are most
// likely not heights at all.
const double kLowestGround = -500.0 * 100;
const double kHighestGround = 9000.0 * 100;

// A non-negative coordinate with at most two decimals, whatever the locale.
std::string Number(double value) { return MetresText(std::llround(value * 100)); }

// Centimetres as whole metres, with a sign.
std::string MetresValue(double centimetres) { return std::to_string(std::llround(centimetres / 100)); }

std::string WithoutNewline(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// The lines above the picture: a class ("" for none) and code page 1252 text.
using Lines = std::vector<std::pair<std::string, std::string>>;

Lines Description(const TerrainJob& job, const TerrainInputs& inputs, int accepted, const host::Reasons& reasons) {
  Lines lines;
  lines.emplace_back("", "[" + job.section + "] Kacheln in Modelle\\" + job.name);
  lines.emplace_back("", "Hoehe: " + job.heightFile + ", Farbe: " + job.colourFile);
  const BitmapImage& colours = inputs.colours;
  const std::int32_t pixelSize =
      inputs.heights && inputs.heights->pixelSize > 0 ? inputs.heights->pixelSize : job.pixelSize;
  if (colours.width == 0) {
    lines.emplace_back("size", "Bild: nicht gelesen");
  } else if (pixelSize <= 0) {
    lines.emplace_back(
        "size", host::StringPrintf("Bild: %d x %d Pixel, Pixelgroesse unbekannt", colours.width, colours.height));
  } else {
    lines.emplace_back("size", host::StringPrintf("Bild: %d x %d Pixel, ", colours.width, colours.height) +
                                   MetresText(1LL * colours.width * pixelSize) + " x " +
                                   MetresText(1LL * colours.height * pixelSize) + " m (Pixelgroesse " +
                                   MetresText(pixelSize) + " m)");
  }
  if (inputs.heights && inputs.heights->cellsX > 0) {
    double lowest = 0, highest = 0;
    HeightRange(*inputs.heights, &lowest, &highest);
    lines.emplace_back("heights", "Hoehen: " + MetresValue(lowest) + " m bis " + MetresValue(highest) + " m");
    if (lowest < kLowestGround || highest > kHighestGround) {
      lines.emplace_back("warning",
                         "Warnung: Solche Hoehen gibt es auf der Erde nicht (unter -500 m oder ueber "
                         "9000 m). Ist " +
                             job.heightFile + " wirklich ein Hoehenbild?");
    }
  }
  const TilePlan& plan = inputs.plan;
  if (inputs.planned) {
    lines.emplace_back("", host::StringPrintf("Kacheln: %lld (%d x %d), Abstand ", 1LL * plan.columns * plan.rows,
                                              plan.columns, plan.rows) +
                               MetresText(1LL * plan.spacing * plan.pixelSize) + " m, Kante " +
                               TileSizeText(plan.halfSize, plan.pixelSize) + " m");
  }
  for (const host::Reason& reason : reasons) {
    lines.emplace_back("refused", "Wird abgelehnt: " + WithoutNewline(host::Wording(reason)));
  }
  if (!accepted && inputs.planned) {  // planned, so refused for the tiles' size
    lines.emplace_back("fits", "Gr\xF6\xDFte passende Kachelgroesse: " +
                                   TileSizeText(LargestFittingHalfSize(plan), plan.pixelSize) + " m");
  }
  return lines;
}

// The tiles of the plan as squares in display units (`scale` per cell), with
// their centres; y grows southwards from the picture's north edge.
std::string TileShapes(const TilePlan& plan, double scale) {
  std::string svg;
  for (int i = 0; i < plan.columns; ++i) {
    for (int j = 0; j < plan.rows; ++j) {
      const TileRect tile = plan.Tile(i, j);
      const std::string name = XmlText(TileFileName(i, j)), title = "<title>" + name + "</title>";
      // Set in by 0 to 3 units, by column and row, so that the edges of
      // overlapping tiles do not fall on each other.
      const double inset = 1.5 * (i % 2) + 1.5 * (j % 2) + 1;
      const double x = tile.firstColumn * scale + inset, y = (plan.height - tile.lastRow) * scale + inset;
      const double w = std::max(0.0, (tile.lastColumn - tile.firstColumn) * scale - 2 * inset);
      const double h = std::max(0.0, (tile.lastRow - tile.firstRow) * scale - 2 * inset);
      svg += std::string("<rect class=\"tile ") + ((i + j) % 2 == 0 ? "even" : "odd") + "\" x=\"" + Number(x) +
             "\" y=\"" + Number(y) + "\" width=\"" + Number(w) + "\" height=\"" + Number(h) + "\">" + title +
             "</rect>\n";
      svg += "<text class=\"label\" x=\"" + Number(tile.centreColumn * scale) + "\" y=\"" +
             Number((plan.height - tile.centreRow) * scale - 6) + "\">" + name + "</text>\n";
      svg += "<circle class=\"centre\" cx=\"" + Number(tile.centreColumn * scale) + "\" cy=\"" +
             Number((plan.height - tile.centreRow) * scale) + "\" r=\"3\">" + title + "</circle>\n";
    }
  }
  return svg;
}

}  // namespace

std::string XmlText(const std::string& cp1252) { return platform::Cp1252ToXmlText(cp1252, "?"); }

RgbPicture PreviewPicture(const BitmapImage& image, int maxSide) {
  RgbPicture picture;
  if (image.width <= 0 || image.height <= 0 || maxSide <= 0) return picture;
  const int longSide = std::max(image.width, image.height);
  const double factor = longSide > maxSide ? static_cast<double>(maxSide) / longSide : 1.0;
  picture.width = std::max(1, static_cast<int>(image.width * factor));
  picture.height = std::max(1, static_cast<int>(image.height * factor));
  picture.pixels.resize(3 * static_cast<std::size_t>(picture.width) * picture.height);
  // Source columns [x * W / w, (x + 1) * W / w) make pixel x; likewise rows,
  // counted from the top.
  const auto from = [](long long k, long long source, long long target) { return k * source / target; };
  std::size_t out = 0;
  for (int y = 0; y < picture.height; ++y) {
    const long long top = from(y, image.height, picture.height), bottom = from(y + 1, image.height, picture.height);
    for (int x = 0; x < picture.width; ++x) {
      const long long left = from(x, image.width, picture.width), right = from(x + 1, image.width, picture.width);
      unsigned long long sum[3] = {0, 0, 0};
      for (long long row = top; row < bottom; ++row) {
        for (long long column = left; column < right; ++column) {
          const Colour c = image.ColourAt(static_cast<int>(column), static_cast<int>(image.height - 1 - row));
          sum[0] += c.red, sum[1] += c.green, sum[2] += c.blue;
        }
      }
      const unsigned long long count = static_cast<unsigned long long>((bottom - top) * (right - left));
      for (unsigned long long channel : sum) picture.pixels[out++] = static_cast<char>((channel + count / 2) / count);
    }
  }
  return picture;
}

void HeightRange(const HeightField& field, double* lowest, double* highest) {
  *lowest = *highest = 0;
  if (field.cellsX <= 0 || field.cellsY <= 0) return;
  *lowest = *highest = field.HeightAt(0, 0);
  for (int i = 0; i <= field.cellsX; ++i) {
    for (int j = 0; j <= field.cellsY; ++j) {
      const double h = field.HeightAt(i, j);
      *lowest = std::min(*lowest, h);
      *highest = std::max(*highest, h);
    }
  }
}

RgbPicture Hillshade(const HeightField& field, int width, int height) {
  RgbPicture picture;
  if (field.cellsX <= 0 || field.cellsY <= 0 || field.pixelSize <= 0 || width <= 0 || height <= 0) return picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(3 * static_cast<std::size_t>(width) * height);
  // Light from the north-west, 45 degrees above the horizon (x east, y north).
  const double light[3] = {-0.5, 0.5, std::sqrt(0.5)};
  const double across = 2.0 * field.pixelSize;
  std::size_t out = 0;
  for (int y = 0; y < height; ++y) {
    const int j = static_cast<int>(static_cast<long long>(height - 1 - y) * field.cellsY / std::max(1, height - 1));
    for (int x = 0; x < width; ++x) {
      const int i = static_cast<int>(static_cast<long long>(x) * field.cellsX / std::max(1, width - 1));
      const double east = (field.HeightAt(i + 1, j) - field.HeightAt(i - 1, j)) / across;
      const double north = (field.HeightAt(i, j + 1) - field.HeightAt(i, j - 1)) / across;
      const double length = std::sqrt(east * east + north * north + 1.0);
      const double lit = (-east * light[0] - north * light[1] + light[2]) / length;
      const char grey = static_cast<char>(std::lround(255.0 * std::max(0.0, std::min(1.0, lit))));
      for (int channel = 0; channel < 3; ++channel) picture.pixels[out++] = grey;
    }
  }
  return picture;
}

std::string TerrainPreviewSvg(const TerrainJob& job, host::Reasons* refused) {
  TerrainInputs inputs;
  int accepted;
  host::Reasons reasons;
  accepted = ReadTerrainInputs(job, &inputs, &reasons);
  if (refused != nullptr) refused->insert(refused->end(), reasons.begin(), reasons.end());
  const Lines lines = Description(job, inputs, accepted, reasons);
  const BitmapImage& colours = inputs.colours;
  const int top = 2 * kMargin + static_cast<int>(lines.size()) * kLineHeight;
  const double scale =
      colours.width > 0 ? static_cast<double>(kPreviewSide) / std::max(colours.width, colours.height) : 0.0;
  const RgbPicture colourPicture = PreviewPicture(colours, kPreviewSide);
  const RgbPicture shade =
      inputs.heights ? Hillshade(*inputs.heights, colourPicture.width, colourPicture.height) : RgbPicture();
  const std::string width = std::to_string(shade.width > 0 ? 2 * kPreviewSide + kMargin : kPreviewSide);
  const std::string height = Number(top + colours.height * scale);

  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
      width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height + "\">\n" + "<title>" +
      XmlText("Terrainvorschau [" + job.section + "]") +
      "</title>\n"
      "<style>text{font-family:sans-serif;font-size:14px}.refused,.fits{fill:#b00000}"
      ".warning{fill:#b00000;font-weight:bold}.tile{fill:none;stroke-opacity:0.9;stroke-width:2}"
      ".even{stroke:#ffd800}.odd{stroke:#00c8ff;stroke-dasharray:6 3}.centre{fill:#e00000}"
      ".label{font-size:11px;text-anchor:middle;fill:#ffffff;stroke:#000000;stroke-width:0.6;paint-order:stroke}"
      "</style>\n"
      "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string& cls = lines[k].first;
    svg += "<text x=\"" + std::to_string(kMargin) + "\" y=\"" +
           std::to_string(kMargin + 15 + static_cast<int>(k) * kLineHeight) + "\"" +
           (cls.empty() ? "" : " class=\"" + cls + "\"") + ">" + XmlText(lines[k].second) + "</text>\n";
  }
  std::string uri;
  if (colours.width > 0 && PngDataUri(colourPicture, &uri)) {
    svg += "<g transform=\"translate(0," + std::to_string(top) + ")\">\n<image width=\"" +
           Number(colours.width * scale) + "\" height=\"" + Number(colours.height * scale) +
           "\" preserveAspectRatio=\"none\" style=\"image-rendering:pixelated\" xlink:href=\"" + uri + "\"/>\n";
    if (accepted) svg += TileShapes(inputs.plan, scale);
    svg += "</g>\n";
  }
  if (shade.width > 0 && PngDataUri(shade, &uri)) {
    svg += "<g class=\"hillshade\" transform=\"translate(" + std::to_string(kPreviewSide + kMargin) + "," +
           std::to_string(top) + ")\">\n<image width=\"" + Number(colours.width * scale) + "\" height=\"" +
           Number(colours.height * scale) + "\" preserveAspectRatio=\"none\" xlink:href=\"" + uri + "\"/>\n</g>\n";
  }
  svg += "</svg>\n";
  return svg;
}

}  // namespace terrain
