// Starts a program as a user meets it on a first start: presses the default
// button of every message box it shows before its main window, and ends once
// that window is up, leaving the program running.
//   start-answering WINDOW-CLASS SECONDS COMMAND-LINE
// Exit code 0 when the window showed; 1 with a message on stderr otherwise.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/ChildProcess.h"

namespace {

using seltane::testing::ChildProcess;
using seltane::testing::SeenMessageBox;
using namespace std::chrono_literals;

// OK where the box has it, then Yes; a box with neither is closed.
int DefaultButton(const SeenMessageBox& box) {
  for (int id : {IDOK, IDYES}) {
    if (GetDlgItem(box.window, id) != nullptr) {
      return id;
    }
  }
  return IDCANCEL;
}

// The button's text as the box shows it, without the mnemonic's '&'.
std::string ButtonText(const SeenMessageBox& box, int id) {
  char text[64] = {};
  if (HWND button = GetDlgItem(box.window, id)) {
    GetWindowTextA(button, text, sizeof text);
  }
  std::string shown;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c != '&') {
      shown += *c;
    }
  }
  return shown.empty() ? (id == IDCANCEL ? "Close" : "?") : shown;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    return Fail("usage: start-answering WINDOW-CLASS SECONDS COMMAND-LINE");
  }
  const std::string windowClass = argv[1];
  const auto timeout = std::chrono::seconds(std::atoi(argv[2]));
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  ChildProcess program(argv[3], folder);
  if (!program.Started()) {
    return Fail(std::string("could not start ") + argv[3]);
  }

  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (program.WaitForWindow(windowClass.c_str(), 100ms) != nullptr) {
      program.Detach();
      return 0;
    }
    if (const auto exitCode = program.WaitForExit(0ms)) {
      return Fail("the program ended with exit code " + std::to_string(*exitCode) +
                  " before showing its window");
    }
    if (const auto box = program.WaitForMessageBox(100ms)) {
      const int button = DefaultButton(*box);
      std::printf("Pressed \"%s\" on the message box \"%s\": %s\n",
                  ButtonText(*box, button).c_str(), box->caption.c_str(), box->text.c_str());
      std::fflush(stdout);
      if (!ChildProcess::Press(*box, button)) {
        return Fail("the box \"" + box->caption + "\" stayed open after its button was pressed");
      }
    }
  }
  return Fail("the program showed neither a message box nor its window (class " + windowClass +
              ") within " + argv[2] + " s");
}
