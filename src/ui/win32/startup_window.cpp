#include "ui/win32/startup_window.h"

#include "app/startup_dialog.h"
#include "ui/win32/about_box.h"
#include "ui/win32/resource.h"
#include "ui/win32/win32_dialog_view.h"
#include "ui/win32/window_position.h"

namespace ui_win32 {
namespace {

static_assert(IDC_LAYOUT_PATH == app::kIdLayoutPath && IDC_LOAD == app::kIdLoad &&
                  IDC_CAMERA_SET == app::kIdCameraSetCombo && IDC_START == app::kIdStart &&
                  IDC_DELETE_CAMERA_SET == app::kIdDeleteCameraSet && IDC_GEN_TERRAIN == app::kIdGenTerrain &&
                  IDC_CHOOSE_BUFFER_STOP == app::kIdChooseBufferStop && IDC_BUFFER_STOP == app::kIdBufferStop &&
                  IDC_CHOOSE_CATENARY == app::kIdChooseCatenary && IDC_CATENARY == app::kIdCatenary &&
                  IDC_CHOOSE_GUIDE_POST == app::kIdChooseGuidePost && IDC_GUIDE_POST == app::kIdGuidePost &&
                  IDC_CHOOSE_GROUND_TEXTURE == app::kIdChooseGroundTexture &&
                  IDC_GROUND_TEXTURE == app::kIdGroundTexture && IDC_STANDARD == app::kIdStandard &&
                  IDC_REMOVE_ROLLING_STOCK == app::kIdRemoveRollingStock && IDC_REMOVE_GBOS == app::kIdRemoveGbos &&
                  IDC_REMOVE_REAL_ESTATE == app::kIdRemoveRealEstate && IDC_INVENTORY_LIST == app::kIdInventoryList &&
                  IDC_MISSING_LIST == app::kIdMissingList && IDOK == app::kIdOk,
              "the resource ids and the dialog's control ids differ");

// The state of one running dialog: what the dialog procedure finds through
// DWLP_USER. Lives on RunStartupWindow's stack.
struct StartupWindow {
  HINSTANCE instance = nullptr;
  std::vector<std::string> arguments;
  HICON icon = nullptr;       // the application icon, 32 x 32
  HICON smallIcon = nullptr;  // its 16 x 16 image, for the caption
  Win32DialogView view;
  app::StartupDialog dialog;
  StartupWindow(const host::Installation& installation) : dialog(&view, installation) {}
};

// Which handler each button runs.
struct ButtonRoute {
  int id;
  int (app::StartupDialog::*handler)();
};

const ButtonRoute kButtonRoutes[] = {
    {IDC_LOAD, &app::StartupDialog::OnLoadClicked},
    {IDC_START, &app::StartupDialog::OnStartClicked},
    {IDC_DELETE_CAMERA_SET, &app::StartupDialog::OnDeleteCameraSetClicked},
    {IDC_GEN_TERRAIN, &app::StartupDialog::OnGenTerrainClicked},
    {IDC_CHOOSE_BUFFER_STOP, &app::StartupDialog::OnChooseBufferStopClicked},
    {IDC_CHOOSE_GUIDE_POST, &app::StartupDialog::OnChooseGuidePostClicked},
    {IDC_CHOOSE_CATENARY, &app::StartupDialog::OnChooseCatenaryClicked},
    {IDC_CHOOSE_GROUND_TEXTURE, &app::StartupDialog::OnChooseGroundTextureClicked},
    {IDC_STANDARD, &app::StartupDialog::OnStandardClicked},
    {IDC_REMOVE_GBOS, &app::StartupDialog::OnRemoveMissingGbosClicked},
    {IDC_REMOVE_REAL_ESTATE, &app::StartupDialog::OnRemoveMissingRealEstateClicked},
    {IDC_REMOVE_ROLLING_STOCK, &app::StartupDialog::OnRemoveMissingRollingStockClicked},
    {IDC_INVENTORY_LIST, &app::StartupDialog::OnInventoryListClicked},
    {IDC_MISSING_LIST, &app::StartupDialog::OnMissingListClicked},
};

// Appends a separator and the about entry (string 101) to the system menu;
// without the string the menu stays as it is.
void AddAboutEntry(HINSTANCE instance, HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  if (!menu) return;
  char text[256] = {};
  if (LoadStringA(instance, IDS_ABOUTBOX, text, sizeof(text)) <= 0 || text[0] == '\0') return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, text);
}

BOOL OnInitDialog(StartupWindow* w, HWND window) {
  w->view.Attach(window);
  // The controls start with the members' initial (empty) values.
  w->view.ExchangeData(&w->dialog.members, false);
  AddAboutEntry(w->instance, window);
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(w->icon));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(w->smallIcon));
  CenterWindow(window, nullptr);
  w->dialog.OnInitDialog(w->arguments);
  return TRUE;  // the dialog manager sets the focus
}

BOOL OnCommand(StartupWindow* w, HWND window, int id, int code) {
  if (code != BN_CLICKED) return FALSE;
  if (id == IDOK || id == IDCANCEL) {  // "Fertig", Escape, the close box
    EndDialog(window, id);
    return TRUE;
  }
  for (const ButtonRoute& route : kButtonRoutes) {
    if (route.id == id) {
      (w->dialog.*route.handler)();
      return TRUE;
    }
  }
  return FALSE;
}

// While minimised the dialog paints its icon in the middle of the client area.
BOOL OnPaint(StartupWindow* w, HWND window) {
  if (!IsIconic(window)) return FALSE;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SendMessageA(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  int iconWidth = GetSystemMetrics(SM_CXICON);
  int iconHeight = GetSystemMetrics(SM_CYICON);
  RECT client;
  GetClientRect(window, &client);
  int x = (client.right - client.left - iconWidth + 1) / 2;
  int y = (client.bottom - client.top - iconHeight + 1) / 2;
  DrawIcon(dc, x, y, w->icon);
  EndPaint(window, &paint);
  return TRUE;
}

INT_PTR CALLBACK StartupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    return OnInitDialog(reinterpret_cast<StartupWindow*>(lParam), window);
  }
  auto* w = reinterpret_cast<StartupWindow*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!w) return FALSE;
  switch (message) {
    case WM_COMMAND: return OnCommand(w, window, LOWORD(wParam), HIWORD(wParam));
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        ShowAboutBox(w->instance, window);
        return TRUE;
      }
      return FALSE;  // move, close and the others: the default handling
    case WM_PAINT: return OnPaint(w, window);
    case WM_QUERYDRAGICON:
      // One of the messages whose dialog-procedure result is the answer itself.
      return reinterpret_cast<INT_PTR>(w->icon);
    case WM_SETCURSOR:
      if (w->view.Waiting() && reinterpret_cast<HWND>(wParam) != nullptr) {
        w->view.RestoreWaitCursor();
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

void RunStartupWindow(HINSTANCE instance, const std::vector<std::string>& arguments,
                      const host::Installation& installation) {
  StartupWindow w(installation);
  w.instance = instance;
  w.arguments = arguments;
  w.icon = LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
  w.smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (!w.smallIcon) w.smallIcon = w.icon;
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_STARTZUVO_DIALOG), nullptr, StartupWindowProc,
                  reinterpret_cast<LPARAM>(&w));
  if (w.smallIcon != w.icon) DestroyIcon(w.smallIcon);
}

}  // namespace ui_win32
