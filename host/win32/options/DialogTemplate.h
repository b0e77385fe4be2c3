#pragma once
// The Options dialog's template, built in memory: a tab control and OK, Cancel, Apply. The
// dialog places them in pixels once it knows the size of its pages.
#include <windows.h>

#include <vector>

namespace host::win32 {

std::vector<WORD> OptionsTemplate(int tabsId, int applyId);

}  // namespace host::win32
