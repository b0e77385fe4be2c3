// The device dialog as a modal Win32 dialog built from an in-memory template: the controls,
// captions, states and tab order come from the dialog model the add-in prepared. Positions
// are designed in twips; the template carries them in dialog units of its font, and once
// created every control is placed at its exact pixel rectangle and given Tahoma 8.25 pt.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "addin/dialog/AppointmentDevices.h"
#include "addin/win32/DeviceDialogIds.h"
#include "addin/win32/Win32Views.h"
#include "comsupport/CaptionTips.h"
#include "comsupport/Dpi.h"
#include "comsupport/FrameRows.h"
#include "comsupport/Module.h"
#include "comsupport/Text.h"

namespace reminder::win32 {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;
constexpr const wchar_t* kFontName = L"Tahoma";
constexpr int kFrameMargin = 120;  // twips between the frame's right edge and its rows' labels

int IdOf(const std::string& name) {
  if (name == "btnOK") return kButtonOk;
  if (name == "btnCancel") return kButtonCancel;
  if (name == "lblDescription") return kLabelDescription;
  if (name == "frmDevices") return kFrameDevices;
  for (size_t i = 0; i < kDeviceRows.size(); ++i) {
    if (name == kDeviceRows[i].checkBox) return kDeviceRowIds[i].checkBox;
    if (name == kDeviceRows[i].addressLabel) return kDeviceRowIds[i].addressLabel;
    if (kDeviceRows[i].extraLabel[0] != '\0' && name == kDeviceRows[i].extraLabel) return kDeviceRowIds[i].extraLabel;
  }
  return 0;
}

// One control as the dialog creates it: rectangle in twips of the client area.
struct Planned {
  int id;
  WORD atom;
  DWORD style;
  std::wstring caption;
  RECT twips;
  int tabIndex;
};

std::vector<Planned> Plan(const AppointmentDevices& dialog) {
  std::vector<Planned> plan;
  const Control* frame = dialog.Find("frmDevices");
  for (const Control& c : dialog.Controls()) {
    const int id = IdOf(c.name);
    if (id == 0) continue;
    int left = c.left;
    int top = c.top;
    if (!c.container.empty() && frame) {
      left += frame->left;
      top += frame->top;
    }
    DWORD style = WS_CHILD | WS_VISIBLE;
    WORD atom = kButtonAtom;
    switch (c.kind) {
      case ControlKind::kLabel:
        atom = kStaticAtom;
        style |= SS_LEFT | SS_NOPREFIX;  // addresses are shown as they are, "&" included
        break;
      case ControlKind::kFrame:
        style |= BS_GROUPBOX;
        break;
      case ControlKind::kButton:
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
      case ControlKind::kCheckBox:
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    }
    if (!c.enabled) style |= WS_DISABLED;
    plan.push_back({id, atom, style, comsupport::Utf16(c.caption), {left, top, left + c.width, top + c.height},
                    c.tabIndex});
  }
  // The dialog's tab order is the order of its template.
  std::stable_sort(plan.begin(), plan.end(), [](const Planned& a, const Planned& b) { return a.tabIndex < b.tabIndex; });
  return plan;
}

struct Metrics {
  int dpiX = 96;
  int dpiY = 96;
  int baseX = 6;  // dialog base units of the template's font, in pixels
  int baseY = 13;
};

HFONT CreateDialogFont(int dpiY) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(825, dpiY, 72 * 100);  // 8.25 pt
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  wcscpy(font.lfFaceName, kFontName);
  return CreateFontIndirectW(&font);
}

Metrics Measure() {
  Metrics m;
  HDC dc = GetDC(nullptr);
  if (!dc) return m;
  m.dpiX = GetDeviceCaps(dc, LOGPIXELSX);
  m.dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  LOGFONTW spec{};
  spec.lfHeight = -MulDiv(8, m.dpiY, 72);  // the template's whole-point size
  spec.lfCharSet = DEFAULT_CHARSET;
  wcscpy(spec.lfFaceName, kFontName);
  HFONT font = CreateFontIndirectW(&spec);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW tm{};
  SIZE size{};
  const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  if (GetTextMetricsW(dc, &tm) && GetTextExtentPoint32W(dc, letters, 52, &size)) {
    m.baseX = std::max(1L, (size.cx / 26 + 1) / 2);
    m.baseY = std::max(1L, tm.tmHeight);
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return m;
}

int PixelsX(int twips, const Metrics& m) { return MulDiv(twips, m.dpiX, kTwipsPerInch); }
int PixelsY(int twips, const Metrics& m) { return MulDiv(twips, m.dpiY, kTwipsPerInch); }
short UnitsX(int twips, const Metrics& m) { return static_cast<short>(MulDiv(PixelsX(twips, m), 4, m.baseX)); }
short UnitsY(int twips, const Metrics& m) { return static_cast<short>(MulDiv(PixelsY(twips, m), 8, m.baseY)); }

// Writes an extended dialog template, DWORD-aligned where the format wants it.
class TemplateWriter {
 public:
  void Word(WORD w) { bytes_.insert(bytes_.end(), reinterpret_cast<BYTE*>(&w), reinterpret_cast<BYTE*>(&w) + 2); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Short(short s) { Word(static_cast<WORD>(s)); }
  void Text(const std::wstring& text) {
    for (wchar_t c : text) Word(static_cast<WORD>(c));
    Word(0);
  }
  void AlignDword() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  void Byte(BYTE b) { bytes_.push_back(b); }
  // The template, in memory aligned as DialogBoxIndirect requires.
  std::vector<DWORD> Finish() {
    AlignDword();
    std::vector<DWORD> out(bytes_.size() / 4);
    std::memcpy(out.data(), bytes_.data(), bytes_.size());
    return out;
  }

 private:
  std::vector<BYTE> bytes_;
};

constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;

std::vector<DWORD> BuildTemplate(const AppointmentDevices& dialog, const std::vector<Planned>& plan,
                                 const Metrics& m) {
  TemplateWriter t;
  t.Word(1);       // dlgVer
  t.Word(0xFFFF);  // signature: extended template
  t.Dword(0);      // helpID
  t.Dword(0);      // exStyle
  t.Dword(kDialogStyle);
  t.Word(static_cast<WORD>(plan.size()));
  t.Short(0);
  t.Short(0);
  t.Short(UnitsX(AppointmentDevices::kClientWidth, m));
  t.Short(UnitsY(AppointmentDevices::kClientHeight, m));
  t.Word(0);  // no menu
  t.Word(0);  // the dialog class
  t.Text(comsupport::Utf16(dialog.Caption()));
  t.Word(8);  // whole points only here; the exact 8.25 pt font is set once the dialog exists
  t.Word(FW_NORMAL);
  t.Byte(FALSE);
  t.Byte(DEFAULT_CHARSET);
  t.Text(kFontName);
  for (const Planned& p : plan) {
    t.AlignDword();
    t.Dword(0);  // helpID
    t.Dword(0);  // exStyle
    t.Dword(p.style);
    t.Short(UnitsX(p.twips.left, m));
    t.Short(UnitsY(p.twips.top, m));
    t.Short(UnitsX(p.twips.right - p.twips.left, m));
    t.Short(UnitsY(p.twips.bottom - p.twips.top, m));
    t.Dword(static_cast<DWORD>(p.id));
    t.Word(0xFFFF);
    t.Word(p.atom);
    t.Text(p.caption);
    t.Word(0);  // no creation data
  }
  return t.Finish();
}

struct Run {
  AppointmentDevices& model;
  const std::vector<Planned>& plan;
  Metrics metrics;
  HFONT font = nullptr;
  int dpi = 96;
  comsupport::CaptionTips tips;
};

const DeviceRowIds* RowOfCheckBox(int id) {
  for (const DeviceRowIds& row : kDeviceRowIds) {
    if (row.checkBox == id) return &row;
  }
  return nullptr;
}

std::wstring TextOf(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Where each control goes at `dpi`: the design's twips in pixels, then every caption given
// the room it takes in the font; the frame and the window grow for rows that need more, up
// to half the designed width again, beyond which the longest labels end in "...".
struct Placement {
  std::map<int, RECT> rects;
  std::map<int, bool> cut;
  SIZE client{};
};

Placement Place(HWND window, const Run& run, int dpi, int room) {
  const auto px = [dpi](int twips) { return MulDiv(twips, dpi, kTwipsPerInch); };
  Placement placed;
  int frameRight = 0;
  for (const Planned& p : run.plan) {
    placed.rects[p.id] = {px(p.twips.left), px(p.twips.top), px(p.twips.right), px(p.twips.bottom)};
    if (p.id == kFrameDevices) frameRight = p.twips.right;
  }
  const SIZE line = comsupport::TextExtent(run.font, L"Ag");
  const auto need = [&](int id) { return comsupport::TextExtent(run.font, TextOf(GetDlgItem(window, id))).cx + 1; };
  const int gap = MulDiv(8, dpi, 96);
  const int mark = comsupport::CheckBoxMarkWidth(run.font, dpi);
  const int clientRight = px(AppointmentDevices::kClientWidth);
  const int innerRight = px(frameRight - kFrameMargin);

  std::vector<comsupport::FitRow> rows;
  int wanted = 0;
  for (const DeviceRowIds& ids : kDeviceRowIds) {
    comsupport::FitRow row;
    row.box = placed.rects[ids.checkBox];
    row.boxNeed = need(ids.checkBox) + mark;
    for (int id : {ids.addressLabel, ids.extraLabel}) {
      if (id != 0) row.labels.push_back({placed.rects[id], need(id)});
    }
    wanted = std::max(wanted, comsupport::Widen(row, gap) - innerRight);
    rows.push_back(row);
  }
  comsupport::FitRow description;
  description.box = placed.rects[kLabelDescription];
  description.box.right = description.box.left;
  description.labels.push_back({placed.rects[kLabelDescription], need(kLabelDescription)});
  wanted = std::max(wanted, comsupport::Widen(description, 0) - clientRight);

  const int extra = std::clamp(wanted, 0, std::max(0, std::min(clientRight / 2, room)));
  for (size_t i = 0; i < rows.size(); ++i) {
    comsupport::Clip(rows[i], innerRight + extra, gap);
    const DeviceRowIds& ids = kDeviceRowIds[i];
    placed.rects[ids.checkBox] = rows[i].box;
    size_t n = 0;
    for (int id : {ids.addressLabel, ids.extraLabel}) {
      if (id == 0) continue;
      placed.rects[id] = rows[i].labels[n].rect;
      placed.cut[id] = rows[i].labels[n++].cut;
    }
  }
  comsupport::Clip(description, clientRight + extra, 0);
  placed.rects[kLabelDescription] = description.labels[0].rect;
  placed.cut[kLabelDescription] = description.labels[0].cut;
  placed.rects[kFrameDevices].right += extra;
  // A label is at least one line of its font high.
  for (auto& [id, cut] : placed.cut) {
    RECT& r = placed.rects[id];
    r.bottom = std::max<LONG>(r.bottom, r.top + line.cy);
  }
  placed.client = {clientRight + extra, px(AppointmentDevices::kClientHeight)};
  return placed;
}

// The room the window may grow by on its monitor, in pixels.
int RoomToGrow(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT now{};
  GetWindowRect(window, &now);
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return 0;
  return (monitor.rcWork.right - monitor.rcWork.left) - (now.right - now.left);
}

// Lays the dialog out at `dpi` with a font made for it; the window keeps its centre, or
// goes to `suggested` (the system's rectangle after a change of DPI).
void Layout(HWND window, Run& run, int dpi, const RECT* suggested) {
  HFONT font = CreateDialogFont(dpi);
  if (!font) return;
  run.dpi = dpi;
  for (const Planned& p : run.plan) {
    if (HWND control = GetDlgItem(window, p.id)) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (run.font) DeleteObject(run.font);
  run.font = font;
  const Placement placed = Place(window, run, dpi, RoomToGrow(window));
  for (const auto& [id, r] : placed.rects) {
    HWND control = GetDlgItem(window, id);
    if (!control) continue;
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (const auto& [id, cut] : placed.cut) {
    HWND label = GetDlgItem(window, id);
    if (label) run.tips.Show(label, TextOf(label), cut);
  }
  RECT frame{0, 0, placed.client.cx, placed.client.cy};
  AdjustWindowRectEx(&frame, GetWindowLongW(window, GWL_STYLE), FALSE, GetWindowLongW(window, GWL_EXSTYLE));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT now{};
  GetWindowRect(window, &now);
  const RECT& at = suggested ? *suggested : now;
  const int left = suggested ? at.left : now.left + ((now.right - now.left) - width) / 2;
  const int top = suggested ? at.top : now.top + ((now.bottom - now.top) - height) / 2;
  SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // A dialog on the screen draws itself afresh for its new scale (one not shown yet draws anyway).
  if (suggested) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Initialise(HWND window, Run& run) {
  for (const DeviceRowIds& row : kDeviceRowIds) {
    CheckDlgButton(window, row.checkBox, run.model.IsTicked(row.deviceType) ? BST_CHECKED : BST_UNCHECKED);
  }
  Layout(window, run, comsupport::WindowDpi(window), nullptr);
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Run* run = reinterpret_cast<Run*>(GetWindowLongPtrW(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(window, DWLP_USER, lparam);
      Initialise(window, *reinterpret_cast<Run*>(lparam));
      return TRUE;  // the focus goes to the first control in tab order
    case comsupport::kDpiChanged:
      // Moved to a monitor of another scale: the same layout, made afresh for it.
      if (run) Layout(window, *run, HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      return TRUE;
    case WM_COMMAND: {
      if (!run || HIWORD(wparam) != BN_CLICKED) return FALSE;
      const int id = LOWORD(wparam);
      if (id == kButtonOk) {
        run->model.btnOK_Click();
        EndDialog(window, IDOK);
      } else if (id == kButtonCancel) {
        run->model.btnCancel_Click();
        EndDialog(window, IDCANCEL);
      } else if (const DeviceRowIds* row = RowOfCheckBox(id)) {
        // The model decides: a box it does not let change is put back.
        const bool ticked = IsDlgButtonChecked(window, id) == BST_CHECKED;
        if (!run->model.Tick(row->deviceType, ticked)) {
          CheckDlgButton(window, id, run->model.IsTicked(row->deviceType) ? BST_CHECKED : BST_UNCHECKED);
        }
      } else {
        return FALSE;
      }
      return TRUE;
    }
    case WM_CLOSE:
      // The close box is neither button: the choice stays empty.
      if (run) run->model.Close();
      EndDialog(window, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void Win32DeviceDialog::ShowModal(AppointmentDevices& dialog) {
  const std::vector<Planned> plan = Plan(dialog);
  Run run{dialog, plan, Measure(), nullptr, 96, {}};
  const std::vector<DWORD> form = BuildTemplate(dialog, plan, run.metrics);
  DialogBoxIndirectParamW(comsupport::ThisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(form.data()),
                          GetActiveWindow(), DialogProc, reinterpret_cast<LPARAM>(&run));
  if (run.font) DeleteObject(run.font);
  if (!dialog.Unloaded()) dialog.Close();
}

}  // namespace reminder::win32
