#include "terrain/terrain_inputs.h"

#include "host/messages.h"
#include "terrain/terragen.h"

namespace terrain {
namespace {

// The height file as a height field. The file's own errors leave an empty
// field.
std::unique_ptr<HeightField> OpenHeightField(const TerrainJob& job) {
  if (job.heightFormat == HeightFormat::kBitmap) {
    return std::unique_ptr<HeightField>(
        new BitmapHeightField(job.heightPath, job.heightFile, job.pixelSize));
  }
  return std::unique_ptr<HeightField>(new TerragenHeightField(job.heightPath, job.heightFile));
}

// Reports why a plan was refused. 1 when it was not.
int CheckPlan(PlanResult result, const std::string& section) {
  switch (result) {
    case PlanResult::kOk:
      return 1;
    case PlanResult::kBadSpacing:
      host::ShowFormatted("[%s]:Kachelabstand muss gr\xF6\xDF" "er als 0 sein!\n", section.c_str());
      return 0;
    case PlanResult::kBadSize:
      host::ShowFormatted("[%s]:Kachelgroesse muss gr\xF6\xDF" "er als 0 sein!\n", section.c_str());
      return 0;
    case PlanResult::kSpacingBelowPixel:
      host::ShowFormatted("[%s]:Kachelabstand muss mindestens so gro\xDF wie die Pixelgroesse sein!\n",
                          section.c_str());
      return 0;
  }
  return 0;
}

}  // namespace

int ReadTerrainInputs(const TerrainJob& job, TerrainInputs* inputs) {
  const std::string& section = job.section;
  if (!PassesStage(job, TerrainStage::kBeforeHeights)) return 0;
  inputs->heights = OpenHeightField(job);
  const HeightField& heights = *inputs->heights;
  if (!PassesStage(job, TerrainStage::kBeforeColours)) return 0;
  inputs->colours.ReadBitmap(job.colourPath, job.colourFile);
  if (inputs->colours.width != heights.cellsX || inputs->colours.height != heights.cellsY) {
    host::ShowFormatted("Groessen stimmen nicht \xFC" "berein!\n");
    return 0;
  }
  if (!PassesStage(job, TerrainStage::kBeforeTiles)) return 0;
  // Both files failed to load; each has told why.
  if (heights.cellsX == 0) return 0;
  if (heights.pixelSize <= 0) {
    host::ShowFormatted("[%s]:Pixelgroesse aus %s muss gr\xF6\xDF" "er als 0 sein!\n",
                        section.c_str(), job.heightFile.c_str());
    return 0;
  }
  if (!CheckPlan(PlanTiles(job.spacingMetres, job.sizeMetres, heights.pixelSize, heights.cellsX,
                           heights.cellsY, &inputs->plan),
                 section)) {
    return 0;
  }
  inputs->planned = true;
  const TilePlan& plan = inputs->plan;
  if (!TilesFit(plan, plan.halfSize)) {
    host::ShowFormatted(
        "[%s]:Kachelgroesse zu gro\xDF f\xFCr eine Modelldatei, h\xF6" "chstens %s m bei dieser "
        "Pixelgroesse!\n",
        section.c_str(), TileSizeText(LargestFittingHalfSize(plan), plan.pixelSize).c_str());
    return 0;
  }
  return 1;
}

}  // namespace terrain
