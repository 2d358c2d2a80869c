#include "terrain/terrain_inputs.h"

#include "host/messages.h"
#include "terrain/terragen.h"

namespace terrain {
namespace {

// The height file as a height field. The file's own errors leave an empty
// field.
std::unique_ptr<HeightField> OpenHeightField(const TerrainJob& job, host::Reasons* into) {
  if (job.heightFormat == HeightFormat::kBitmap) {
    return std::unique_ptr<HeightField>(new BitmapHeightField(job.heightPath, job.heightFile, job.pixelSize, into));
  }
  return std::unique_ptr<HeightField>(new TerragenHeightField(job.heightPath, job.heightFile, into));
}

// Reports why a plan was refused. 1 when it was not.
int CheckPlan(PlanResult result, const std::string& section, host::Reasons* into) {
  switch (result) {
    case PlanResult::kOk: return 1;
    case PlanResult::kBadSpacing: host::Tell(into, host::Why::kSpacingNotPositive, section); return 0;
    case PlanResult::kBadSize: host::Tell(into, host::Why::kSizeNotPositive, section); return 0;
    case PlanResult::kSpacingBelowPixel: host::Tell(into, host::Why::kSpacingBelowPixel, section); return 0;
  }
  return 0;
}

}  // namespace

int ReadTerrainInputs(const TerrainJob& job, TerrainInputs* inputs, host::Reasons* into) {
  const std::string& section = job.section;
  if (!PassesStage(job, TerrainStage::kBeforeHeights, into)) return 0;
  inputs->heights = OpenHeightField(job, into);
  const HeightField& heights = *inputs->heights;
  if (!PassesStage(job, TerrainStage::kBeforeColours, into)) return 0;
  const int coloursRead = inputs->colours.ReadBitmap(job.colourPath, job.colourFile, into);
  // A picture that was refused has said why; its size (none) would only
  // mislead.
  if (heights.unreadable || !coloursRead) return 0;
  if (inputs->colours.width != heights.cellsX || inputs->colours.height != heights.cellsY) {
    host::Tell(into, host::Why::kSizesDiffer, std::to_string(heights.cellsX) + " x " + std::to_string(heights.cellsY),
               std::to_string(inputs->colours.width) + " x " + std::to_string(inputs->colours.height));
    return 0;
  }
  if (!PassesStage(job, TerrainStage::kBeforeTiles, into)) return 0;
  // Both files failed to load; each has told why.
  if (heights.cellsX == 0) return 0;
  if (heights.pixelSize <= 0) {
    host::Tell(into, host::Why::kPixelSizeFromFile, section, job.heightFile);
    return 0;
  }
  if (!CheckPlan(PlanTiles(job.spacingMetres, job.sizeMetres, heights.pixelSize, heights.cellsX, heights.cellsY,
                           &inputs->plan),
                 section, into)) {
    return 0;
  }
  inputs->planned = true;
  const TilePlan& plan = inputs->plan;
  if (!TilesFit(plan, plan.halfSize)) {
    host::Tell(into, host::Why::kTilesTooLarge, section, TileSizeText(LargestFittingHalfSize(plan), plan.pixelSize));
    return 0;
  }
  return 1;
}

}  // namespace terrain
