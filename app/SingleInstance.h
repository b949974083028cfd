// One kel per session. Two would each save their list and options at exit,
// the later overwriting the earlier; so a second start hands over to the kel
// running: it brings that one's window to the front, or passes "/uninstall"
// on to it, and ends.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace seltane {

class SingleInstance {
 public:
  SingleInstance() = default;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  ~SingleInstance();

  // Claims the session's one kel and makes the hidden window that takes the
  // requests of later starts. False when another kel holds it.
  bool Claim();
  // From now on the requests are carried out, those that came before
  // included: bring the program's window to the front; delete the records
  // and end.
  void Serve(std::function<void()> bringForward, std::function<void()> uninstall);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Carry(WPARAM request);

  HANDLE mutex_ = nullptr;
  HWND window_ = nullptr;
  std::function<void()> bringForward_;
  std::function<void()> uninstall_;
  bool forwardPending_ = false;
  bool uninstallPending_ = false;
};

// In a later start: asks the kel running to come to the front, or with
// `uninstall` to delete its records and end, and then waits until it has
// ended, so that an uninstaller waiting for this start finds kel gone. False
// when no kel answered.
bool HandOverToRunningKel(bool uninstall);

}  // namespace seltane
