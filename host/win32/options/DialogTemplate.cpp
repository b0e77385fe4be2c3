#include "host/win32/options/DialogTemplate.h"

namespace host::win32 {

namespace {

void AddText(std::vector<WORD>& words, const wchar_t* text) {
  do {
    words.push_back(static_cast<WORD>(*text));
  } while (*text++);
}

void AddDword(std::vector<WORD>& words, DWORD value) {
  words.push_back(LOWORD(value));
  words.push_back(HIWORD(value));
}

void AlignDword(std::vector<WORD>& words) {
  if (words.size() % 2) words.push_back(0);
}

// One DLGITEMTEMPLATE: class given by name (or the button atom when null).
void AddItem(std::vector<WORD>& words, DWORD style, short x, short y, short cx, short cy, int id,
             const wchar_t* className, const wchar_t* text) {
  AlignDword(words);
  AddDword(words, style | WS_CHILD | WS_VISIBLE);
  AddDword(words, 0);
  words.push_back(WORD(x));
  words.push_back(WORD(y));
  words.push_back(WORD(cx));
  words.push_back(WORD(cy));
  words.push_back(WORD(id));
  if (className) {
    AddText(words, className);
  } else {
    words.push_back(0xFFFF);
    words.push_back(0x0080);
  }
  AddText(words, text);
  words.push_back(0);  // no creation data
}

}  // namespace

std::vector<WORD> OptionsTemplate(int tabsId, int applyId) {
  std::vector<WORD> words;
  AddDword(words, DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  AddDword(words, WS_EX_CONTROLPARENT);
  words.push_back(4);  // items
  words.push_back(20);
  words.push_back(20);
  words.push_back(300);
  words.push_back(260);
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  AddText(words, L"Options");
  words.push_back(8);
  AddText(words, L"Tahoma");
  AddItem(words, WS_TABSTOP | WS_CLIPSIBLINGS, 4, 4, 292, 230, tabsId, L"SysTabControl32", L"");
  AddItem(words, WS_TABSTOP | BS_DEFPUSHBUTTON, 130, 240, 50, 14, IDOK, nullptr, L"OK");
  AddItem(words, WS_TABSTOP | BS_PUSHBUTTON, 186, 240, 50, 14, IDCANCEL, nullptr, L"Cancel");
  AddItem(words, WS_TABSTOP | BS_PUSHBUTTON, 242, 240, 50, 14, applyId, nullptr, L"&Apply");
  return words;
}

}  // namespace host::win32
