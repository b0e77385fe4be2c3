#include "optionspage/win32/PagePlacement.h"

#include <algorithm>
#include <string>

#include "comsupport/Dpi.h"
#include "comsupport/FrameRows.h"
#include "comsupport/Text.h"

namespace orvane::win32 {

namespace {

constexpr int kFrameMargin = 120;  // twips between the frame's right edge and its rows' labels

int IndexOf(const PageLayout& layout, const std::string& name) {
  const std::vector<Control>& controls = layout.Controls();
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

HFONT MakePageFont(int height, bool underline) {
  return CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

PagePlacement PlacePage(const PageLayout& layout, int dpi, const PageFonts& fonts, int room) {
  const auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  const std::vector<Control>& controls = layout.Controls();
  const Control& frame = layout.At("frmDevices");
  PagePlacement placed;
  placed.cut.assign(controls.size(), false);
  std::vector<int> needs(controls.size(), 0);
  for (size_t i = 0; i < controls.size(); ++i) {
    const Control& c = controls[i];
    const int left = c.left + (c.container.empty() ? 0 : frame.left);
    const int top = c.top + (c.container.empty() ? 0 : frame.top);
    placed.rects.push_back({px(left), px(top), px(left + c.width), px(top + c.height)});
    const HFONT font = c.name == "lblHyperlink" ? fonts.link : fonts.text;
    needs[i] = comsupport::TextExtent(font, comsupport::Utf16(c.caption)).cx;
    if (c.kind == ControlKind::kCheckBox) needs[i] += comsupport::CheckBoxMarkWidth(font, dpi);
  }
  const auto at = [&](const char* name) -> RECT& { return placed.rects[static_cast<size_t>(IndexOf(layout, name))]; };
  const auto need = [&](const char* name) { return needs[static_cast<size_t>(IndexOf(layout, name))]; };
  const int gap = MulDiv(8, dpi, 96);

  // The account's captions have the boxes they name to their right.
  for (const auto& [label, box] : {std::pair{"lblUserID", "txtUserID"}, std::pair{"lblPassword", "txtPassword"}}) {
    RECT& r = at(label);
    r.right = std::min<LONG>(std::max<LONG>(r.right, r.left + need(label)), at(box).left - 1);
    placed.cut[static_cast<size_t>(IndexOf(layout, label))] = r.right - r.left < need(label);
  }

  const int innerRight = px(frame.left + frame.width - kFrameMargin);
  std::vector<comsupport::FitRow> rows;
  std::vector<std::vector<int>> labelIndexes;
  int wanted = 0;
  for (size_t row = 0; row < kDeviceRows.size(); ++row) {
    comsupport::FitRow fit;
    fit.box = at(kDeviceRows[row].checkBox);
    fit.boxNeed = need(kDeviceRows[row].checkBox);
    std::vector<int> indexes{IndexOf(layout, kDeviceRows[row].addressLabel)};
    if (std::string(kDeviceRows[row].deviceType) == "SMS") indexes.push_back(IndexOf(layout, "lblSMSProvider"));
    for (int i : indexes) fit.labels.push_back({placed.rects[static_cast<size_t>(i)], needs[static_cast<size_t>(i)]});
    wanted = std::max(wanted, comsupport::Widen(fit, gap) - innerRight);
    rows.push_back(fit);
    labelIndexes.push_back(indexes);
  }
  const int pageWidth = px(kPageWidth);
  const int extra = std::clamp(wanted, 0, std::max(0, std::min(pageWidth / 2, room)));
  for (size_t row = 0; row < rows.size(); ++row) {
    comsupport::Clip(rows[row], innerRight + extra, gap);
    at(kDeviceRows[row].checkBox) = rows[row].box;
    for (size_t n = 0; n < labelIndexes[row].size(); ++n) {
      const size_t i = static_cast<size_t>(labelIndexes[row][n]);
      placed.rects[i] = rows[row].labels[n].rect;
      placed.cut[i] = rows[row].labels[n].cut;
    }
  }
  RECT& frameRect = at("frmDevices");
  frameRect.right += extra;
  // The link keeps its right edge on the frame's.
  RECT& link = at("lblHyperlink");
  const LONG linkWidth = std::max<LONG>(link.right - link.left, need("lblHyperlink"));
  link.right = frameRect.right;
  link.left = link.right - linkWidth;

  // A label is at least one line of its font high.
  for (size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].kind != ControlKind::kLabel) continue;
    const HFONT font = controls[i].name == "lblHyperlink" ? fonts.link : fonts.text;
    RECT& r = placed.rects[i];
    r.bottom = std::max<LONG>(r.bottom, r.top + comsupport::TextExtent(font, L"Ag").cy);
  }
  placed.size = {pageWidth + extra, px(kPageHeight)};
  return placed;
}

}  // namespace orvane::win32
