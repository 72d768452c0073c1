#include "view/view_settings.h"

#include <algorithm>

namespace beatloom {

uint32_t RgbFromColorRef(int64_t colorRef) {
  const auto v = static_cast<uint32_t>(colorRef & 0xFFFFFF);
  const uint32_t red = v & 0xFF;
  const uint32_t green = (v >> 8) & 0xFF;
  const uint32_t blue = (v >> 16) & 0xFF;
  return (red << 16) | (green << 8) | blue;
}

int64_t ColorRefFromRgb(uint32_t rgb) {
  const uint32_t red = (rgb >> 16) & 0xFF;
  const uint32_t green = (rgb >> 8) & 0xFF;
  const uint32_t blue = rgb & 0xFF;
  return static_cast<int64_t>((blue << 16) | (green << 8) | red);
}

ViewSettings ViewSettings::Clamped() const {
  ViewSettings s = *this;
  s.GridHeight = std::clamp(GridHeight, MinGridHeight, MaxGridHeight);
  s.GridWidth = std::clamp(GridWidth, MinGridWidth, MaxGridWidth);
  s.ObjectHeight = std::clamp(ObjectHeight, MinObjectHeight, MaxObjectHeight);
  if (GridPosition < 0 || GridPosition >= GridChoiceCount) s.GridPosition = 0;
  if (SubGridPosition < 0 || SubGridPosition >= SubGridChoiceCount) s.SubGridPosition = SubGridChoiceCount - 1;
  for (auto& c : s.Colors) c &= 0xFFFFFF;
  return s;
}

}  // namespace beatloom
