// The dialog window itself, read from the live windows: every control of the
// main dialog and of the about box with its id, kind, text, place, size and
// style; the tab order; the font; the system menu with the about entry; and
// a picture of the dialog as a person sees it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_fixture.h"

namespace dialog_driver {
namespace {

enum Kind { kLabel, kEdit, kButton, kDefaultButton, kGroupBox, kDropDownCombo, kIcon };

struct ExpectedControl {
  int id;  // -1: a label without id
  Kind kind;
  const char* text;
  int x, y, width, height;  // dialog units
  bool disabled;
};

// The main dialog's controls in tab order: "Starte ZUVO" and "Standard" first,
// then from top to bottom, "Fertig" last.
const ExpectedControl kMainControls[] = {
    {1003, kButton, "Starte ZUVO", 102, 228, 50, 14, false},
    {1015, kButton, "Standard", 296, 231, 50, 14, false},
    {-1, kLabel, "Anlage:", 15, 16, 35, 8, false},
    {1000, kEdit, "", 66, 10, 207, 14, false},
    {1001, kButton, "Laden", 295, 10, 50, 14, false},
    {-1, kLabel, "Kamera Set:", 15, 41, 45, 8, false},
    {1002, kDropDownCombo, "", 66, 37, 205, 125, false},
    {1004, kButton, "L\xF6schen", 295, 35, 50, 14, false},
    {-1, kLabel, "Prellbock:", 15, 64, 45, 8, false},
    {1007, kEdit, "", 66, 58, 204, 14, false},
    {1006, kButton, "Ausw\xE4hlen", 295, 58, 50, 14, false},
    {-1, kLabel, "Oberleitung:", 15, 92, 45, 8, false},
    {1009, kEdit, "", 66, 86, 204, 14, false},
    {1008, kButton, "Ausw\xE4hlen", 295, 86, 50, 14, false},
    {-1, kLabel, "Leitpfosten:", 15, 117, 45, 8, false},
    {1011, kEdit, "", 66, 111, 204, 14, false},
    {1010, kButton, "Ausw\xE4hlen", 295, 111, 50, 14, false},
    {-1, kLabel, "Bodentextur:", 15, 141, 45, 8, false},
    {1013, kEdit, "", 66, 135, 204, 14, false},
    {1012, kButton, "Ausw\xE4hlen", 295, 135, 50, 14, false},
    {-1, kGroupBox, "Fehlende Modelle l\xF6schen", 15, 161, 225, 30, false},
    {1016, kButton, "Rollmaterial", 27, 172, 50, 14, false},
    {1017, kButton, "GBOs", 103, 172, 50, 14, false},
    {1018, kButton, "Immobilien", 179, 172, 51, 14, false},
    {1005, kButton, "Gen. Terrain", 295, 171, 50, 14, true},
    {1019, kButton, "Inventarliste", 25, 202, 50, 14, false},
    {1020, kButton, "Fehlliste", 104, 202, 50, 14, false},
    {1, kDefaultButton, "Fertig", 25, 229, 50, 14, false},
};

// The about box's controls (the icon's size is the icon's own).
const ExpectedControl kAboutControls[] = {
    {-1, kIcon, nullptr, 11, 17, 0, 0, false},
    {-1, kLabel, "StartZUVO Version 1.2", 40, 10, 119, 8, false},
    {-1, kLabel, nullptr, 40, 25, 119, 8, false},
    {1, kDefaultButton, "OK", 178, 7, 50, 14, false},
};

// Dialog units to pixels, as the dialog manager converts them: the base units
// come from the probe's MapDialogRect on the live dialog.
struct Units {
  long baseX = 0;  // pixels per 4 horizontal dialog units
  long baseY = 0;  // pixels per 8 vertical dialog units
  int X(int units) const { return MulDiv(units, baseX, 4); }
  int Y(int units) const { return MulDiv(units, baseY, 8); }
};

std::string KindName(Kind kind) {
  static const char* kNames[] = {"label", "edit", "button", "default button", "group box",
                                 "drop-down combo box", "icon"};
  return kNames[kind];
}

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The drop-down list of the dialog's combo box: a top-level "ComboLBox"
// window of the program while the combo box exists.
HWND ComboListOf(HWND dialog) {
  DWORD processId = 0;
  GetWindowThreadProcessId(dialog, &processId);
  for (HWND w = FindWindowExA(nullptr, nullptr, "ComboLBox", nullptr); w;
       w = FindWindowExA(nullptr, w, "ComboLBox", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId) return w;
  }
  return nullptr;
}

RECT ClientRectOf(HWND child, HWND dialog) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Checks one live control against its row of the table.
void CheckControl(HWND dialog, HWND control, const ExpectedControl& e, const Units& units) {
  SCOPED_TRACE("control " + std::to_string(e.id) + " " + KindName(e.kind) + " \"" +
               (e.text ? e.text : "") + "\"");
  int id = GetDlgCtrlID(control);
  if (e.id == -1) {
    EXPECT_EQ(id & 0xFFFF, 0xFFFF) << "a label without id";
  } else {
    EXPECT_EQ(id, e.id);
  }
  LONG style = GetWindowLongA(control, GWL_STYLE);
  EXPECT_TRUE(style & WS_CHILD);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_EQ((style & WS_DISABLED) != 0, e.disabled) << "disabled at creation";
  std::string cls = ClassOf(control);
  switch (e.kind) {
    case kLabel:
      EXPECT_EQ(cls, "Static");
      EXPECT_EQ(style & SS_TYPEMASK, SS_LEFT) << "left-aligned text";
      break;
    case kIcon:
      EXPECT_EQ(cls, "Static");
      EXPECT_EQ(style & SS_TYPEMASK, SS_ICON);
      break;
    case kEdit:
      EXPECT_EQ(cls, "Edit");
      EXPECT_TRUE(style & ES_READONLY) << "read-only";
      EXPECT_TRUE(style & ES_AUTOHSCROLL) << "auto horizontal scroll";
      EXPECT_TRUE(style & WS_TABSTOP);
      break;
    case kButton:
    case kDefaultButton:
      EXPECT_EQ(cls, "Button");
      // The dialog manager moves the default look to a focused push button,
      // so either push-button style is right here; which button is the
      // dialog's default is checked with DM_GETDEFID.
      EXPECT_TRUE((style & BS_TYPEMASK) == BS_PUSHBUTTON ||
                  (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
          << "push button, style " << std::hex << style;
      EXPECT_TRUE(style & WS_TABSTOP);
      break;
    case kGroupBox:
      EXPECT_EQ(cls, "Button");
      EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX);
      break;
    case kDropDownCombo: {
      EXPECT_EQ(cls, "ComboBox");
      EXPECT_EQ(style & 3, CBS_DROPDOWN) << "drop-down with edit field";
      EXPECT_TRUE(style & CBS_SORT) << "sorted";
      EXPECT_TRUE(style & WS_TABSTOP);
      // The combo box hands its scroll bar style on to its list (checked
      // with a long list, see below).
      HWND list = ComboListOf(dialog);
      ASSERT_NE(list, nullptr) << "the drop-down list";
      EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & LBS_SORT) << "sorted list";
      break;
    }
  }
  if (e.text) {
    EXPECT_EQ(WindowText(control), e.text);
  }

  RECT r = ClientRectOf(control, dialog);
  EXPECT_EQ(r.left, units.X(e.x)) << "x";
  EXPECT_EQ(r.top, units.Y(e.y)) << "y";
  if (e.kind == kIcon) return;
  EXPECT_EQ(r.right - r.left, units.X(e.width)) << "width";
  if (e.kind == kDropDownCombo) {
    // A combo box's height in the template is its height when dropped down,
    // which Windows reports as the dropped rectangle. Wine reports only the
    // list below the edit field there; the field and its borders (a few
    // pixels more than the field's window) make up the rest.
    RECT dropped = {};
    SendMessageTimeoutW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped),
                        SMTO_NORMAL, kWaitMs, nullptr);
    long height = dropped.bottom - dropped.top;
    long field = r.bottom - r.top;
    long expected = units.Y(e.height);
    if (RunningUnderWine()) {
      EXPECT_TRUE(height + field <= expected && height + field + 4 >= expected)
          << "dropped list " << height << " below a field of " << field << ", expected "
          << expected << " in all";
    } else {
      EXPECT_EQ(height, expected) << "dropped height";
    }
  } else {
    EXPECT_EQ(r.bottom - r.top, units.Y(e.height)) << "height";
  }
}

void CheckControls(HWND dialog, const ExpectedControl* expected, std::size_t count,
                   const Units& units) {
  std::vector<HWND> children = Children(dialog);
  ASSERT_EQ(children.size(), count) << "number of controls";
  for (std::size_t i = 0; i < count; ++i) CheckControl(dialog, children[i], expected[i], units);
}

::testing::AssertionResult ReadUnits(App& app, Units* units, dialog_probe::ProbeReport* report) {
  if (!app.Probe(report)) return ::testing::AssertionFailure() << "the probe did not answer";
  if (report->mappedWidth <= 0 || report->mappedHeight <= 0 || report->mappedWidth % 1000 ||
      report->mappedHeight % 1000) {
    return ::testing::AssertionFailure() << "MapDialogRect gave " << report->mappedWidth << " x "
                                         << report->mappedHeight;
  }
  units->baseX = report->mappedWidth / 1000;
  units->baseY = report->mappedHeight / 1000;
  return ::testing::AssertionSuccess();
}

class DialogWindowTest : public DialogTest {};

TEST_F(DialogWindowTest, TheResourcesAreGerman) {
  Step("loading StartZUVO.exe as data");
  HMODULE exe = LoadLibraryExA(StartZuvoExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  const WORD german = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
  struct Resource {
    LPCSTR type;
    int id;
  };
  // String 101 lives in the string table block 101 / 16 + 1.
  const Resource resources[] = {{RT_DIALOG, 102}, {RT_DIALOG, 100}, {RT_GROUP_ICON, 128},
                                {RT_STRING, 101 / 16 + 1}};
  for (const Resource& r : resources) {
    EXPECT_NE(FindResourceExA(exe, r.type, MAKEINTRESOURCEA(r.id), german), nullptr)
        << "resource " << r.id << " in German (Germany)";
  }
  char text[128] = {};
  EXPECT_GT(LoadStringA(exe, 101, text, sizeof(text)), 0);
  EXPECT_STREQ(text, "Inf&o \xFC" "ber StartZUVO...");
  FreeLibrary(exe);
}

TEST_F(DialogWindowTest, WithoutItsKindFolderAnAuswaehlenButtonIsDisabled) {
  Step("an installation without the folder Oberleitung");
  ASSERT_TRUE(DeleteFileA(installation_.Path("Oberleitung\\Kette.mod").c_str()));
  ASSERT_TRUE(RemoveDirectoryA(installation_.Path("Oberleitung").c_str()));
  ASSERT_TRUE(Start({}));
  ASSERT_TRUE(Settle());

  Step("the catenary's button is disabled, the other three are enabled");
  EXPECT_FALSE(app_.Enabled(1008));
  EXPECT_TRUE(app_.Enabled(1006));
  EXPECT_TRUE(app_.Enabled(1010));
  EXPECT_TRUE(app_.Enabled(1012));
  EXPECT_TRUE(Finish());
}

TEST_F(DialogWindowTest, EveryControlMatchesTheTable) {
  Step("starting without a layout");
  ASSERT_TRUE(Start({}));
  ASSERT_TRUE(Settle());
  HWND dialog = app_.dialog();

  Step("reading the dialog units and the font through the probe");
  Units units;
  dialog_probe::ProbeReport report = {};
  ASSERT_TRUE(ReadUnits(app_, &units, &report));
  EXPECT_STREQ(report.fontFace, "MS Sans Serif");
  EXPECT_EQ(report.fontHeight, -MulDiv(8, report.pixelsPerInch, 72)) << "8 points";

  Step("the dialog's caption, size and style");
  EXPECT_EQ(WindowText(dialog), "ZUVO Startup Tool");
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, units.X(382));
  EXPECT_EQ(client.bottom, units.Y(255));
  LONG style = GetWindowLongA(dialog, GWL_STYLE);
  LONG exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & DS_MODALFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX) << "no minimise box";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "no maximise box";
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(exStyle & WS_EX_APPWINDOW) << "shown on the task bar";
  EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
  EXPECT_TRUE(IsWindowVisible(dialog));

  Step("every control, in tab order");
  CheckControls(dialog, kMainControls, sizeof(kMainControls) / sizeof(kMainControls[0]), units);
  DWORD_PTR defaultId = 0;
  SendMessageTimeoutW(dialog, DM_GETDEFID, 0, 0, SMTO_NORMAL, kWaitMs, &defaultId);
  EXPECT_EQ(HIWORD(defaultId), DC_HASDEFID);
  EXPECT_EQ(LOWORD(defaultId), IDOK) << "\"Fertig\" is the default button";

  Step("the icon: the window's icon is also the one shown while dragging it minimised");
  EXPECT_NE(report.bigIcon, 0u);
  EXPECT_NE(report.smallIcon, 0u);
  EXPECT_EQ(report.dragIcon, report.bigIcon);

  Step("started without a layout: empty fields and list");
  EXPECT_TRUE(ComboItems(app_.Control(1002)).empty());
  EXPECT_EQ(app_.Text(1002), "");
  EXPECT_FALSE(app_.Enabled(1005)) << "\"Gen. Terrain\"";
  EXPECT_TRUE(app_.NoBoxOpen());

  Step("a long camera-set list is sorted and scrolls when dropped down");
  HWND combo = app_.Control(1002);
  for (int i = 30; i > 0; --i) {
    std::wstring name = L"Set " + std::to_wstring(100 + i);
    SendMessageTimeoutW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()),
                        SMTO_NORMAL, kWaitMs, nullptr);
  }
  std::vector<std::string> items = ComboItems(combo);
  ASSERT_EQ(items.size(), 30u);
  EXPECT_EQ(items.front(), "Set 101");
  EXPECT_EQ(items.back(), "Set 130");
  SendMessageTimeoutW(combo, CB_SHOWDROPDOWN, TRUE, 0, SMTO_NORMAL, kWaitMs, nullptr);
  ASSERT_TRUE(Settle());
  HWND list = ComboListOf(dialog);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) << "vertical scroll";
  SendMessageTimeoutW(combo, CB_SHOWDROPDOWN, FALSE, 0, SMTO_NORMAL, kWaitMs, nullptr);

  Step("\"Fertig\" ends the program");
  EXPECT_TRUE(Finish());
}

TEST_F(DialogWindowTest, TheAboutEntryIsLastInTheSystemMenuAndOpensTheAboutBox) {
  Step("starting without a layout");
  ASSERT_TRUE(Start({}));
  ASSERT_TRUE(Settle());
  HWND dialog = app_.dialog();

  Step("reading the system menu through the probe");
  Units units;
  dialog_probe::ProbeReport report = {};
  ASSERT_TRUE(ReadUnits(app_, &units, &report));
  int count = report.menuItemCount;
  ASSERT_GE(count, 3);
  const dialog_probe::ProbeMenuItem& last = report.menuItems[count - 1];
  const dialog_probe::ProbeMenuItem& beforeLast = report.menuItems[count - 2];
  EXPECT_EQ(last.id, 0x0010u) << "IDM_ABOUTBOX";
  EXPECT_STREQ(last.text, "Inf&o \xFC" "ber StartZUVO...");
  EXPECT_TRUE(beforeLast.type & MFT_SEPARATOR) << "a separator before the about entry";
  bool hasClose = false;
  for (int i = 0; i < count - 2; ++i) {
    if (report.menuItems[i].id == SC_CLOSE) hasClose = true;
    EXPECT_NE(report.menuItems[i].id, 0x0010u) << "the about entry only once";
  }
  EXPECT_TRUE(hasClose) << "the usual entries stay";

  Step("choosing the about entry");
  PostMessageW(dialog, WM_SYSCOMMAND, last.id, 0);
  BoxWindow about;
  ASSERT_TRUE(WaitForMessageBox(&about));
  EXPECT_EQ(about.caption, "Info \xFC" "ber StartZUVO");
  EXPECT_EQ(about.owner, dialog);
  EXPECT_NE(about.text.find("StartZUVO Version 1.2"), std::string::npos) << about.text;

  Step("the about box's controls");
  RECT client;
  GetClientRect(about.window, &client);
  EXPECT_EQ(client.right, units.X(235));
  EXPECT_EQ(client.bottom, units.Y(55));
  CheckControls(about.window, kAboutControls, sizeof(kAboutControls) / sizeof(kAboutControls[0]),
                units);
  std::string picture = PictureFolder() + "\\about.bmp";
  std::string error;
  Sleep(300);  // let it paint
  EXPECT_TRUE(SaveWindowPicture(about.window, picture, &error)) << error;

  Step("OK closes the about box");
  EXPECT_TRUE(AnswerBox(about, IDOK)) << "the box closes";
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen());

  Step("the close command of the system menu still closes the dialog");
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(app_.WaitForExit(kWaitMs));
}

}  // namespace
}  // namespace dialog_driver
