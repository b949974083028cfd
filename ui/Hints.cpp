#include "ui/Hints.h"

#include <commctrl.h>

namespace seltane {
namespace {

// The size common controls 5 and 6 both accept.
TOOLINFOW ToolFor(HWND control) {
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}

}  // namespace

Hints::~Hints() {
  if (tips_ != nullptr) {
    DestroyWindow(tips_);
  }
}

bool Hints::Create(HWND owner) {
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  if (tips_ != nullptr) {
    // Long hints wrap instead of running off the screen.
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  return tips_ != nullptr;
}

void Hints::Add(HWND control, const std::wstring& text) {
  Unregister(control);
  texts_[control] = text;
  Register(control, text);
}

void Hints::Enable(HWND control, bool enabled) {
  const auto found = texts_.find(control);
  if (found == texts_.end()) {
    return;
  }
  Unregister(control);
  if (enabled) {
    Register(control, found->second);
  }
}

std::wstring Hints::Text(HWND control) const {
  if (tips_ == nullptr) {
    return {};
  }
  wchar_t text[512] = {};
  TOOLINFOW tool = ToolFor(control);
  tool.lpszText = text;
  if (!SendMessageW(tips_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
    return {};
  }
  tool.lpszText = text;
  SendMessageW(tips_, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return text;
}

void Hints::Register(HWND control, const std::wstring& text) {
  if (tips_ == nullptr) {
    return;
  }
  TOOLINFOW tool = ToolFor(control);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Hints::Unregister(HWND control) {
  if (tips_ == nullptr) {
    return;
  }
  TOOLINFOW tool = ToolFor(control);
  SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace seltane
