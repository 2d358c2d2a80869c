// A look from inside StartZUVO.exe at its live dialog, for what another
// process cannot read through messages: the dialog-unit mapping
// (MapDialogRect), the font, the icons and the system menu; and a marker that
// tells the driver when the dialog has worked off everything posted to it.
//
// The driver installs the probe DLL's two hooks on the dialog's thread:
// - kProbeHookName (WH_CALLWNDPROC): when the dialog is sent the registered
//   message kProbeMessage, it fills the ProbeReport in the shared memory;
// - kMarkerHookName (WH_GETMESSAGE): when the thread takes the registered
//   message kMarkerMessage from its queue, it stores the message's wParam as
//   `markerSeen`. A marker posted after a click is taken only once the click
//   was handled, or once a modal box the click opened waits for input.
// The shared memory is named SharedMemoryName(process id); the driver creates
// it before installing the hooks.
#pragma once

#include <cstdio>
#include <string>

namespace dialog_probe {

const char kProbeMessage[] = "ZuvoDialogProbe";
const char kMarkerMessage[] = "ZuvoDialogMarker";
const char kProbeHookName[] = "ZuvoProbeHook";
const char kMarkerHookName[] = "ZuvoMarkerHook";
const int kMaxMenuItems = 32;

struct ProbeMenuItem {
  unsigned id;
  unsigned type;  // MFT_ flags; MFT_SEPARATOR for a separator
  char text[128];
};

struct ProbeReport {
  volatile long markerSeen;  // wParam of the last marker taken from the queue
  volatile long done;        // the number of the last probe, set when filled
  // MapDialogRect of {0, 0, 4000, 8000}: 1000 times the base units.
  long mappedWidth;
  long mappedHeight;
  // The dialog's font: its LOGFONT height in pixels (negative: character height).
  char fontFace[64];
  long fontHeight;
  int pixelsPerInch;
  // The window's icons (WM_GETICON) and what WM_QUERYDRAGICON answers.
  unsigned long long bigIcon, smallIcon, dragIcon;
  // The system menu, in order.
  int menuItemCount;
  ProbeMenuItem menuItems[kMaxMenuItems];
};

inline std::string SharedMemoryName(unsigned long processId) {
  char name[64];
  std::snprintf(name, sizeof(name), "ZuvoDialogProbe.%lu", processId);
  return name;
}

}  // namespace dialog_probe
