// The probe DLL (see dialog_probe.h). It runs inside StartZUVO.exe only while
// the driver's hooks are installed, and acts only on the two registered
// messages.
#include <windows.h>

#include <cstring>

#include "dialog_probe.h"

namespace {

// The shared memory of this process, mapped on first use and kept.
dialog_probe::ProbeReport* SharedReport() {
  static dialog_probe::ProbeReport* report = nullptr;
  if (!report) {
    std::string name = dialog_probe::SharedMemoryName(GetCurrentProcessId());
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
    if (!mapping) return nullptr;
    report = static_cast<dialog_probe::ProbeReport*>(
        MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(dialog_probe::ProbeReport)));
    CloseHandle(mapping);  // the view keeps the memory
  }
  return report;
}

void Fill(HWND dialog, dialog_probe::ProbeReport* report) {
  RECT units = {0, 0, 4000, 8000};
  if (MapDialogRect(dialog, &units)) {
    report->mappedWidth = units.right;
    report->mappedHeight = units.bottom;
  }

  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  LOGFONTA logFont = {};
  if (font && GetObjectA(font, sizeof(logFont), &logFont) == sizeof(logFont)) {
    static_assert(sizeof(report->fontFace) > sizeof(logFont.lfFaceName), "room for the name");
    std::memcpy(report->fontFace, logFont.lfFaceName, sizeof(logFont.lfFaceName));
    report->fontHeight = logFont.lfHeight;
  }
  HDC dc = GetDC(dialog);
  report->pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(dialog, dc);
  report->bigIcon = static_cast<unsigned long long>(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
  report->smallIcon =
      static_cast<unsigned long long>(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
  report->dragIcon = static_cast<unsigned long long>(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0));

  HMENU menu = GetSystemMenu(dialog, FALSE);
  int count = menu ? GetMenuItemCount(menu) : 0;
  if (count > dialog_probe::kMaxMenuItems) count = dialog_probe::kMaxMenuItems;
  for (int i = 0; i < count; ++i) {
    dialog_probe::ProbeMenuItem& item = report->menuItems[i];
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = item.text;
    info.cch = sizeof(item.text) - 1;
    if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) {
      item.id = info.wID;
      item.type = info.fType;
    }
  }
  report->menuItemCount = count < 0 ? 0 : count;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ZuvoProbeHook(int code, WPARAM wParam,
                                                                LPARAM lParam) {
  static const UINT probeMessage = RegisterWindowMessageA(dialog_probe::kProbeMessage);
  if (code == HC_ACTION && lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    dialog_probe::ProbeReport* report = nullptr;
    if (call->message == probeMessage && (report = SharedReport()) != nullptr) {
      Fill(call->hwnd, report);
      MemoryBarrier();
      report->done = static_cast<long>(call->wParam);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK ZuvoMarkerHook(int code, WPARAM wParam,
                                                                 LPARAM lParam) {
  static const UINT markerMessage = RegisterWindowMessageA(dialog_probe::kMarkerMessage);
  if (code == HC_ACTION && wParam == PM_REMOVE && lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    dialog_probe::ProbeReport* report = nullptr;
    if (message->message == markerMessage && (report = SharedReport()) != nullptr) {
      report->markerSeen = static_cast<long>(message->wParam);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
