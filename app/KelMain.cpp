// kel's entry point: creates the options, acts on the command line and saves
// the options at the end of the run.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "data/RegistryOptions.h"
#include "platform/System.h"
#include "platform/Win32Prompter.h"
#include "platform/Win32Registry.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace seltane;
  Win32Registry registry;
  Win32Prompter prompter;
  TOptions Options({registry, prompter, CurrentDirectory, IsWin9xFamily()});

  std::vector<std::string> arguments(__argv, __argv + __argc);
  if (ExamineArguments(arguments, Options) == StartDecision::Stop) {
    return 0;
  }
  return Options.Save() ? 0 : 1;
}
