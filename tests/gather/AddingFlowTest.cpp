#include "gather/AddingFlow.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/support/ScriptedPrompter.h"

namespace seltane {
namespace {

// The main window as the adding flow sees it: pictures whose names start
// with "bad" are refused, every other one is appended.
struct FakeWindow : AddingWindow {
  explicit FakeWindow(ListState& list) : list(list) {}
  void ShowStatusText(const std::string& text) override { status.push_back(text); }
  void ShowStatusPanels() override { status.push_back("(panels)"); }
  void StartProgress(std::size_t count) override {
    EXPECT_FALSE(progressShown);
    progressShown = true;
    progressEnd = count;
  }
  void SetProgress(std::size_t position) override { EXPECT_LE(position, progressEnd); }
  void EndProgress() override { progressShown = false; }
  std::optional<MeasuredSize> MeasurePicture(const std::string& path) const override {
    if (path.find("\\bad") != std::string::npos) {
      return std::nullopt;
    }
    return MeasuredSize{static_cast<uint16_t>(path.size()), 1};
  }
  bool AddPicture(const std::string& path, std::optional<MeasuredSize> size) override {
    if (!size) {
      return false;
    }
    EXPECT_EQ(size->width, path.size());  // this picture's own size
    list.AddPictureEntry(path, 0, size->width, size->height, false);
    return true;
  }
  void ShowAddedRows() override { rowsShown = list.PictureList.size(); }
  void OfferPictures(const std::vector<std::string>& paths) override {
    offered.insert(offered.end(), paths.begin(), paths.end());
  }
  void EndOffer() override { offered.clear(); }
  std::vector<std::string> OfferedPaths() const override { return offered; }

  ListState& list;
  std::vector<std::string> status;
  bool progressShown = false;
  std::size_t progressEnd = 0;
  std::size_t rowsShown = 0;
  std::vector<std::string> offered;
};

struct Flow {
  Flow() {
    fileSystem.folderExists = [this](const std::string& folder) {
      return folders.count(folder) != 0;
    };
    fileSystem.listFolder = [this](const std::string& folder) {
      return std::optional<std::vector<FolderEntry>>(folders[folder]);
    };
  }
  void Scan(bool filterOld, bool confirm) {
    ScanFolders({list, prompter, window}, {"R"}, filterOld, confirm, fileSystem);
  }

  ListState list;
  testing::ScriptedPrompter prompter;
  FakeWindow window{list};
  std::map<std::string, std::vector<FolderEntry>> folders;
  FolderScanEvents fileSystem;
};

TEST(AddingFlow, AFolderIsAddedWithProgressAndTheCountSaysWhatEnteredTheList) {
  Flow flow;
  flow.folders["R"] = {{"a.jpg", false}, {"bad.jpg", false}, {"b.bmp", false}};
  flow.Scan(true, false);
  EXPECT_EQ(flow.list.PictureList.size(), 2u);
  EXPECT_EQ(flow.window.rowsShown, 2u);
  EXPECT_TRUE(flow.list.ListChanged && flow.list.RandomChanged);
  EXPECT_FALSE(flow.window.progressShown);
  ASSERT_EQ(flow.prompter.records.size(), 1u);
  EXPECT_EQ(flow.prompter.records[0].text, "2 pictures have been added; 1 could not be added");
  EXPECT_EQ(flow.prompter.records[0].caption, "Folder has been added");
  EXPECT_EQ(flow.window.status,
            (std::vector<std::string>{
                "Scanning folders...", "Scanning folders... 0 in queue, 3 pictures founded",
                "Filtering old files...", "Adding pictures...", "Adding pictures... 0%",
                "Adding pictures... 33%", "Adding pictures... 66%", "(panels)", "(panels)"}));
  EXPECT_EQ(PicturesAddedText({0, 0, false}), "0 pictures have been added");
}

TEST(AddingFlow, WithConfirmationThePicturesAreOfferedAndOnlyTheCheckedAdded) {
  Flow flow;
  flow.list.AddPictureEntry("R\\A.JPG", 0, 1, 1, false);
  flow.folders["R"] = {{"a.jpg", false}, {"b.jpg", false}, {"c.jpg", false}};
  flow.Scan(true, true);
  EXPECT_EQ(flow.window.offered, (std::vector<std::string>{"R\\b.jpg", "R\\c.jpg"}));
  EXPECT_EQ(flow.list.PictureList.size(), 1u);
  EXPECT_FALSE(flow.list.ListChanged);
  // A second search while they are offered adds only what is new to the
  // offer (the automatic search on start, then "Proceed now").
  flow.folders["R"].push_back({"D.jpg", false});
  flow.window.offered[1] = "r\\C.JPG";
  flow.Scan(true, true);
  EXPECT_EQ(flow.window.offered, (std::vector<std::string>{"R\\b.jpg", "r\\C.JPG", "R\\D.jpg"}));

  const AddingCount count =
      AddPicked({flow.list, flow.prompter, flow.window}, flow.window.offered, {false, true, false});
  EXPECT_EQ(count.added, 1u);
  EXPECT_EQ(flow.list.PictureList.back().FullPath, "r\\C.JPG");
  EXPECT_TRUE(flow.window.offered.empty());  // pick mode left
  EXPECT_EQ(flow.prompter.records.back().text, "1 pictures have been added");
}

TEST(AddingFlow, PicturesAlreadyListedAreFilteredBeforeTheRoomInTheListIsChecked) {
  // 60,000 pictures listed, all found again, and 6,000 new ones after them:
  // more than 65,535 found, but it is the 6,000 that must fit into the room
  // of 5,535 left.
  Flow flow;
  std::vector<FolderEntry>& entries = flow.folders["R"];
  for (int i = 0; i < 66000; ++i) {
    const std::string name = std::to_string(i) + ".jpg";
    if (i < 60000) {
      flow.list.AddPictureEntry("R\\" + name, 0, 1, 1, false);
    }
    entries.push_back({name, false});
  }
  flow.Scan(true, false);
  ASSERT_EQ(flow.prompter.records.size(), 2u);
  EXPECT_EQ(flow.prompter.records[0].text,
            "6000 new pictures were found, but the list has room for 5535 more, the most a list "
            "can hold being 65535. Only the first 5535 are taken.");
  EXPECT_EQ(flow.list.PictureList.size(), MaxPictures);
  EXPECT_EQ(flow.list.PictureList.back().FullPath, "R\\65534.jpg");
  EXPECT_EQ(flow.prompter.records[1].text, "5535 pictures have been added");
}

TEST(AddingFlow, AddingFilesSkipsWhatIsListedAndStopsAtAFullList) {
  Flow flow;
  flow.list.AddPictureEntry("C:\\a.jpg", 0, 1, 1, false);
  const AddingCount count = AddFiles({flow.list, flow.prompter, flow.window},
                                     {"c:\\A.JPG", "C:\\b.jpg", "C:\\B.jpg", "C:\\bad.jpg"});
  EXPECT_EQ(count.added, 1u);
  EXPECT_EQ(count.refused, 1u);
  EXPECT_EQ(flow.window.rowsShown, 2u);
  EXPECT_TRUE(flow.prompter.records.empty());

  for (std::size_t i = flow.list.PictureList.size(); i < MaxPictures; ++i) {
    flow.list.AddPictureEntry("C:\\" + std::to_string(i), 0, 1, 1, false);
  }
  EXPECT_TRUE(AddFiles({flow.list, flow.prompter, flow.window}, {"C:\\new.jpg"}).listFull);
  EXPECT_EQ(flow.prompter.records.back().text, ListFullText);
}

}  // namespace
}  // namespace seltane
