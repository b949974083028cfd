// kel's entry point: creates the options, acts on the command line, runs the
// main window and saves everything at the end of the run.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "data/PathText.h"
#include "data/RegistryOptions.h"
#include "mainwindow/FullscreenPreview.h"
#include "mainwindow/MainCommands.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/Unit2.h"
#include "platform/System.h"
#include "platform/Win32Dialogs.h"
#include "platform/Win32Prompter.h"
#include "platform/Win32Registry.h"
#include "styles/DimsFile.h"

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(seltane::FolderPart(path));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  using namespace seltane;
  // The controls of all of kel's windows: lists, status bar and hints,
  // progress bars, tab pages and up-down arrows.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);

  Win32Registry registry;
  Win32Prompter prompter;
  Win32Dialogs dialogs;
  TOptions Options({registry, prompter, CurrentDirectory, IsWin9xFamily()});
  const std::vector<std::string> arguments(__argv, __argv + __argc);
  if (ExamineArguments(arguments, Options) == StartDecision::Stop) {
    return 0;
  }

  // The size rules live from start to end, as the set-style dialog keeps
  // them; dims.dat is in the folder kel starts in.
  SizeRules rules;
  // The end of the run, at exit or when Windows ends the session, once.
  // The windows end in the reverse order of their creation: first what the
  // set-style dialog holds (the rules and their settings), then the main
  // window, each saving the options again.
  TForm1* mainWindow = nullptr;
  bool ended = false;
  auto end = [&] {
    if (ended) {
      return;
    }
    ended = true;
    Options.Save();
    WriteDimsFile(rules, prompter);
    StoreRuleSettings(rules, Options);
    Options.Save();
    mainWindow->FormDestroy();
  };
  TForm1 Form1({Options, prompter, dialogs, {}, IsWin9xFamily(), ProgramFolder(), &rules, end});
  mainWindow = &Form1;
  if (!Form1.Create()) {
    prompter.Tell("The main window could not be created.", "Initialization error",
                  PromptIcon::Error);
    return 1;
  }
  // The fullscreen preview and the about box come on first use and live
  // until the end.
  std::unique_ptr<TFullscreenPreviewForm> fullscreen;
  Form1.BindCommand(idNFullscreen, [&] {
    if (!fullscreen) {
      fullscreen = std::make_unique<TFullscreenPreviewForm>(Form1);
      if (!fullscreen->Create()) {
        fullscreen.reset();
        return;
      }
    }
    fullscreen->ShowModal();
  });
  std::unique_ptr<TAboutBox> about;
  Form1.BindCommand(idNAbout, [&] {
    if (!about) {
      about = std::make_unique<TAboutBox>(AboutBoxServices{IsWin9xFamily(), ProgramFile()});
      if (!about->Create(Form1.Handle())) {
        about.reset();
        return;
      }
    }
    about->ShowModal();
  });
  ReadDimsFile(rules, CurrentDirectory(), prompter);
  LoadRuleSettings(rules, Options);
  Form1.Show(showCommand);

  RunMessageLoop([&](MSG& message) { return Form1.TranslateShortcut(message); });
  end();
  return 0;
}
