#include "data/ListFiles.h"

#include "data/ListFormat.h"
#include "platform/Files.h"
#include "platform/System.h"

namespace seltane {
namespace {

bool WriteOrTell(const std::string& path, const std::string& text, const char* what,
                 Prompter& prompter) {
  std::string error;
  if (WriteFileReplacing(path, text, error)) {
    return true;
  }
  prompter.Tell(std::string("The ") + what + " could not be written:\n" + path + "\n" + error +
                    "\nYour changes are still in the program; save again after fixing the cause.",
                "Error", PromptIcon::Error);
  return false;
}

}  // namespace

ListRead ReadListFile(ListState& state, Prompter& prompter) {
  // A list file that cannot be read counts as empty.
  const std::string listText = ReadWholeFile(state.ListPath).value_or(std::string());
  const std::optional<std::string> randomText = ReadWholeFile(RandomFilePath(state.ListPath));
  const ListLoadResult result = LoadListText(
      state, listText, randomText ? std::optional<std::string_view>(*randomText) : std::nullopt);
  switch (result.status) {
    case ListLoadStatus::Empty:
      prompter.Tell(ListFileEmptyMessage, FileOpenErrorCaption, PromptIcon::Information);
      return ListRead::Empty;
    case ListLoadStatus::WrongHeader:
      prompter.Tell(ListFileWrongFormatMessage, FileOpenErrorCaption, PromptIcon::Error);
      return ListRead::NotAList;
    case ListLoadStatus::Loaded:
      break;
  }
  if (result.stoppedAtLine) {
    prompter.Tell("Error in list file " + state.ListPath + ", line " +
                      std::to_string(*result.stoppedAtLine) + ": " + result.stopReason +
                      ".\nThe pictures after this line were not loaded.",
                  FileOpenErrorCaption, PromptIcon::Error);
  }
  return ListRead::Loaded;
}

bool WriteListFiles(ListState& state, const TOptions& options, Prompter& prompter) {
  bool written = true;
  if (state.ListChanged) {
    const ListWriteSettings settings{options.AutoSearch || options.AutoDelete, options.StoreSizes};
    const std::string text =
        FormatListFile(state.PictureList, state.AutoFolders, settings, CompareTextByLocale);
    if (WriteOrTell(state.ListPath, text, "list file", prompter)) {
      state.ListChanged = false;
    } else {
      written = false;
    }
  }
  if (state.RandomChanged) {
    const std::string text =
        FormatRandomFile(UsedFlags(state.PictureList), /*countLineWhenEmpty=*/false);
    if (WriteOrTell(RandomFilePath(state.ListPath), text, "random file", prompter)) {
      state.RandomChanged = false;
    } else {
      written = false;
    }
  }
  return written;
}

}  // namespace seltane
