#include "data/ListFiles.h"

#include <new>

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

std::string UnreadableText(const char* what, const std::string& path, const std::string& error) {
  return std::string("The ") + what + " could not be read:\n" + path + "\n" + error;
}

// A list file that could not be read is kept as it is, whatever the cause.
void TellListUnreadable(const std::string& path, const std::string& error, Prompter& prompter) {
  prompter.Tell(UnreadableText("list file", path, error) +
                    "\nIt is left as it is: the list opens empty, and saving it asks for a "
                    "new name.",
                FileOpenErrorCaption, PromptIcon::Error);
}

ListRead ReadListFileWhole(ListState& state, Prompter& prompter) {
  // A file that exists but cannot be read (locked, access denied, too
  // large) is never taken for an empty one: it would be written over.
  std::string listError;
  const std::optional<std::string> listText = ReadWholeFile(state.ListPath, listError);
  if (!listText && FileExists(state.ListPath)) {
    TellListUnreadable(state.ListPath, listError, prompter);
    return ListRead::Unreadable;
  }
  const std::string randomPath = RandomFilePath(state.ListPath);
  std::string randomError;
  const std::optional<std::string> randomText = ReadWholeFile(randomPath, randomError);
  const bool randomUnreadable = !randomText && FileExists(randomPath);
  const ListLoadResult result =
      LoadListText(state, listText.value_or(std::string()),
                   randomText ? std::optional<std::string_view>(*randomText) : std::nullopt);
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
  if (randomUnreadable) {
    prompter.Tell(UnreadableText("random file", randomPath, randomError) +
                      "\nNo picture is marked as used. Neither file of the list is written over, "
                      "so that the marks are kept: saving the list asks for a new name.",
                  FileOpenErrorCaption, PromptIcon::Error);
    return ListRead::LoadedKeepFiles;
  }
  return ListRead::Loaded;
}

}  // namespace

ListRead ReadListFile(ListState& state, Prompter& prompter) {
  try {
    return ReadListFileWhole(state, prompter);
  } catch (const std::bad_alloc&) {
    // A file too large for the memory left: what was loaded goes, and the
    // file is treated as one that could not be read.
    std::vector<kelWide>().swap(state.PictureList);
    state.AutoFolders.clear();
    TellListUnreadable(state.ListPath, OutOfMemoryText, prompter);
    return ListRead::Unreadable;
  }
}

bool WriteListFiles(ListState& state, const TOptions& options, Prompter& prompter) {
  bool written = true;
  if (state.ListChanged) {
    const ListWriteSettings settings{options.AutoSearch || options.AutoDelete, options.StoreSizes};
    const std::string text =
        FormatListFile(state.PictureList, state.AutoFolders, settings, CompareTextByLocale);
    if (!WriteOrTell(state.ListPath, text, "list file", prompter)) {
      // The random file on disk stays in step with the list file on disk.
      return false;
    }
    state.ListChanged = false;
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
