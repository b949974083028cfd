#include "ui/ModalDialog.h"

#include "platform/Win32Prompter.h"

namespace seltane {

void AppendRadioGroup(std::vector<DialogControl>& controls, int groupId, const char* caption,
                      std::span<const char* const> items, const LayoutRect& rect, uint8_t anchors) {
  const int count = static_cast<int>(items.size());
  for (int item = 0; item < count; ++item) {
    const DWORD style = BS_AUTORADIOBUTTON | (item == 0 ? WS_GROUP | WS_TABSTOP : 0);
    controls.push_back({groupId + 1 + item, "BUTTON", items[item], style,
                        RadioItemRect(rect, item, count), anchors});
  }
  // The box comes after its items, so that it lies below them and ends their
  // group. It draws only its frame and caption: what lies below it shows
  // through, and the items above it are never drawn over.
  controls.push_back({groupId, "BUTTON", caption, BS_GROUPBOX | WS_GROUP | WS_CLIPSIBLINGS, rect,
                      anchors, WS_EX_TRANSPARENT});
}

int CheckedRadioItem(HWND dialog, int groupId, int count) {
  for (int item = 0; item < count; ++item) {
    if (IsDlgButtonChecked(dialog, groupId + 1 + item) == BST_CHECKED) {
      return item;
    }
  }
  return -1;
}

void CheckRadioItem(HWND dialog, int groupId, int count, int item) {
  for (int other = 0; other < count; ++other) {
    CheckDlgButton(dialog, groupId + 1 + other, other == item ? BST_CHECKED : BST_UNCHECKED);
  }
}

bool ModalDialog::CreateDialogWindow(HWND owner, const DialogFrame& frame,
                                     std::span<const DialogControl> controls) {
  owner_ = owner;
  dpi_ = WindowDpi(owner);
  design_ = frame.client;
  minimumSize_ = frame.minimumSize;
  const DWORD style =
      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (frame.sizable ? WS_THICKFRAME : 0);
  const DWORD exStyle = WS_EX_CONTROLPARENT | (frame.sizable ? 0 : WS_EX_DLGMODALFRAME);
  const LayoutSize client = ScaleToDpi(frame.client, dpi_);
  RECT bounds{0, 0, client.width, client.height};
  AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
  OffsetRect(&bounds, -bounds.left, -bounds.top);
  if (!CreateOfClass(frame.className, frame.caption, style, bounds, owner, nullptr, exStyle)) {
    return false;
  }
  dpi_ = WindowDpi(Handle());
  placements_.clear();
  for (const DialogControl& control : controls) {
    CreateChild(Handle(), control.className, control.text, control.style, control.id,
                control.exStyle);
    placements_.push_back({control.id, control.rect, control.anchors});
  }
  LayOut();
  return true;
}

bool ModalDialog::CreateModalWindow(HWND owner, const char* className, const std::string& caption,
                                    DWORD style, DWORD exStyle, const RECT& bounds) {
  owner_ = owner;
  if (!CreateOfClass(className, caption, style & ~WS_VISIBLE, bounds, owner, nullptr, exStyle)) {
    return false;
  }
  dpi_ = WindowDpi(Handle());
  return true;
}

void ModalDialog::SetDefaultButton(int id) {
  if (defaultButton_ != 0 && defaultButton_ != id) {
    SendMessageA(Control(defaultButton_), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  if (marked_ != nullptr && marked_ != Control(id) && IsWindow(marked_)) {
    SendMessageA(marked_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  defaultButton_ = id;
  SendMessageA(Control(id), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  marked_ = Control(id);
  followed_ = nullptr;
}

HWND ModalDialog::FocusedPushButton() const {
  const HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(Handle(), focus)) {
    return nullptr;
  }
  const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0 ? focus : nullptr;
}

void ModalDialog::FollowFocus() {
  const HWND focus = GetFocus();
  if (focus == followed_) {
    return;
  }
  followed_ = focus;
  // A focused push button shows the heavy border Enter goes by; from any
  // other control the default button shows it again.
  HWND shown = FocusedPushButton();
  if (shown == nullptr && defaultButton_ != 0) {
    shown = Control(defaultButton_);
  }
  if (shown == marked_) {
    return;
  }
  if (marked_ != nullptr && IsWindow(marked_)) {
    SendMessageA(marked_, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  if (shown != nullptr) {
    SendMessageA(shown, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  }
  marked_ = shown;
}

int ModalDialog::ShowModal() {
  if (running_ || Handle() == nullptr) {
    return IDCANCEL;
  }
  result_ = IDCANCEL;
  endRequested_ = false;
  OnShow();
  if (CentredOverOwner()) {
    CentreOverOwner();
  }
  const bool ownerEnabled = owner_ != nullptr && IsWindowEnabled(owner_);
  if (ownerEnabled) {
    EnableWindow(owner_, FALSE);
  }
  ShowWindow(Handle(), SW_SHOW);
  // Raised once shown. A dialog created before its owner was first shown
  // (kel's dialogs are made at program start) is already above the owner
  // in the system's order, so a plain move to the top changes nothing, and
  // where no window manager stacks the windows (Wine on a bare X display)
  // it would stay below the owner on the screen. Topmost and back is a
  // real change of place, which every system carries out.
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetActiveWindow(Handle());
  focus_ = GetNextDlgTabItem(Handle(), nullptr, FALSE);
  SetFocus(focus_ != nullptr ? focus_ : Handle());
  if (DialogKeys()) {
    FollowFocus();  // the border comes back from the button focused when last closed
  }

  running_ = true;
  const PromptOwner boxesOwner(Handle());
  MSG message{};
  while (!endRequested_) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) {
      break;
    }
    if (got == 0) {
      // The program is ending: the dialog closes and the main loop gets the
      // quit message again.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Dispatch(message);
  }
  running_ = false;
  // A window hidden before its loop ended (to let its owner's work be seen)
  // gave the activation away while the owner was disabled.
  const bool hiddenEarly = !IsWindowVisible(Handle());
  // The owner first, so that it takes the activation when this one hides.
  if (ownerEnabled) {
    EnableWindow(owner_, TRUE);
  }
  ShowWindow(Handle(), SW_HIDE);
  if (hiddenEarly && ownerEnabled) {
    SetActiveWindow(owner_);
  }
  OnHidden();
  return result_;
}

void ModalDialog::Dispatch(MSG& message) {
  if (!DialogKeys() || !IsDialogMessageA(Handle(), &message)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (DialogKeys()) {
    FollowFocus();
  }
}

bool ModalDialog::HandleWaitingMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the loop that ends the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(message);
  }
  return true;
}

void ModalDialog::EndModal(int result) {
  result_ = result;
  endRequested_ = true;
}

void ModalDialog::Cancel() {
  if (cancelButton_ != 0) {
    OnCommand(cancelButton_, BN_CLICKED, Control(cancelButton_));
  } else {
    EndModal(IDCANCEL);
  }
}

void ModalDialog::SetDesignedTop(int id, int top) {
  for (ControlPlacement& placement : placements_) {
    if (placement.id == id) {
      placement.rect.top = top;
    }
  }
}

void ModalDialog::LayOut() {
  if (!placements_.empty()) {
    MoveControls(Handle(), PlaceControls(placements_, design_, ClientSize(Handle()), dpi_));
  }
}

void ModalDialog::CentreOverOwner() {
  RECT window{};
  GetWindowRect(Handle(), &window);
  RECT owner = window;
  if (owner_ != nullptr) {
    GetWindowRect(owner_, &owner);
  }
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromRect(&owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return;
  }
  const RECT& work = monitor.rcWork;
  const ScreenRect placed = CentredOver({window.right - window.left, window.bottom - window.top},
                                        {owner.left, owner.top, owner.right, owner.bottom},
                                        {work.left, work.top, work.right, work.bottom});
  SetWindowPos(Handle(), nullptr, placed.left, placed.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ModalDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      // Esc comes as IDCANCEL, whatever the cancel button's id.
      if (id == IDCANCEL && cancelButton_ != IDCANCEL && lParam == 0) {
        Cancel();
      } else {
        OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      }
      return 0;
    }
    case WM_ACTIVATE:
      // The control that had the focus gets it back, as in a dialog, when a
      // message box over the window closes.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(Handle(), focus)) {
          focus_ = focus;
        }
      } else if (focus_ != nullptr && IsWindow(focus_)) {
        SetFocus(focus_);
        return 0;
      }
      break;
    case DM_GETDEFID: {
      // Enter presses the push button that has the focus; from any other
      // control, the default button.
      if (const HWND focused = FocusedPushButton()) {
        return MAKELRESULT(GetDlgCtrlID(focused), DC_HASDEFID);
      }
      return defaultButton_ != 0 ? MAKELRESULT(defaultButton_, DC_HASDEFID) : 0;
    }
    case WM_CLOSE:
      Cancel();
      return 0;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_GETMINMAXINFO:
      if (minimumSize_.width > 0) {
        auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
        const LayoutSize least = ScaleToDpi(minimumSize_, dpi_);
        limits.ptMinTrackSize = {least.width, least.height};
      }
      return 0;
    case WmDpiChanged:
      dpi_ = FollowDpiChange(Handle(), wParam, lParam);
      LayOut();
      return 0;
    default:
      break;
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace seltane
