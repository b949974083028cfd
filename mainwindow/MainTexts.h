// The main window's own texts: captions, button texts, hints, messages and
// dialog filters. Menu texts are in MainCommands.cpp, the list's column
// headers and style texts in ListCommands.h, adding's texts in
// gather/AddingFlow.h.
#pragma once

#include <string>

namespace seltane {

inline constexpr const char* MainCaption = "Seltane";
inline constexpr const char* PickModeCaption = "Select pictures to add";

// Buttons and labels, in normal mode and in pick mode.
inline constexpr const char* AddBtnText = "Add...";
inline constexpr const char* DelBtnText = "Delete";
inline constexpr const char* SetBtnText = "Set as wallpaper";
inline constexpr const char* StyleLabelText = "Style:";
inline constexpr const char* FullScreenBtnText = "Fullscreen";
inline constexpr const char* PickOkText = "OK";
inline constexpr const char* PickCancelText = "Cancel";
inline constexpr const char* PickCheckAllText = "(un)Check all";
inline constexpr const char* PickListHeader = "File name";
inline constexpr const char* PopupAddFileText = "File...";
inline constexpr const char* PopupAddFolderText = "Folder...";

// Hints.
inline constexpr const wchar_t* AddBtnHint = L"Add file or forlder (right click for wide mode)";
inline constexpr const wchar_t* DelBtnHint = L"Delete file from list";
inline constexpr const wchar_t* SetBtnHint = L"Set current picture as wallpaper";
inline constexpr const wchar_t* FullScreenBtnHint = L"Fullscreent preview";
inline constexpr const wchar_t* KelImageHint = L"Double click for fullscreen preview";

// Messages.
inline constexpr const char* DeleteQuestion = "Delete from list?";
inline constexpr const char* ConfirmationCaption = "Confirmation";
inline constexpr const char* FileNotFoundCaption = "File not found";
inline constexpr const char* ChooseFolderPrompt = "Choose folder with pictures";
inline constexpr const char* HelpDocument = "readme.htm";
inline constexpr const char* HelpMissingText = "The help document readme.htm could not be opened.";

inline std::string PictureNotFoundText(const std::string& path) {
  return "Picture " + path + " not found";
}
inline std::string CannotAddPictureText(const std::string& path) {
  return "Cannot add picture " + path;
}
inline std::string CannotShowPictureText(const std::string& path, const std::string& reason) {
  return "Cannot show picture " + path + ": " + reason;
}
inline std::string ListNotCreatedText(const std::string& path, const std::string& reason) {
  return "The list file could not be created:\n" + path + "\n" + reason;
}

// File dialogs.
inline constexpr const char* ListFileFilter = "Wallpapers list (*.lst)|*.lst";
inline constexpr const char* ListFileExtension = "lst";
inline constexpr const char* PictureFileFilter =
    "All (*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.bmp;*.ico;*.emf;*.wmf)|"
    "*.jpg;*.jpeg;*.png;*.gif;*.tif;*.tiff;*.bmp;*.ico;*.emf;*.wmf|"
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|PNG Image File (*.png)|*.png|"
    "GIF Image File (*.gif)|*.gif|TIFF Image File (*.tif;*.tiff)|*.tif;*.tiff|Bitmaps "
    "(*.bmp)|*.bmp";

}  // namespace seltane
