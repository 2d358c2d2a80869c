// The dialog window itself, read from the live windows: every control of the
// main dialog and of the about box with its id, kind, text, place, size and
// style; the tab order; the font; the icon; the system menu with the about
// entry; the German resources; and a picture of the dialog.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window_driver.h"

namespace dialog_driver {
namespace {

// A kind of control: its class and the style bits that make it.
struct Kind {
  const char* cls;
  LONG mask, style;
};
// The dialog manager moves the default look to a focused push button, so
// either push-button style is right for a button (mask without bit 0); the
// dialog's default button is checked with DM_GETDEFID.
const Kind kLabel = {"Static", SS_TYPEMASK, SS_LEFT};
const Kind kIcon = {"Static", SS_TYPEMASK, SS_ICON};
const Kind kEdit = {"Edit", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP,
                    ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP};
const Kind kButton = {"Button", (BS_TYPEMASK & ~1) | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP};
const Kind kGroupBox = {"Button", BS_TYPEMASK, BS_GROUPBOX};
// Drop-down with edit field, sorted.
const Kind kDropDownCombo = {"ComboBox", 3 | CBS_SORT | WS_TABSTOP,
                             CBS_DROPDOWN | CBS_SORT | WS_TABSTOP};

struct ExpectedControl {
  int id;  // -1: a label without id
  const Kind* kind;
  const char* text;
  int x, y, width, height;  // dialog units
  bool disabled;
};

// The main dialog's controls in tab order: "Starte ZUVO" and "Standard" first,
// then from top to bottom, "Fertig" last.
const std::vector<ExpectedControl> kMainControls = {
    {1003, &kButton, "Starte ZUVO", 102, 228, 50, 14, false},
    {1015, &kButton, "Standard", 296, 231, 50, 14, false},
    {-1, &kLabel, "Anlage:", 15, 16, 35, 8, false},
    {1000, &kEdit, "", 66, 10, 207, 14, false},
    {1001, &kButton, "Laden", 295, 10, 50, 14, false},
    {-1, &kLabel, "Kamera Set:", 15, 41, 45, 8, false},
    {1002, &kDropDownCombo, "", 66, 37, 205, 125, false},
    {1004, &kButton, "L\xF6schen", 295, 35, 50, 14, false},
    {-1, &kLabel, "Prellbock:", 15, 64, 45, 8, false},
    {1007, &kEdit, "", 66, 58, 204, 14, false},
    {1006, &kButton, "Ausw\xE4hlen", 295, 58, 50, 14, false},
    {-1, &kLabel, "Oberleitung:", 15, 92, 45, 8, false},
    {1009, &kEdit, "", 66, 86, 204, 14, false},
    {1008, &kButton, "Ausw\xE4hlen", 295, 86, 50, 14, false},
    {-1, &kLabel, "Leitpfosten:", 15, 117, 45, 8, false},
    {1011, &kEdit, "", 66, 111, 204, 14, false},
    {1010, &kButton, "Ausw\xE4hlen", 295, 111, 50, 14, false},
    {-1, &kLabel, "Bodentextur:", 15, 141, 45, 8, false},
    {1013, &kEdit, "", 66, 135, 204, 14, false},
    {1012, &kButton, "Ausw\xE4hlen", 295, 135, 50, 14, false},
    {-1, &kGroupBox, "Fehlende Modelle l\xF6schen", 15, 161, 225, 30, false},
    {1016, &kButton, "Rollmaterial", 27, 172, 50, 14, false},
    {1017, &kButton, "GBOs", 103, 172, 50, 14, false},
    {1018, &kButton, "Immobilien", 179, 172, 51, 14, false},
    {1005, &kButton, "Gen. Terrain", 295, 171, 50, 14, true},
    {1019, &kButton, "Inventarliste", 25, 202, 50, 14, false},
    {1020, &kButton, "Fehlliste", 104, 202, 50, 14, false},
    {1, &kButton, "Fertig", 25, 229, 50, 14, false},
};

// The about box's controls (the icon's size is the icon's own).
const std::vector<ExpectedControl> kAboutControls = {
    {-1, &kIcon, nullptr, 11, 17, 0, 0, false},
    {-1, &kLabel, "StartZUVO Version 1.2", 40, 10, 119, 8, false},
    {-1, &kLabel, nullptr, 40, 25, 119, 8, false},
    {1, &kButton, "OK", 178, 7, 50, 14, false},
};

// Dialog units to pixels, as the dialog manager converts them: the base units
// come from the probe's MapDialogRect on the live dialog.
struct Units {
  long baseX = 0;  // pixels per 4 horizontal dialog units
  long baseY = 0;  // pixels per 8 vertical dialog units
  int X(int units) const { return MulDiv(units, baseX, 4); }
  int Y(int units) const { return MulDiv(units, baseY, 8); }
};

// Checks the live controls of `dialog` against the table, in tab order.
void CheckControls(HWND dialog, const std::vector<ExpectedControl>& table, const Units& units) {
  std::vector<HWND> children = Children(dialog);
  ASSERT_EQ(children.size(), table.size()) << "number of controls";
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ExpectedControl& e = table[i];
    HWND control = children[i];
    SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(e.id) + " \"" +
                 (e.text ? e.text : "") + "\"");
    EXPECT_EQ(GetDlgCtrlID(control) & 0xFFFF, e.id & 0xFFFF) << "id (-1: none)";
    LONG style = GetWindowLongA(control, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    EXPECT_EQ((style & WS_DISABLED) != 0, e.disabled) << "disabled at creation";
    EXPECT_EQ(ClassOf(control), e.kind->cls);
    EXPECT_EQ(style & e.kind->mask, e.kind->style) << "style " << std::hex << style;
    if (e.text) {
      EXPECT_EQ(WindowText(control), e.text);
    }

    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, units.X(e.x)) << "x";
    EXPECT_EQ(r.top, units.Y(e.y)) << "y";
    if (e.kind == &kIcon) continue;
    EXPECT_EQ(r.right - r.left, units.X(e.width)) << "width";
    if (e.kind != &kDropDownCombo) {
      EXPECT_EQ(r.bottom - r.top, units.Y(e.height)) << "height";
      continue;
    }
    // A combo box's height in the template is its height dropped down. Wine
    // reports as the dropped rectangle only the list below the edit field;
    // the field and its borders (a few pixels more than the field's window)
    // make up the rest.
    RECT dropped = {};
    Ask(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    long height = dropped.bottom - dropped.top + r.bottom - r.top;
    EXPECT_LE(height, units.Y(e.height)) << "dropped height with the field";
    EXPECT_GE(height + 4, units.Y(e.height)) << "dropped height with the field";
  }
}

class DialogWindowTest : public DialogTest {
 protected:
  // Starts without a layout and reads the dialog units through the probe.
  void StartAndProbe() {
    Step("starting without a layout; the probe's look inside");
    ASSERT_TRUE(Start({}));
    ASSERT_TRUE(app_.Probe(&report_)) << "the probe did not answer";
    ASSERT_TRUE(report_.mappedWidth > 0 && report_.mappedHeight > 0 &&
                report_.mappedWidth % 1000 == 0 && report_.mappedHeight % 1000 == 0)
        << "MapDialogRect gave " << report_.mappedWidth << " x " << report_.mappedHeight;
    units_.baseX = report_.mappedWidth / 1000;
    units_.baseY = report_.mappedHeight / 1000;
  }

  dialog_probe::ProbeReport report_ = {};
  Units units_;
};

TEST_F(DialogWindowTest, EveryControlMatchesTheTable) {
  ASSERT_NO_FATAL_FAILURE(StartAndProbe());
  HWND dialog = app_.dialog();
  EXPECT_STREQ(report_.fontFace, "MS Sans Serif");
  EXPECT_EQ(report_.fontHeight, -MulDiv(8, report_.pixelsPerInch, 72)) << "8 points";

  Step("the dialog's caption, size and style");
  EXPECT_EQ(WindowText(dialog), "ZUVO Startup Tool");
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, units_.X(382));
  EXPECT_EQ(client.bottom, units_.Y(255));
  LONG style = GetWindowLongA(dialog, GWL_STYLE);
  const LONG kStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  // No minimise and maximise boxes, no sizing frame.
  EXPECT_EQ(style & (kStyles | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), kStyles);
  LONG exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
  EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME),
            WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME) << "on the task bar, modal frame";
  EXPECT_TRUE(IsWindowVisible(dialog));

  Step("every control, in tab order; \"Fertig\" is the default button");
  CheckControls(dialog, kMainControls, units_);
  EXPECT_EQ(Ask(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));

  Step("the icon: the window's icon is also the one shown while dragging it minimised");
  EXPECT_NE(report_.bigIcon, 0u);
  EXPECT_NE(report_.smallIcon, 0u);
  EXPECT_EQ(report_.dragIcon, report_.bigIcon);

  Step("started without a layout: empty fields and list");
  HWND combo = app_.Control(1002);
  EXPECT_EQ(Joined(ComboItems(combo)), "");
  EXPECT_EQ(app_.Text(1002), "");
  EXPECT_TRUE(app_.NoBoxOpen());

  Step("a long camera-set list is sorted and scrolls when dropped down");
  for (int i = 30; i > 0; --i) {
    std::wstring name = L"Set " + std::to_wstring(100 + i);
    SendMessageTimeoutW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()),
                        SMTO_NORMAL, kWaitMs, nullptr);
  }
  std::vector<std::string> items = ComboItems(combo);
  ASSERT_EQ(items.size(), 30u);
  EXPECT_EQ(items.front() + "|" + items.back(), "Set 101|Set 130");
  Ask(combo, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(app_.Settle());
  // The list is a top-level window of the program while the combo box exists.
  std::vector<HWND> lists = TopWindows("ComboLBox", app_.processId());
  ASSERT_EQ(lists.size(), 1u);
  HWND list = lists[0];
  EXPECT_TRUE(IsWindowVisible(list));
  LONG listStyle = GetWindowLongA(list, GWL_STYLE);
  EXPECT_EQ(listStyle & (WS_VSCROLL | LBS_SORT), WS_VSCROLL | LBS_SORT) << "sorted, scrolls";
  Ask(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_TRUE(Finish());
}

TEST_F(DialogWindowTest, TheAboutEntryIsLastInTheSystemMenuAndOpensTheAboutBox) {
  Step("the resources are German (Germany)");
  HMODULE exe = LoadLibraryExA(ZUVO_STARTZUVO_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  // String 101 lives in the string table block 101 / 16 + 1.
  const std::pair<LPCSTR, int> resources[] = {
      {RT_DIALOG, 102}, {RT_DIALOG, 100}, {RT_GROUP_ICON, 128}, {RT_STRING, 101 / 16 + 1}};
  for (const auto& r : resources) {
    EXPECT_NE(FindResourceExA(exe, r.first, MAKEINTRESOURCEA(r.second),
                              MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)),
              nullptr)
        << "resource " << r.second;
  }
  FreeLibrary(exe);

  ASSERT_NO_FATAL_FAILURE(StartAndProbe());
  HWND dialog = app_.dialog();
  Step("the system menu: the usual entries, a separator, the about entry");
  int count = report_.menuItemCount;
  ASSERT_GE(count, 3);
  const dialog_probe::ProbeMenuItem& last = report_.menuItems[count - 1];
  EXPECT_EQ(last.id, 0x0010u) << "IDM_ABOUTBOX";
  EXPECT_STREQ(last.text, "Inf&o \xFC" "ber StartZUVO...");
  EXPECT_TRUE(report_.menuItems[count - 2].type & MFT_SEPARATOR);
  bool hasClose = false;
  for (int i = 0; i < count - 2; ++i) {
    hasClose = hasClose || report_.menuItems[i].id == SC_CLOSE;
    EXPECT_NE(report_.menuItems[i].id, 0x0010u) << "the about entry only once";
  }
  EXPECT_TRUE(hasClose) << "the usual entries stay";

  Step("choosing the about entry");
  PostMessageW(dialog, WM_SYSCOMMAND, last.id, 0);
  BoxWindow about;
  ASSERT_TRUE(app_.WaitForBox(false, &about));
  EXPECT_EQ(about.caption, "Info \xFC" "ber StartZUVO");
  EXPECT_EQ(about.owner, dialog);
  RECT client;
  GetClientRect(about.window, &client);
  EXPECT_EQ(client.right, units_.X(235));
  EXPECT_EQ(client.bottom, units_.Y(55));
  CheckControls(about.window, kAboutControls, units_);

  Step("OK closes the about box; the system menu's close command closes the dialog");
  EXPECT_TRUE(AnswerBox(about, IDOK)) << "the box closes";
  ASSERT_TRUE(app_.Settle());
  EXPECT_TRUE(app_.NoBoxOpen());
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(app_.WaitForExit(kWaitMs));
}

}  // namespace
}  // namespace dialog_driver
