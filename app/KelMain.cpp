// kel's entry point: creates the options, acts on the command line, runs the
// main window and saves everything at the end of the run.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "app/OptionsUnit.h"
#include "app/SingleInstance.h"
#include "data/PathText.h"
#include "data/RegistryOptions.h"
#include "data/TimedChange.h"
#include "gather/AutoSearchUnit.h"
#include "mainwindow/FullscreenPreview.h"
#include "mainwindow/MainCommands.h"
#include "mainwindow/MainTexts.h"
#include "mainwindow/Unit1.h"
#include "mainwindow/Unit2.h"
#include "platform/ShellShortcut.h"
#include "platform/System.h"
#include "platform/TaskScheduler.h"
#include "platform/TextConversion.h"
#include "platform/Win32Dialogs.h"
#include "platform/Win32Prompter.h"
#include "platform/Win32Registry.h"
#include "styles/SetStyleUnit.h"
#include "ui/TaskbarWindow.h"
#include "ui/Window.h"

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(seltane::FolderPart(path));
}

}  // namespace

static int RunKel(int showCommand) {
  using namespace seltane;
  const std::vector<std::string> arguments(__argv, __argv + __argc);
  // A second start hands over to the kel running, before anything is read
  // or asked.
  SingleInstance instance;
  if (!instance.Claim()) {
    HandOverToRunningKel(AsksToUninstall(arguments));
    return 0;
  }
  UseAnsiCodePageInPaths();
  RegisterControlClasses();

  Win32Registry registry;
  Win32Prompter prompter;
  Win32Dialogs dialogs;
  // A first start takes the defaults without asking and greets the user in
  // one message once the windows exist.
  OptionsEnvironment environment{registry,        prompter,        CurrentDirectory,
                                 IsWin9xFamily(), ProgramFolder(), true};
  const std::string programFolder = ProgramFolder();
  environment.registerTimedTask = [programFolder](uint16_t interval, uint8_t unit) {
    // The first run is due one interval after now: the trigger repeats from here.
    SYSTEMTIME now;
    GetLocalTime(&now);
    char start[32];
    std::snprintf(start, sizeof start, "%04u-%02u-%02uT%02u:%02u:%02u", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return RegisterScheduledTask(
        kTimedChangeTaskName,
        TimedChangeTaskXml(programFolder + "\\kelrun.exe", interval, unit, start));
  };
  environment.removeTimedTask = [] { return RemoveScheduledTask(kTimedChangeTaskName); };
  environment.setNextHotkey = [programFolder](uint16_t hotkey) {
    return SetNextWallpaperHotkey(programFolder, hotkey);
  };
  TOptions Options(std::move(environment));
  if (ExamineArguments(arguments, Options) == StartDecision::Stop) {
    return 0;
  }

  // The size rules live from start to end, as the set-style dialog keeps
  // them; dims.dat is in the folder kel starts in.
  SizeRules rules;
  // The windows that live from start to end, created in this order: the
  // main window, the options dialog, the set-style dialog. The automatic
  // search dialog is created on first use.
  TForm1* mainWindow = nullptr;
  TOptionsForm OptionsForm(Options, prompter);
  TSetStyleForm* setStyleForm = nullptr;
  std::unique_ptr<TAutoSearchForm> AutoSearchForm;
  // The end of the run, at exit or when Windows ends the session, once: the
  // options are saved, then the windows end in the reverse order of their
  // creation, each saving what it edits. The automatic search dialog's
  // options go before the main window writes the list, whose watched
  // folders are written only while they are on.
  bool ended = false;
  auto end = [&] {
    if (ended) {
      return;
    }
    ended = true;
    Options.Save();
    if (AutoSearchForm) {
      AutoSearchForm->FormDestroy();
    }
    if (setStyleForm != nullptr) {
      setStyleForm->FormDestroy();
    }
    OptionsForm.FormDestroy();
    mainWindow->FormDestroy();
  };
  // The program's taskbar button keeps its name while the main window's
  // caption names the picture shown.
  TaskbarWindow taskbar;
  taskbar.Create(MainCaption);
  TForm1 Form1({Options,
                prompter,
                dialogs,
                {},
                IsWin9xFamily(),
                ProgramFolder(),
                &rules,
                end,
                taskbar.Handle()});
  mainWindow = &Form1;
  if (!Form1.Create() || !OptionsForm.Create(Form1.Handle())) {
    prompter.Tell("kel's windows could not be created.", "Initialization error", PromptIcon::Error);
    return 1;
  }
  Form1.BindCommand(idNOptions, [&] { OptionsForm.ShowModal(); });
  // The set-style dialog; its creation reads dims.dat and the rule settings.
  TSetStyleForm SetStyleForm({Options, prompter, rules, Form1, CurrentDirectory()});
  setStyleForm = &SetStyleForm;
  if (SetStyleForm.Create()) {
    Form1.BindCommand(idNSetStyle, [&] { SetStyleForm.ShowModal(); });
  }
  Form1.BindCommand(idNAutoSearch, [&] {
    if (!AutoSearchForm) {
      // Kept before its creation runs the jobs of "on start", so that an end
      // of the session meanwhile still stores its options.
      AutoSearchForm = std::make_unique<TAutoSearchForm>(Form1, Options, prompter);
      if (!AutoSearchForm->Create()) {
        AutoSearchForm.reset();
        return;
      }
    }
    AutoSearchForm->ShowModal();
  });
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
  if (Options.FirstStart()) {
    prompter.Tell(FirstStartMessage(Form1.list.ListPath), "Seltane", PromptIcon::Information);
  }
  taskbar.SetMainWindow(Form1.Handle());
  Form1.Show(showCommand);
  taskbar.Show(showCommand);
  instance.Serve(
      [&] {
        if (IsIconic(taskbar.Handle())) {
          ShowWindow(taskbar.Handle(), SW_RESTORE);
        }
        SetForegroundWindow(GetLastActivePopup(Form1.Handle()));
      },
      [&] {
        // As "/uninstall" at a start: the records are deleted and stay so,
        // since the options are not saved again; the list is saved as at
        // any exit.
        Options.DeleteRegistryRecords();
        PostQuitMessage(0);
      });

  RunMessageLoop([&](MSG& message) { return Form1.TranslateShortcut(message); });
  end();
  return 0;
}

// Out of memory outside any window's message, as at the start when a huge
// list or dims.dat is read, ends the run with a message rather than at
// once; nothing is saved, so no file is written over with half of its data.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  try {
    return RunKel(showCommand);
  } catch (const std::bad_alloc&) {
    MessageBoxA(nullptr,
                "There is not enough memory to run kel. Close other programs and start it again.",
                "Error", MB_OK | MB_ICONERROR);
    return 1;
  }
}
