// Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/:
// layout files built with the layout tests' own byte builder, settings and
// registry texts of the kinds the tests read, paths, and the terrain tests'
// picture and TERRAGEN files. Run it from the repository root after a change
// to the formats; the corpora are committed.
//
//   build/native/fuzz/make_fuzz_seeds [ROOT]
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "layout/layout_bytes.h"

namespace {

namespace fs = std::filesystem;
using layout_bytes::File;
using layout_bytes::Model;
using layout_bytes::Track;
using layout_bytes::Unit;

fs::path root = ".";

void Write(const std::string& target, const std::string& name, const std::string& bytes) {
  fs::path folder = root / "fuzz" / "corpus" / target;
  fs::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) std::cerr << "cannot write " << (folder / name) << "\n";
}

Track OfType(int type, int id) {
  Track t;
  t.id = id;
  t.type = type;
  t.variant = type >= 6 && type <= 9 ? 5 : 0;
  t.gbo = type == 6 ? "GBO\\Tunnel.gbo" : "";
  t.link[0] = id > 1 ? id - 1 : 0;
  t.link[1] = id + 1;
  t.third = 3;
  t.fourth = 4;
  t.ends = 4;
  t.link[2] = 9;
  t.link[3] = 0;
  t.start[0] = 1000 * id;
  t.end[0] = 1000 * id + 1000;
  t.end[2] = 40;
  return t;
}

void LayoutSeeds() {
  Write("layout", "empty.anl", File({}, {}, {}));
  Write("layout", "one-track.anl", File({Track()}, {}, {}));

  std::vector<Track> all;
  int id = 1;
  for (int type : {1, 2, 3, 4, 6, 7, 8, 9, 11}) all.push_back(OfType(type, id++));
  Write("layout", "every-track-type.anl", File(all, {}, {}));

  Model bridge;
  bridge.id = 5;
  bridge.name = "..\\Bruecken\\Stein";
  bridge.pos[0] = 1500;
  bridge.pos[1] = 0;
  bridge.pos[2] = 20;
  Model stop;
  stop.id = 6;
  stop.name = "..\\Prellbock\\A";
  stop.pos[0] = 1700;
  stop.pos[2] = 40;
  Model house;
  house.id = 7;
  Write("layout", "bridge-stop-duplicates.anl",
        File({OfType(1, 1), OfType(2, 2)}, {bridge, stop, house, house}, {}));

  Unit wagon;
  Unit dll;
  dll.id = 3;
  dll.name = "Loks\\V200.dll";
  dll.extra = std::string("\x00\xAB\x7F", 3);
  dll.trailerValue = 77;
  Unit lok;
  lok.id = 4;
  lok.name = "Lok.DLL";
  lok.extra = std::string(16, '\x5A');
  lok.neighbourA = 3;
  lok.neighbourB = 1;
  Unit refused;
  refused.id = 8;
  refused.name = "Neg.dll";
  Unit high;
  high.id = 30001;  // no trailer
  Write("layout", "rolling-stock.anl", File({Track()}, {house}, {wagon, dll, lok, high}));
  Write("layout", "refused-extra-length.anl", File({}, {}, {wagon, refused}));

  layout_bytes::Tail tail;
  for (int v = 0; v < 5; ++v) {
    for (int k = 0; k < 8; ++k) tail.cameras[v][k] = static_cast<std::uint32_t>(v * 100 + k);
  }
  tail.colourA[0] = 200;
  tail.colourB[2] = 17;
  tail.value = 0xDEADBEEF;
  Write("layout", "cameras-properties.anl", File({Track()}, {}, {wagon}, tail));
  tail.separators[0] = 1;
  Write("layout", "bad-separator.anl", File({}, {}, {}, tail));

  std::string cut = File(all, {bridge}, {dll});
  Write("layout", "truncated.anl", cut.substr(0, cut.size() / 2));
  Write("layout", "too-long.anl", File({}, {}, {}) + "x");
}

void SettingsSeeds() {
  Write("settings", "danl.danl",
        "[Zuvo]\r\nKamSet=Bahnhof\r\nPrellbock=Prellbock.mod\r\nOberleitung=Mast.mod\r\n"
        "Leitpfosten=Pfosten.mod\r\nBodentextur=Gras.bmp\r\n\r\n"
        "[KamSet Bahnhof]\r\nK0=1.0 0.0 0.0 10 20 30 40 50\r\n\r\n"
        "[Copy]\r\nMods\\Sound.wav=Mods\\Sound2.wav\r\n\r\n"
        "[Terrain Berg]\r\nHoehe=berg.bmp\r\nFarbe=berg-farbe.bmp\r\nKachelgroesse=100\r\n"
        "Pixelgroesse=7.81\r\n");
  Write("settings", "data-sheet.txt", "Lok V200\n[Zuvo]\nZusLen=3\n");
  Write("settings", "rules.txt",
        "a=1\n[S]\nb=2\n[Alpha]trailing\n[ a ]b]\n[Alpha\n[Beta=1\nk=v\n[\n"
        "a=b=c\n  k = v \nb=   \t\n=v\n;c=1\nk=a\rb\r\nk=v \t \r\n"
        "k=a\\\nb\nn=1\nk=x\\\n\nz=2\n[]\ny=2\n");
  Write("settings", "numbers.txt",
        "[Zuvo]\nZusLen=99999999999\nN=-2147483649\nR=1e309\nH=0x1p3\nE= \t+12abc\n");
}

void RegistrySeeds() {
  const std::string hive =
      "WINE REGISTRY Version 2\n"
      ";; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
      "[Software\\\\Classes\\\\.anl] 1700000000\n#time=1da0c1b2c3d4e5f\n"
      "@=\"Kantrelwick.Anlage\"\n\n"
      "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1700000001\n"
      "#time=1da0c1b2c3d4e60\n"
      "\"Name\"=\"kein Standardwert\"\n"
      "@=\"\\\"C:\\\\Program Files\\\\Sim\\\\Kantrelwick.exe\\\" \\\"%1\\\"\"\n"
      "\"Andere\"=dword:00000001\n";
  Write("wine_registry", "system.reg", hive);
  Write("wine_registry", "crlf.reg",
        "WINE REGISTRY Version 2\r\n"
        "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1\r\n"
        "@=str(2):\"%ProgramFiles%\\\\Sim\\\\Kantrelwick.exe \\x20ac\\101\"\r\n");
  Write("wine_registry", "hex.reg",
        "WINE REGISTRY Version 2\n"
        "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1\n"
        "@=hex(2):43,00,3a,00,5c,00,\\\n  53,00,00,00\n\"D\"=dword:ffffffff\n");
  Write("wine_registry", "own-key.reg",
        std::string("A\\B]\"C", 6) + std::string(1, '\0') +
            "WINE REGISTRY Version 2\n[A\\\\B\\]\\\"C] 0\n@=hex:01,02,00,03\n");
}

void PathSeeds() {
  const char windows = '\x01';
  const char unix = '\x00';
  Write("native_path", "w-exact", std::string(1, windows) + "C:\\Anlagen\\Berg.anl");
  Write("native_path", "w-case", std::string(1, windows) + "c:\\ANLAGEN\\BERG.anl");
  Write("native_path", "w-umlaut",
        std::string(1, windows) + "C:\\Rollmaterial\\DATENBL\xC4TTER\\v200.TXT");
  Write("native_path", "w-relative", std::string(1, windows) + "..\\Anlagen\\.\\Neu.anl");
  Write("native_path", "w-drive-relative", std::string(1, windows) + "d:berg.anl");
  Write("native_path", "w-rooted", std::string(1, windows) + "\\Programme/Kantrelwick");
  Write("native_path", "w-unc", std::string(1, windows) + "\\\\server\\share");
  Write("native_path", "w-z", std::string(1, windows) + "Z:\\Daten\\X.TXT");
  Write("native_path", "u-relative", std::string(1, unix) + "../Anlagen/Berg.anl");
  Write("native_path", "u-absolute", std::string(1, unix) + "/tmp/elsewhere/x");
  Write("native_path", "u-links", std::string(1, unix) + "../../dosdevices/c:/../drive_c/Anlagen");
  Write("native_path", "u-utf8", std::string(1, unix) + "../\xC3\x84rger/\xE2\x82\xAC.txt");
  Write("native_path", "u-not-cp1252", std::string(1, unix) + "../Fremd/\xE4\xB8\xAD.txt");
  Write("native_path", "u-bad-utf8", std::string(1, unix) + "../\xC3(");
  Write("native_path", "u-backslash", std::string(1, unix) + "a\\b");
}

void CopyTerrainData() {
  fs::path data = root / "tests" / "terrain" / "data";
  for (const auto& entry : fs::directory_iterator(data)) {
    std::string ext = entry.path().extension().string();
    std::string target = ext == ".bmp" ? "bitmap" : ext == ".ter" ? "terragen" : "";
    if (target.empty()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Write(target, entry.path().filename().string(), bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) root = argv[1];
  if (!fs::is_directory(root / "tests" / "terrain" / "data")) {
    std::cerr << "run from the repository root or name it\n";
    return 2;
  }
  LayoutSeeds();
  SettingsSeeds();
  RegistrySeeds();
  PathSeeds();
  CopyTerrainData();
  return 0;
}
