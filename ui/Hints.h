// Hints: the short texts shown when the mouse rests on a control (tooltips),
// one set per window. Texts are UTF-16, so a hint may be in any script.
#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace seltane {

class Hints {
 public:
  Hints() = default;
  Hints(const Hints&) = delete;
  Hints& operator=(const Hints&) = delete;
  ~Hints();

  // The tooltip window for the controls of `owner`; false on failure.
  bool Create(HWND owner);
  // Gives the control its hint, or replaces the one it has.
  void Add(HWND control, const std::wstring& text);
  // Switches a control's hint off and on again; the text is kept.
  void Enable(HWND control, bool enabled);
  // The hint the control shows now; empty when it has none or it is off.
  std::wstring Text(HWND control) const;

 private:
  void Register(HWND control, const std::wstring& text);
  void Unregister(HWND control);

  HWND tips_ = nullptr;
  std::map<HWND, std::wstring> texts_;
};

}  // namespace seltane
