#include "ui/win32/window_position.h"

#include <algorithm>

namespace ui_win32 {

void CenterWindow(HWND window, HWND over) {
  RECT area;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  RECT target = area;
  if (over && IsWindowVisible(over) && !IsIconic(over)) GetWindowRect(over, &target);

  RECT own;
  GetWindowRect(window, &own);
  LONG width = own.right - own.left;
  LONG height = own.bottom - own.top;
  LONG x = target.left + (target.right - target.left - width) / 2;
  LONG y = target.top + (target.bottom - target.top - height) / 2;
  x = std::max(area.left, std::min(x, area.right - width));
  y = std::max(area.top, std::min(y, area.bottom - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui_win32
