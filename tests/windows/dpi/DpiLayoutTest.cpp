// The device dialog and the settings page at the DPI this run was started at (run-dpi.sh
// starts it at 96, 120, 144 and 192), then after the system announces each other DPI: every
// label and check box shows its whole caption in its font (or ends in "..." with the whole
// text in its tooltip), no control leaves its parent or the device frame, and at 96 DPI every
// control is where it has always been.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addin/dialog/AppointmentDevices.h"
#include "addin/win32/DeviceDialogIds.h"
#include "addin/win32/Win32Views.h"
#include "comsupport/Dpi.h"
#include "optionspage/win32/ControlIds.h"
#include "optionspage/win32/PageView.h"
#include "optionspage/win32/PageWindowing.h"

namespace {

constexpr int kDpis[] = {96, 120, 144, 192};
const std::wstring kLongAddress = L"someone.with.a.very.long.name@mail.departments.example-enterprise.com";

std::wstring Text(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

RECT RectIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The whole text the thread's tooltips show for the label, empty for none.
std::wstring TipOf(HWND label) {
  struct Probe {
    HWND label;
    std::wstring text;
  } probe{label, L""};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND tips, LPARAM l) -> BOOL {
        auto* probe = reinterpret_cast<Probe*>(l);
        if (ClassOf(tips) != TOOLTIPS_CLASSW) return TRUE;
        wchar_t buffer[512] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = GetParent(probe->label);
        tool.uId = reinterpret_cast<UINT_PTR>(probe->label);
        tool.lpszText = buffer;
        SendMessageW(tips, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
        probe->text = buffer;
        return probe->text.empty();
      },
      reinterpret_cast<LPARAM>(&probe));
  return probe.text;
}

// What the caption of one control takes, drawn in the control's own font.
SIZE CaptionExtent(HWND control, int dpi, bool checkBox) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  SIZE size = comsupport::TextExtent(font, Text(control));
  // A check box's box (12 pixels and one at 96 DPI) and half a digit before its text.
  if (checkBox) size.cx += MulDiv(12, dpi, 96) + 1 + comsupport::TextExtent(font, L"0").cx / 2;
  return size;
}

struct Tally {
  int captions = 0;  // labels and check boxes whose caption was checked
  int controls = 0;  // controls checked to lie inside their parent
};

// Every direct child of `window`: inside it, the device rows inside `frame` too, and every
// label's and check box's caption whole in its client area.
Tally CheckWindow(HWND window, HWND frame, int dpi, const std::vector<int>& rowIds, const std::string& what) {
  SCOPED_TRACE(what + " at " + std::to_string(dpi) + " DPI");
  Tally tally;
  RECT client{};
  GetClientRect(window, &client);
  const RECT frameRect = RectIn(window, frame);
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    const RECT r = RectIn(window, child);
    const std::string name = Narrow(ClassOf(child)) + " " + std::to_string(id) + " \"" + Narrow(Text(child)) + "\"";
    ++tally.controls;
    EXPECT_TRUE(Inside(r, client)) << name << " leaves its window";
    for (int row : rowIds) {
      if (row == id) {
        EXPECT_TRUE(Inside(r, frameRect)) << name << " leaves the frame";
      }
    }
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const std::wstring type = ClassOf(child);
    const bool checkBox = lstrcmpiW(type.c_str(), L"Button") == 0 &&
                          ((style & BS_TYPEMASK) == BS_CHECKBOX || (style & BS_TYPEMASK) == BS_AUTOCHECKBOX);
    const bool label = lstrcmpiW(type.c_str(), L"Static") == 0 || type == orvane::win32::kLinkClass;
    if (!checkBox && !label) continue;
    ++tally.captions;
    RECT inside{};
    GetClientRect(child, &inside);
    const SIZE caption = CaptionExtent(child, dpi, checkBox);
    EXPECT_LE(caption.cy, inside.bottom) << name << " cuts its caption's height";
    if (caption.cx <= inside.right) continue;
    EXPECT_TRUE(label && (style & SS_ENDELLIPSIS)) << name << " is " << inside.right << " wide for " << caption.cx;
    EXPECT_EQ(TipOf(child), Text(child)) << name << " has no tooltip with its whole text";
  }
  printf("%s at %d DPI: %d captions fit, %d controls inside their parents\n", what.c_str(), dpi, tally.captions,
         tally.controls);
  return tally;
}

std::map<int, RECT> Places(HWND window) {
  std::map<int, RECT> places;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    places[GetDlgCtrlID(child)] = RectIn(window, child);
  }
  return places;
}

struct Position {
  int id;
  int left;
  int top;
};

void ExpectPositions(HWND window, const std::vector<Position>& expected) {
  for (const Position& p : expected) {
    const RECT r = RectIn(window, GetDlgItem(window, p.id));
    EXPECT_EQ(r.left, p.left) << "left of control " << p.id;
    EXPECT_EQ(r.top, p.top) << "top of control " << p.id;
  }
}

// The DPI the system gives this run, as the script set it.
int RunDpi() {
  const char* wanted = std::getenv("DPI_EXPECTED");
  return wanted ? std::atoi(wanted) : 96;
}

// Announces `dpi` to a window as the system does when it moves to another monitor.
void AnnounceDpi(HWND window, int dpi) {
  RECT at{};
  GetWindowRect(window, &at);
  SendMessageW(window, comsupport::kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&at));
}

// --- The device dialog ------------------------------------------------------------------------

std::vector<int> DialogRowIds() {
  std::vector<int> ids;
  for (const auto& row : reminder::win32::kDeviceRowIds) {
    for (int id : {row.checkBox, row.addressLabel, row.extraLabel}) {
      if (id) ids.push_back(id);
    }
  }
  return ids;
}

// Today's places at 96 DPI: the design's twips in pixels.
const std::vector<Position> kDialogAt96 = {
    {1000, 7, 8},    {1001, 7, 32},   {1, 75, 304},    {2, 243, 304},   {1101, 15, 48},  {1201, 223, 54},
    {1102, 15, 72},  {1202, 223, 78}, {1103, 15, 96},  {1203, 223, 102}, {1104, 15, 120}, {1204, 223, 126},
    {1105, 15, 144}, {1205, 223, 150}, {1106, 15, 168}, {1206, 223, 174}, {1306, 319, 174}, {1107, 15, 192},
    {1207, 223, 198}, {1108, 15, 216}, {1208, 223, 222}, {1109, 15, 240}, {1209, 223, 246}, {1110, 15, 264},
    {1210, 223, 270}};

// Runs the checks once the dialog is up, from its own message loop, then closes it.
void CALLBACK CheckOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", reminder::win32::kDeviceDialogCaption);
  if (!dialog) return;
  KillTimer(nullptr, timer);
  const int dpi = RunDpi();
  EXPECT_EQ(comsupport::WindowDpi(dialog), dpi) << "the run is not at the DPI it was started for";
  const HWND frame = GetDlgItem(dialog, reminder::win32::kFrameDevices);
  const std::vector<int> rows = DialogRowIds();
  EXPECT_EQ(CheckWindow(dialog, frame, dpi, rows, "device dialog").captions, 22);
  if (dpi == 96) ExpectPositions(dialog, kDialogAt96);
  const std::map<int, RECT> opened = Places(dialog);
  for (int other : kDpis) {
    if (other == dpi) continue;
    AnnounceDpi(dialog, other);
    CheckWindow(dialog, frame, other, rows, "device dialog moved");
  }
  AnnounceDpi(dialog, dpi);
  const std::map<int, RECT> back = Places(dialog);
  for (const auto& [id, r] : opened) EXPECT_TRUE(EqualRect(&r, &back.at(id))) << "control " << id << " moved for good";
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

// The addresses a member might have, one too long for any dialog.
const std::map<std::string, std::wstring> kAddresses = {
    {"lblHomeEmail", L"demo@example.com"},
    {"lblWorkEmail", kLongAddress},
    {"lblHomePhone", L"+1 555 0100"},
    {"lblWorkPhone", L"+1 555 0101"},
    {"lblCellPhone", L"+1 555 0102"},
    {"lblSMS", L"+1 555 0103"},
    {"lblSMSProvider", L"(Verizon Wireless)"},
    {"lblAIM", L"kimlee"},
    {"lblMSN", L"kim.lee@hotmail.example.com"},
    {"lblYahoo", L"kimlee2000"},
    {"lblFax", L"+1 555 0199"}};

TEST(DeviceDialog, CaptionsFitAndNothingLeavesItsParent) {
  reminder::AppointmentDevices model;
  for (const auto& [name, text] : kAddresses) model.At(name).caption = Narrow(text);
  reminder::win32::Win32DeviceDialog view;
  SetTimer(nullptr, 0, 20, CheckOpenDialog);
  view.ShowModal(model);
  EXPECT_TRUE(model.Unloaded());
}

// --- The settings page ------------------------------------------------------------------------

std::vector<int> PageRowIds() {
  std::vector<int> ids(std::begin(orvane::win32::kDeviceCheckBoxIds), std::end(orvane::win32::kDeviceCheckBoxIds));
  ids.insert(ids.end(), std::begin(orvane::win32::kDeviceLabelIds), std::end(orvane::win32::kDeviceLabelIds));
  ids.push_back(orvane::win32::kLblSmsProvider);
  return ids;
}

const std::vector<Position> kPageAt96 = {
    {1000, 8, 28},   {1001, 80, 24},  {1002, 216, 28},  {1003, 288, 24},  {1025, 8, 64},    {1004, 16, 80},
    {1005, 224, 86}, {1006, 16, 104}, {1007, 224, 110}, {1008, 16, 128},  {1009, 224, 134}, {1010, 16, 152},
    {1011, 224, 158}, {1012, 16, 176}, {1013, 224, 182}, {1014, 16, 200},  {1015, 224, 206}, {1016, 320, 206},
    {1017, 16, 224}, {1018, 224, 230}, {1019, 16, 248},  {1020, 224, 254}, {1021, 16, 272},  {1022, 224, 278},
    {1023, 16, 296}, {1024, 224, 302}};

TEST(SettingsPage, CaptionsFitAndNothingLeavesItsParent) {
  orvane::win32::InstallPageWindowing();
  orvane::ReminderSetting page;  // no account in this prefix: no service is asked
  // The captions start-up would have set from the service's answers.
  auto& layout = const_cast<orvane::PageLayout&>(page.Layout());
  for (const auto& [name, text] : kAddresses) layout.SetLabelCaption(name, Narrow(text));
  const int dpi = RunDpi();
  const SIZE size = orvane::win32::PageView::NaturalSize(page, dpi);
  WNDCLASSW frameClass{};
  frameClass.lpfnWndProc = DefWindowProcW;
  frameClass.hInstance = GetModuleHandleW(nullptr);
  frameClass.lpszClassName = L"DpiTestFrame";
  RegisterClassW(&frameClass);
  HWND top = CreateWindowExW(0, L"DpiTestFrame", L"page", WS_POPUP | WS_VISIBLE, 0, 0, size.cx * 2, size.cy * 2,
                             nullptr, nullptr, frameClass.hInstance, nullptr);
  ASSERT_NE(top, nullptr);
  {
    orvane::win32::PageView view(page, top, RECT{0, 0, size.cx, size.cy});
    view.Show(true);
    HWND window = view.Window();
    const HWND frame = GetDlgItem(window, orvane::win32::kFrmDevices);
    const std::vector<int> rows = PageRowIds();
    EXPECT_EQ(CheckWindow(window, frame, dpi, rows, "settings page").captions, 24);
    RECT pageRect = RectIn(top, window);
    RECT topClient{};
    GetClientRect(top, &topClient);
    EXPECT_TRUE(Inside(pageRect, topClient));
    if (dpi == 96) {
      ExpectPositions(window, kPageAt96);
      // The link's right edge is the frame's.
      EXPECT_EQ(RectIn(window, view.Link()).right, RectIn(window, frame).right);
      EXPECT_EQ(RectIn(window, view.Link()).top, 336);
    }
    // The link answers over its last column of pixels, and not one beyond it.
    RECT link{};
    GetClientRect(view.Link(), &link);
    SendMessageW(view.Link(), WM_MOUSEMOVE, 0, MAKELPARAM(link.right - 1, link.bottom / 2));
    EXPECT_TRUE(page.PageState().HyperlinkHot) << "the link's last letter is not part of it";
    SendMessageW(view.Link(), WM_MOUSEMOVE, 0, MAKELPARAM(link.right, link.bottom / 2));
    EXPECT_FALSE(page.PageState().HyperlinkHot);
    const std::map<int, RECT> opened = Places(window);
    for (int other : kDpis) {
      if (other == dpi) continue;
      AnnounceDpi(window, other);
      CheckWindow(window, frame, other, rows, "settings page moved");
    }
    AnnounceDpi(window, dpi);
    const std::map<int, RECT> back = Places(window);
    for (const auto& [id, r] : opened) {
      EXPECT_TRUE(EqualRect(&r, &back.at(id))) << "control " << id << " moved for good";
    }
  }
  DestroyWindow(top);
}

}  // namespace
