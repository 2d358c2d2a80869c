// The dialog's side of the four asset kinds, in the order of host::AssetKind
// (the kinds' files and messages are in host/installation.h).
#pragma once

#include <string>

#include "app/dialog_view.h"
#include "host/installation.h"

namespace app {

struct AssetKindControls {
  std::string DialogMembers::*choice;  // the member that holds the chosen file
  int chooseButton;                    // its "Auswählen" button
};

inline constexpr AssetKindControls kAssetKindControls[host::kAssetKindCount] = {
    {&DialogMembers::m_bufferStop, kIdChooseBufferStop},
    {&DialogMembers::m_catenary, kIdChooseCatenary},
    {&DialogMembers::m_guidePost, kIdChooseGuidePost},
    {&DialogMembers::m_groundTexture, kIdChooseGroundTexture},
};

}  // namespace app
