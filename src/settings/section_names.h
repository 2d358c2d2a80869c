// The names StartZUVO reads and writes in settings files: the layout's
// ".danl" keeps the run's choices in section "Zuvo" (the camera set under
// "KamSet", each asset kind under its own key) and the swaps of a run in
// section "Copy"; a data sheet keeps a unit's extra record length as "ZusLen"
// in its section "Zuvo".
#pragma once

namespace settings {

constexpr char kZuvoSection[] = "Zuvo";
constexpr char kCameraSetKey[] = "KamSet";
constexpr char kCopySection[] = "Copy";
constexpr char kExtraLengthKey[] = "ZusLen";

}  // namespace settings
