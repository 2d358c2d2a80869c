// Writes the binary files of the demo installation (examples/demo).
//
//   zuvo_make_demo FOLDER
//
// The demo's text files (settings files, data sheet, the placeholder models)
// are written by hand and kept in the repository as they are; the files that
// are not text are made here, once, and kept in the repository too, so that
// they can be reviewed and made again the same way:
//
//   Anlagen\Demo.anl              the layout: a short line with a bridge and a
//                                 buffer stop, a platform (GBO), three placed
//                                 models, a train of three units (one driven
//                                 by a library, with 8 bytes of extra data as
//                                 its data sheet says), five camera views
//   Anlagen\Demo_Hoehe.bmp        20 x 20 height picture of a hill (24-bit
//                                 pixels read as one number: centimetres)
//   Anlagen\Demo_Farbe.bmp        20 x 20 colour picture of the same hill
//   Parallels\Tex256_256a.bmp     the installation's own ground texture
//   Bodentextur\Sand.bmp          two alternatives to choose from
//   Bodentextur\Schnee.bmp
//
// Every value is fixed: running it again gives the same bytes, which a test
// checks against the files in the repository.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "layout/layout.h"

namespace {

namespace fs = std::filesystem;

bool WriteFile(const fs::path& folder, const std::string& relative, const std::string& bytes) {
  fs::path path = folder / relative;
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "zuvo_make_demo: %s kann nicht geschrieben werden\n", path.string().c_str());
    return false;
  }
  std::printf("%s (%zu Bytes)\n", relative.c_str(), bytes.size());
  return true;
}

// ---- bitmaps ------------------------------------------------------------------

void Put16(std::string& b, unsigned v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

struct Rgb {
  int r, g, b;
};

// A 24-bit bitmap with a 40-byte info header, rows bottom-up, each padded to
// a multiple of four bytes. `pixel` gives the colour at (x, y), y = 0 at the
// top.
std::string Bitmap(int width, int height, const std::function<Rgb(int, int)>& pixel) {
  const int rowSize = (width * 3 + 3) / 4 * 4;
  const std::uint32_t dataSize = static_cast<std::uint32_t>(rowSize * height);
  std::string b = "BM";
  Put32(b, 54 + dataSize);
  Put16(b, 0);
  Put16(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(height));
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);  // no compression
  Put32(b, dataSize);
  Put32(b, 2835);  // 72 dpi
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      Rgb c = pixel(x, row);
      b.push_back(static_cast<char>(c.b));
      b.push_back(static_cast<char>(c.g));
      b.push_back(static_cast<char>(c.r));
    }
    b.append(static_cast<std::size_t>(rowSize - width * 3), '\0');
  }
  return b;
}

// A small texture: a base colour with a fixed pattern of lighter and darker
// spots.
std::string Texture(Rgb base) {
  return Bitmap(16, 16, [base](int x, int y) {
    int shade = ((x * 7 + y * 13) % 5 - 2) * 6;
    auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    return Rgb{clamp(base.r + shade), clamp(base.g + shade), clamp(base.b + shade)};
  });
}

// The hill's height in centimetres at pixel (x, y) of the 20 x 20 pictures:
// up to 40 m in the middle, falling off with the distance.
int HillHeight(int x, int y) {
  const double dx = x - 9.5, dy = y - 9.5;
  const double d2 = dx * dx + dy * dy;
  return static_cast<int>(4000.0 * 36.0 / (36.0 + d2));
}

std::string HeightPicture() {
  return Bitmap(20, 20, [](int x, int y) {
    int h = HillHeight(x, y);
    // The three bytes are read as one number, blue the lowest byte.
    return Rgb{(h >> 16) & 0xFF, (h >> 8) & 0xFF, h & 0xFF};
  });
}

std::string ColourPicture() {
  return Bitmap(20, 20, [](int x, int y) {
    int h = HillHeight(x, y);
    if (h > 3000) return Rgb{235, 235, 240};  // snow on the top
    if (h > 1500) return Rgb{120, 110, 90};   // rock
    return Rgb{70, 140 - h / 40, 50};         // meadow
  });
}

// ---- the layout -------------------------------------------------------------------

layout::TrackRecord Straight(int id, int type, int x0, int x1) {
  layout::TrackRecord t;
  t.id = static_cast<std::int16_t>(id);
  t.name = "Gerade";
  t.type = type;
  t.startDirection = {1.0f, 0.0f, 0.0f};
  t.start = {x0, 0, 0};
  t.end = {x1, 0, 0};
  t.UpdateEndCount();
  return t;
}

void Connect(layout::TrackRecord& a, int endA, layout::TrackRecord& b, int endB) {
  a.connections[endA] = {b.id, static_cast<std::int16_t>(endB)};
  b.connections[endB] = {a.id, static_cast<std::int16_t>(endA)};
}

layout::ModelRecord Model(int id, const char* name, int x, int y, int z) {
  layout::ModelRecord m;
  m.id = static_cast<std::int16_t>(id);
  m.name = name;
  m.position = {x, y, z};
  m.direction = {1.0f, 0.0f, 0.0f};
  return m;
}

layout::RollingStockRecord Unit(int id, const char* name, const char* second, int previous, int next) {
  layout::RollingStockRecord u;
  u.id = static_cast<std::int16_t>(id);
  u.name = name;
  u.secondName = second;
  for (int i = 0; i < 11; ++i) u.values[i] = static_cast<std::uint32_t>(id * 100 + i);
  u.firstByte = 1;
  u.byteB = static_cast<std::uint8_t>(id);
  u.neighbourA = static_cast<std::int16_t>(previous);
  u.neighbourB = static_cast<std::int16_t>(next);
  u.trailerValue = static_cast<std::uint32_t>(1000 + id);
  u.trailerByte = 1;
  u.trailerShort = static_cast<std::int16_t>(id);
  return u;
}

layout::CameraView View(double wxDegrees, double whDegrees, int px, int py, int pz, int ow, int lh) {
  const double wx = wxDegrees * 0.017453292519943295, wh = whDegrees * 0.017453292519943295;
  layout::CameraView v;
  v.dirX = static_cast<float>(std::cos(wh) * std::cos(wx));
  v.dirY = static_cast<float>(std::cos(wh) * std::sin(wx));
  v.dirZ = static_cast<float>(std::sin(wh));
  v.PX = px;
  v.PY = py;
  v.PZ = pz;
  v.OW = ow;
  v.LH = lh;
  return v;
}

bool LayoutBytes(std::string* bytes) {
  layout::Layout demo;
  // A line of three pieces: 0 to 10000, 10000 to 20000 (with a stone bridge),
  // 20000 to 25000 ending at a buffer stop; a platform (GBO) beside it.
  layout::TrackRecord a = Straight(1, 1, 0, 10000);
  layout::TrackRecord b = Straight(2, 1, 10000, 20000);
  layout::TrackRecord c = Straight(3, 2, 20000, 25000);
  Connect(a, 1, b, 0);
  Connect(b, 1, c, 0);
  layout::TrackRecord platform = Straight(4, 6, 2000, 8000);
  platform.name = "Bahnsteig";
  platform.start.y = platform.end.y = 600;
  platform.gboName = "Gbo\\Bahnsteig.gbo";
  demo.tracks = {a, b, c, platform};

  demo.models = {Model(1, "Bahnhof", 5000, 1500, 0), Model(2, "Haus", 12000, -2500, 0),
                 Model(3, "..\\Bruecken\\Stein", 15000, 0, 0), Model(4, "..\\Prellbock\\Rot", 24700, 0, 0)};

  layout::RollingStockRecord engine = Unit(1, "Dampflok.dll", "Lok 01 118", 0, 2);
  engine.extraData = {0x44, 0x45, 0x4D, 0x4F, 0x01, 0x00, 0x00, 0x00};  // "DEMO", 1
  demo.rollingStock = {engine, Unit(2, "Personenwagen.rm", "Wagen 1", 1, 3),
                       Unit(3, "Gueterwagen.rm", "Wagen 2", 2, 0)};

  demo.cameraViews[0] = View(24.145552, -4.844, -18100, -6500, 2000, 38, 47200);
  demo.cameraViews[1] = View(90.0, -10.0, 5000, -4000, 1200, 38, 47200);
  demo.cameraViews[2] = View(180.0, -30.0, 30000, 0, 6000, 45, 47200);
  demo.cameraViews[3] = View(-45.5, -2.25, 1000, 3000, 300, 30, 40000);
  demo.cameraViews[4] = View(0.0, -89.0, 12500, 0, 50000, 60, 47200);

  const std::uint8_t sky[3] = {135, 180, 235}, ground[3] = {90, 130, 60};
  for (int i = 0; i < 3; ++i) {
    demo.properties.colourA[i] = sky[i];
    demo.properties.colourB[i] = ground[i];
  }
  demo.properties.value = 1;

  demo.LinkTrackModels();
  demo.PrepareForSave();
  return demo.Serialize(bytes) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: zuvo_make_demo ORDNER\n");
    return 2;
  }
  const fs::path folder = argv[1];
  std::string anl;
  if (!LayoutBytes(&anl)) {
    std::fprintf(stderr, "zuvo_make_demo: die Anlage kann nicht gebaut werden\n");
    return 1;
  }
  bool ok = WriteFile(folder, "Anlagen/Demo.anl", anl);
  ok = WriteFile(folder, "Anlagen/Demo_Hoehe.bmp", HeightPicture()) && ok;
  ok = WriteFile(folder, "Anlagen/Demo_Farbe.bmp", ColourPicture()) && ok;
  ok = WriteFile(folder, "Parallels/Tex256_256a.bmp", Texture({80, 140, 60})) && ok;
  ok = WriteFile(folder, "Bodentextur/Sand.bmp", Texture({210, 190, 140})) && ok;
  ok = WriteFile(folder, "Bodentextur/Schnee.bmp", Texture({235, 240, 245})) && ok;
  return ok ? 0 : 1;
}
