// Feeds arbitrary bytes to kel's list reader, as a list file and as the
// random file beside it, and checks what it loaded: nothing from a file that
// is empty or not a list, never more than a list holds, and a list that, once
// written, reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/ListFormat.h"
#include "data/ListState.h"

using namespace seltane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The first byte chooses where the random file's text is cut from the input.
  const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
  const std::string_view list = bytes.substr(0, cut);
  const std::string_view random = bytes.substr(cut);

  ListState state;
  state.ListPath = "C:\\fuzz.lst";
  const ListLoadResult result = LoadListText(state, list, random);
  if (result.status != ListLoadStatus::Loaded && !state.PictureList.empty()) {
    std::abort();
  }
  if (state.PictureList.size() > MaxPictures) {
    std::abort();
  }

  // What was loaded survives a write and a read unchanged.
  const ListWriteSettings settings{true, true};
  const std::string written =
      FormatListFile(state.PictureList, state.AutoFolders, settings, CompareLowerAZ);
  ListState again;
  const ListLoadResult reread =
      LoadListText(again, written, FormatRandomFile(UsedFlags(state.PictureList), false));
  if (reread.status != ListLoadStatus::Loaded ||
      again.PictureList.size() != state.PictureList.size()) {
    std::abort();
  }
  return 0;
}
