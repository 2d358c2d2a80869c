// TERRAGEN height fields from hostile bytes: never more samples than the
// file holds, every height of the grid readable, and a fault always said.
#include <cmath>
#include <string>

#include "fuzz_support.h"
#include "terrain/terragen.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ResetReportCounts();
  terrain::TerragenTerrain terrain;
  int ok = terrain.ReadTerragenBytes(std::string(reinterpret_cast<const char*>(data), size), "f.ter");
  FUZZ_CHECK(fuzz::MessagesShown() == (ok ? 0 : 1));
  FUZZ_CHECK(terrain.samples.size() <= size / 2);
  FUZZ_CHECK(terrain.samples.size() <= static_cast<std::size_t>(terrain.xPoints) * terrain.yPoints);
  const int xs[] = {-1, 0, terrain.xPoints / 2, terrain.xPoints - 1, terrain.xPoints, 1 << 30};
  const int ys[] = {-(1 << 30), 0, terrain.yPoints / 2, terrain.yPoints - 1, terrain.yPoints};
  for (int x : xs) {
    for (int y : ys) terrain.HeightAt(x, y);
  }
  terrain::TerragenPixelSize(terrain.xScale);
  return 0;
}
