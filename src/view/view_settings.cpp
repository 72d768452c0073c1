#include "view/view_settings.h"

namespace beatloom {

ViewSettings ViewSettings::Clamped() const {
  ViewSettings s = *this;
  s.GridHeight = GridHeightSetting.Clamp(GridHeight);
  s.GridWidth = GridWidthSetting.Clamp(GridWidth);
  s.ObjectHeight = ObjectHeightSetting.Clamp(ObjectHeight);
  // An unknown selector index means what the renderer makes of it: the
  // coarsest grid and no sub-lines.
  if (GridPosition < 0 || GridPosition >= GridChoiceCount) s.GridPosition = 0;
  if (SubGridPosition < 0 || SubGridPosition >= SubGridChoiceCount) s.SubGridPosition = SubGridChoiceCount - 1;
  for (auto& c : s.Colors) c &= 0xFFFFFF;
  return s;
}

}  // namespace beatloom
