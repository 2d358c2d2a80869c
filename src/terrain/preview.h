// A picture of what the generation would make of one terrain section, as an
// SVG document (UTF-8):
//   - the colour picture, scaled down to at most kPreviewSide pixels on its
//     long side and embedded as a PNG data URI, drawn kPreviewSide units
//     wide on its long side with north up (row 0 of a picture is its south);
//   - each tile that the generation would write as a square (class "tile",
//     and "even" or "odd" by its column plus row, drawn in two colours and
//     set in a little per column and row, so that overlapping tiles stay
//     apart) reaching as far as the tile does, with a <title> and a label
//     (class "label") naming the tile's file as the generation names it, and
//     its centre (class "centre");
//   - beside it, a hillshade of the heights (light from the north-west) when
//     the heights were read and their pixel size is known;
//   - the picture's size in pixels and in metres, the lowest and the highest
//     ground in metres (class "heights"), a warning when they lie beyond
//     what ground on earth has (class "warning": below -500 m or above
//     9000 m, most likely a colour picture read as heights), the tile count,
//     and, for a section that the generation would refuse, the messages it
//     would show (class "refused") and, when the tiles are too large for a
//     model file, the largest "Kachelgroesse" that fits (class "fits").
// Texts of the settings are code page 1252; they are converted and escaped.
//
// Reading the pictures shows no message: what the generation would say goes
// into the picture. Nothing is written.
#pragma once

#include <string>

#include "host/messages.h"
#include "terrain/bitmap.h"
#include "terrain/height_field.h"
#include "terrain/png.h"
#include "terrain/terrain_job.h"

namespace terrain {

const int kPreviewSide = 1024;

// The SVG document for the job. The reasons the generation would refuse the
// section with go to `refused` as well, when it is given.
std::string TerrainPreviewSvg(const TerrainJob& job, host::Reasons* refused = nullptr);

// The lowest and highest vertex of the field, in centimetres; 0 and 0 for
// an empty field.
void HeightRange(const HeightField& field, double* lowest, double* highest);

// A grey picture of the field lit from the north-west, `width` x `height`
// pixels, rows top first (north up). Empty for an empty field or one without
// a pixel size.
RgbPicture Hillshade(const HeightField& field, int width, int height);

// The picture with rows top first, scaled down (each pixel the mean of the
// pixels it covers) so that neither side exceeds `maxSide`; a smaller
// picture keeps its size.
RgbPicture PreviewPicture(const BitmapImage& image, int maxSide);

// Code page 1252 text as UTF-8 for XML: & < > " ' escaped, the control
// characters that XML cannot hold as '?'.
std::string XmlText(const std::string& cp1252);

}  // namespace terrain
