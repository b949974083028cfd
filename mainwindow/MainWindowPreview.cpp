// The main window's selection handler and its preview pane: the decoder and
// the image control the pane works through, and the removal of rows whose
// files are gone.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "mainwindow/MainTexts.h"
#include "mainwindow/Unit1.h"
#include "platform/Files.h"
#include "platform/TextConversion.h"

namespace seltane {
namespace {

class ImageViewScreen : public PreviewScreen {
 public:
  explicit ImageViewScreen(ImageView& view) : view_(view) {}
  void Show(std::shared_ptr<const Picture> picture) override { view_.Show(std::move(picture)); }
  void Redraw() override { view_.Redraw(); }
  PictureSize Area() const override {
    const LayoutSize area = view_.Area();
    return {area.width, area.height};
  }

 private:
  ImageView& view_;
};

// Decodes pictures for the pane: large JPEGs reduced to what the pane (and
// the fullscreen preview) shows, and the shown one drawn in the pane as it
// decodes when the options ask for it and the pane is not covered.
class PaneDecoder : public PreviewLoader {
 public:
  PaneDecoder(const TOptions& options, Prompter& prompter, ImageView& view)
      : options_(options), prompter_(prompter), view_(view) {}

  std::shared_ptr<const Picture> Load(const std::string& path, const DecodeOptions& wanted,
                                      PreviewLoad purpose) override {
    auto picture = std::make_shared<Picture>();
    DecodeOptions decoding = wanted;
    if (purpose == PreviewLoad::Shown && options_.IncrementalDisplay) {
      decoding.rowsDecoded = [this](const Picture& partial, int32_t rows) {
        view_.ShowPartly(partial, rows);
      };
    }
    const PictureError error = DecodePictureFile(WidenFromAnsi(path), decoding, *picture);
    if (error != PictureError::None) {
      if (purpose == PreviewLoad::Shown || purpose == PreviewLoad::ShownCovered) {
        prompter_.Tell(CannotShowPictureText(path, PictureErrorText(error)), "Error",
                       PromptIcon::Error);
      }
      return nullptr;
    }
    return picture;
  }

 private:
  const TOptions& options_;
  Prompter& prompter_;
  ImageView& view_;
};

}  // namespace

void TForm1::CreatePreview() {
  screen_ = std::make_unique<ImageViewScreen>(image_);
  loader_ = std::make_unique<PaneDecoder>(services_.options, services_.prompter, image_);
  preview_ = std::make_unique<PreviewPane>(*screen_, *loader_);
}

void TForm1::KelListViewSelectItem(int row, bool selected) {
  if (!selected || row < 0 || row >= static_cast<int>(list.PictureList.size())) {
    return;
  }
  if (selecting_) {
    // Selected while a selection is handled (removing a missing picture
    // selects the next row): handled by the loop below once that one is
    // done, so that a run of missing pictures does not nest.
    pendingSelection_ = row;
    return;
  }
  selecting_ = true;
  // The selections that removing missing pictures makes load plainly, as
  // after a delete.
  std::optional<BufferingPause> pause;
  for (std::optional<int> next = row; next;) {
    pendingSelection_.reset();
    if (*next < static_cast<int>(list.PictureList.size()) && ShowSelectedRow(*next) && !pause) {
      pause.emplace(services_.options, bufferingPauses_);
    }
    next = pendingSelection_;
  }
  selecting_ = false;
}

bool TForm1::ShowSelectedRow(int row) {
  const TOptions& options = services_.options;
  const std::string& path = list.PictureList[row].FullPath;
  if (!FileExists(path)) {
    // A picture on a drive or share that cannot be reached now is not
    // missing and stays. Otherwise nothing changes: preview, style box,
    // caption and status stay, and go on naming the picture that "Set as
    // wallpaper" sets.
    return options.DeleteNotExisting && FileStates({path}).front() == FileState::Missing &&
           RemoveMissingPicture(row);
  }
  preview_->Select(
      row, list.PictureList, {options.BufferImages, options.CasheImages},
      [&](const Picture& shown) {
        kelWide& entry = list.PictureList[row];
        SendMessageA(styleBox_, CB_SETCURSEL, entry.Style, 0);
        entry.Width = ClampToWord(shown.stored.width);
        entry.Height = ClampToWord(shown.stored.height);
        SetWindowTextA(
            Handle(),
            PreviewCaption(RowCaption(entry, options.ShowExtensions), list.ListTitle).c_str());
        ShowRowStatus(row, static_cast<int>(list.PictureList.size()), entry.Width, entry.Height,
                      entry.FullPath);
      });
  return false;
}

bool TForm1::RemoveMissingPicture(int row) {
  const std::string path = list.PictureList[row].FullPath;
  services_.prompter.Tell(PictureNotFoundText(path), FileNotFoundCaption, PromptIcon::Warning);
  if (services_.options.DeleteConfirm &&
      services_.prompter.Ask(DeleteQuestion, ConfirmationCaption, PromptButtons::OkCancel,
                             PromptIcon::Question) != PromptAnswer::Ok) {
    return false;
  }
  // Only this row goes, whatever else is selected.
  const std::vector<int> selected = SelectedRows();
  RemovePicture(row);
  ClearSelection();
  for (int other : selected) {
    if (other != row) {
      ListView_SetItemState(listView_, other > row ? other - 1 : other, LVIS_SELECTED,
                            LVIS_SELECTED);
    }
  }
  const int rows = static_cast<int>(list.PictureList.size());
  if (rows > 0) {
    const int next = std::min(row, rows - 1);
    ListView_SetItemState(listView_, next, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(listView_, next, FALSE);
    pendingSelection_ = next;
  }
  return true;
}

void TForm1::ShowRowStatus(int row, int rowCount, int width, int height, const std::string& path) {
  const auto texts = RowStatusTexts(row, rowCount, width, height, path);
  for (std::size_t panel = 0; panel < texts.size(); ++panel) {
    SendMessageA(statusBar_, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(texts[panel].c_str()));
  }
  // The panels grow with their texts: "1600x1200" must not be cut.
  const std::array<int, 2> widths = {TextWidth(statusBar_, texts[0]),
                                     TextWidth(statusBar_, texts[1])};
  if (widths != statusTextWidths_) {
    statusTextWidths_ = widths;
    layout_ = ComputeMainLayout(LayoutInput());
    SendMessageA(statusBar_, SB_SETPARTS, layout_.statusEdges.size(),
                 reinterpret_cast<LPARAM>(layout_.statusEdges.data()));
  }
}

void TForm1::PickListSelectItem(int row) {
  if (!InPickMode() || row < 0 || row >= static_cast<int>(pickMode_->Paths().size())) {
    return;
  }
  const std::string path = pickMode_->Paths()[row];
  if (preview_->ShowFile(path)) {
    const Picture& shown = *preview_->Shown();
    ShowRowStatus(row, static_cast<int>(pickMode_->Paths().size()), shown.stored.width,
                  shown.stored.height, path);
  }
}

}  // namespace seltane
