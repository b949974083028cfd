#include "styles/Dim.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ScriptedPrompter.h"

namespace seltane {
namespace {

using testing::ScriptedPrompter;
using Texts = std::vector<std::string>;

constexpr uint8_t Stretch = 0, Center = 1, Tile = 2, FitWidth = 3, FitHeight = 4, FitWindow = 5;
constexpr PromptAnswer Yes = PromptAnswer::Yes, No = PromptAnswer::No,
                       Cancel = PromptAnswer::Cancel;

TDim Rule(std::string_view text) {
  std::optional<TDim> dim = DimFromText(text);
  EXPECT_TRUE(dim) << text;
  return dim.value_or(TDim{});
}

Texts TextsOf(const DimLists& dims, uint8_t style) {
  Texts texts;
  for (const TDim& dim : dims.Lists[style]) {
    texts.push_back(dim.Text);
  }
  return texts;
}

DimLists ListsWith(std::initializer_list<std::pair<uint8_t, std::string_view>> rules) {
  DimLists dims;
  for (const auto& [style, text] : rules) {
    AddDim(dims, style, Rule(text));
  }
  dims.DimsModified = false;
  return dims;
}

const std::string Header = ";kel dims file\r\n;Don't modify this file\r\n";

TEST(Dim, TextFormReadsBackAndNothingElseIsARule) {
  EXPECT_EQ(DimFromNumbers(800, 800, 600, 0), (TDim{800, 800, 600, 0, "800 - 800 x 600"}));
  for (const TDim& dim : {DimFromNumbers(800, 0, 600, 0), DimFromNumbers(800, 1024, 600, 0),
                          DimFromNumbers(0, 0, 600, 768), DimFromNumbers(1, 65535, 0, 65535)}) {
    EXPECT_EQ(DimFromText(dim.Text), dim) << dim.Text;
  }
  for (std::string_view text :
       {"", "800 x", "800 X 600", "800x600", "800  x 600", "800 x 600 ", "0800 x 600", "+800 x 600",
        "800 - x 600", "800 x 600 - 768 - 900", "80a x 600",
        // Upper bounds of 0 written out or below the lower bound: the
        // program never writes them.
        "800 - 0 x 600", "1024 - 800 x 600", "800 x 768 - 600",
        // Numbers beyond 16 bits are refused, not wrapped.
        "65536 x 600", "800 - 70000 x 600", "123456 x 1"}) {
    EXPECT_FALSE(DimFromText(text)) << "'" << text << "'";
  }
}

TEST(Dim, UpperBoundsMatchExclusively) {
  const auto matches = [](std::string_view rule, uint16_t w, uint16_t h) {
    return SizeMatchesDim(w, h, Rule(rule));
  };
  EXPECT_TRUE(matches("800 x 600", 800, 600));
  EXPECT_FALSE(matches("800 x 600", 801, 600));
  EXPECT_TRUE(matches("800 - 1024 x 600 - 768", 800, 600));
  EXPECT_TRUE(matches("800 - 1024 x 600 - 768", 1023, 767));
  EXPECT_FALSE(matches("800 - 1024 x 600 - 768", 1024, 768));
  EXPECT_FALSE(matches("800 - 1024 x 600 - 768", 1024, 600));
  EXPECT_TRUE(matches("0 - 1024 x 0 - 768", 0, 0));
  EXPECT_FALSE(matches("0 - 1024 x 0 - 768", 1023, 768));
  EXPECT_TRUE(matches("800 - 800 x 600", 800, 600));
  EXPECT_FALSE(matches("800 - 800 x 600", 801, 600));
  EXPECT_FALSE(matches("1 - 65535 x 65535", 65535, 65535));
}

TEST(DimLists, HeldSortedByTextBytesAndAtMost255) {
  DimLists dims;
  EXPECT_EQ(AddDim(dims, Tile, Rule("800 x 600")), 0u);
  EXPECT_TRUE(dims.DimsModified);
  EXPECT_EQ(AddDim(dims, Tile, Rule("1024 x 768")), 0u);
  EXPECT_EQ(AddDim(dims, Tile, Rule("800 - 1024 x 600")), 1u);
  EXPECT_EQ(AddDim(dims, Tile, Rule("800 x 600")), 3u);
  // A changed rule moves to its new place; bad positions change nothing.
  EXPECT_EQ(ReplaceDim(dims, Tile, 0, DimFromNumbers(900, 0, 700, 0)), 3u);
  EXPECT_EQ(TextsOf(dims, Tile),
            (Texts{"800 - 1024 x 600", "800 x 600", "800 x 600", "900 x 700"}));
  dims.DimsModified = false;
  EXPECT_FALSE(ReplaceDim(dims, Tile, 4, Rule("1 x 1")));
  EXPECT_FALSE(DeleteDim(dims, Tile, 4));
  EXPECT_EQ(ReplaceDim(dims, Tile, 1, Rule("800 x 600")), 1u);  // the same rule: no change
  EXPECT_FALSE(dims.DimsModified);
  EXPECT_TRUE(DeleteDim(dims, Tile, 0));
  EXPECT_TRUE(dims.DimsModified);
  EXPECT_EQ(DimTextAt(dims, Tile, 2), "900 x 700");

  for (uint16_t i = 0; DimCount(dims, Center) < MaxDimsPerList; ++i) {
    ASSERT_TRUE(AddDim(dims, Center, DimFromNumbers(i, 0, 1, 0)));
  }
  EXPECT_TRUE(DimListIsFull(dims, Center));
  EXPECT_FALSE(AddDim(dims, Center, Rule("1000 x 1")));
  EXPECT_EQ(DimCount(dims, Center), MaxDimsPerList);
  EXPECT_TRUE(ReplaceDim(dims, Center, 0, Rule("1000 x 1")));
}

TEST(DimsFile, WrittenFileReadsBackByteForByte) {
  const DimLists dims = ListsWith({{Stretch, "800 - 1024 x 600 - 768"},
                                   {Stretch, "1024 x 768"},
                                   {Tile, "32 - 200 x 32 - 200"},
                                   {FitWindow, "1 x 1"}});
  const std::string text = FormatDimsFile(dims);
  EXPECT_EQ(text, Header +
                      "[Stretch]\r\n1024 x 768\r\n800 - 1024 x 600 - 768\r\n"
                      "[Tile]\r\n32 - 200 x 32 - 200\r\n[Fit Window]\r\n1 x 1\r\n");
  const DimsFileResult read = ParseDimsFile(text);
  EXPECT_EQ(read.status, DimsFileStatus::Read);
  EXPECT_FALSE(read.dims.DimsModified);
  EXPECT_EQ(FormatDimsFile(read.dims), text);

  std::string all = Header;
  for (uint8_t style = 0; style < WallpaperStyleCount; ++style) {
    all += std::string(DimsSectionHeads[style]) + "\r\n" + std::to_string(style) + " x 1\r\n";
  }
  EXPECT_EQ(FormatDimsFile(ParseDimsFile(all).dims), all);
  EXPECT_EQ(TextsOf(ParseDimsFile(all).dims, FitHeight), Texts{"4 x 1"});
}

TEST(DimsFile, FirstLineEmptinessAndCtrlZ) {
  EXPECT_EQ(ParseDimsFile("").status, DimsFileStatus::Empty);
  EXPECT_EQ(ParseDimsFile("\x1a;kel dims file\r\n").status, DimsFileStatus::Empty);
  for (std::string_view text : {std::string_view(Header), std::string_view(";kel dims file")}) {
    EXPECT_EQ(ParseDimsFile(text).status, DimsFileStatus::Read);
  }
  for (std::string_view text :
       {";kel dims file \r\n[Tile]\r\n5 x 5\r\n", ";KEL DIMS FILE\r\n[Tile]\r\n5 x 5\r\n",
        "[Tile]\r\n5 x 5\r\n", "\xEF\xBB\xBF\xEF\xBB\xBF;kel dims file\r\n[Tile]\r\n5 x 5\r\n"}) {
    const DimsFileResult read = ParseDimsFile(text);
    EXPECT_EQ(read.status, DimsFileStatus::WrongHeader) << text;
    EXPECT_EQ(DimCount(read.dims, Tile), 0u);
  }
  // One UTF-8 byte-order mark, as an editor saves it, is passed over.
  EXPECT_EQ(DimCount(ParseDimsFile("\xEF\xBB\xBF;kel dims file\r\n[Tile]\r\n5 x 5\r\n").dims, Tile),
            1u);
  EXPECT_EQ(TextsOf(ParseDimsFile(";kel dims file\n[Tile]\n5 x 5\n6 x 6\x1a\n7 x 7\n").dims, Tile),
            (Texts{"5 x 5", "6 x 6"}));
}

TEST(DimsFile, HandEditedLinesAreSortedOrSkipped) {
  std::string text =
      ";kel dims file\r\n"
      "1 x 1\r\n"           // 2: before any section
      "[Stretch]\r\n"       //
      "\r\n"                // 4
      "800 X 600\r\n"       // 5
      "70000 x 600\r\n"     // 6: not wrapped to 4464 x 600
      "[stretch]\r\n"       // 7: section heads are case-sensitive
      "800 x 600\r\r\n"     // a stray CR is dropped
      ";kel dims file\r\n"  // a comment
      "1024 x 768\r\n"
      "[Tile]\r\n";
  for (int i = 0; i < 257; ++i) {  // lines 12 to 268; the last two do not fit
    text += std::to_string(1000 + i) + " x 1\r\n";
  }
  text += "[Stretch]\r\n2 x 2\r";  // a last line without LF loses its CR
  const DimsFileResult read = ParseDimsFile(text);
  EXPECT_EQ(read.status, DimsFileStatus::Read);
  EXPECT_EQ(read.skipped, (std::vector<DimsLineIssue>{{2, DimsLineProblem::BeforeFirstSection},
                                                      {4, DimsLineProblem::EmptyLine},
                                                      {5, DimsLineProblem::NotARule},
                                                      {6, DimsLineProblem::NotARule},
                                                      {7, DimsLineProblem::NotARule},
                                                      {267, DimsLineProblem::ListFull},
                                                      {268, DimsLineProblem::ListFull}}));
  EXPECT_EQ(TextsOf(read.dims, Stretch), (Texts{"1024 x 768", "2 x 2", "800 x 600"}));
  EXPECT_EQ(DimCount(read.dims, Tile), MaxDimsPerList);
  EXPECT_EQ(FormatDimsFile(read.dims).substr(0, Header.size() + 41),
            Header + "[Stretch]\r\n1024 x 768\r\n2 x 2\r\n800 x 600\r\n");
  // A file of many bad lines names only the first ones.
  EXPECT_EQ(ParseDimsFile(Header + std::string(100000, '\n')).skipped.size(), MaxDimsLineIssues);
}

TEST(StyleForNewPicture, HighestEnabledMatchThenModeThenDefault) {
  const DimLists dims =
      ListsWith({{Stretch, "1024 x 768"}, {Tile, "0 - 2000 x 0 - 2000"}, {FitHeight, "640 x 480"}});
  StyleRuleSettings settings;
  EXPECT_EQ(StyleForNewPicture(dims, settings, 1024, 768, Center), Tile);
  EXPECT_EQ(StyleForNewPicture(dims, settings, 640, 480, Center), FitHeight);
  settings.enabled[Tile] = false;
  EXPECT_EQ(StyleForNewPicture(dims, settings, 1024, 768, Center), Stretch);
  settings.enabled[Stretch] = false;
  EXPECT_EQ(StyleForNewPicture(dims, settings, 1024, 768, Center), Center);
  // Without a style in the main window's box, stretch.
  EXPECT_EQ(StyleForNewPicture(dims, settings, 1024, 768, std::nullopt), Stretch);
  EXPECT_EQ(StyleForNewPicture(dims, settings, 1024, 768, uint8_t{6}), Stretch);

  // AutoStyleType 4: fit width whatever the size and the flags.
  settings.AutoStyleType = 4;
  EXPECT_EQ(StyleForNewPicture(dims, settings, 640, 480, Center), FitWidth);
  settings.AutoStyleType = 6;
  EXPECT_EQ(StyleFromRules(dims, settings, 1, 1), FitWindow);
  settings.AutoStyleType = 7;  // no "all" button: by size
  EXPECT_EQ(StyleFromRules(dims, settings, 640, 480), FitHeight);
}

class CheckCrossIncludingTest : public ::testing::Test {
 protected:
  DimCheckResult Check(std::string_view added, DimCheckMode mode = DimCheckMode::Add,
                       bool enabled = true) {
    return CheckCrossIncluding(dims, Rule(added), mode, changing, enabled, prompter);
  }

  // The questions asked so far, checked for their caption, buttons and icon.
  Texts Asked() {
    Texts texts;
    for (const auto& record : prompter.records) {
      EXPECT_EQ(record.caption, "Confirmation");
      EXPECT_EQ(record.icon, PromptIcon::Question);
      EXPECT_EQ(record.buttons, record.text.ends_with(". Delete?") ? PromptButtons::YesNoCancel
                                                                   : PromptButtons::YesNo);
      texts.push_back(record.text);
    }
    prompter.records.clear();
    return texts;
  }

  DimLists dims;
  std::optional<DimPosition> changing;
  ScriptedPrompter prompter;
};

TEST_F(CheckCrossIncludingTest, EachRelationAsksItsQuestions) {
  dims = ListsWith({{FitHeight, "800 x 600"}});
  prompter.answers = {No, Yes, No};
  EXPECT_TRUE(Check("800 x 600").proceed);
  EXPECT_EQ(Asked(), (Texts{"This image size includes 800 x 600. Delete?",
                            "This image size is including 800 x 600. Add anyway?",
                            "This image size crossing 800 x 600. Delete?"}));
  EXPECT_FALSE(dims.DimsModified);

  dims = ListsWith({{Stretch, "900 x 700"}});
  prompter.answers = {No, No};
  EXPECT_TRUE(Check("800 - 1024 x 600 - 768").proceed);
  EXPECT_EQ(Asked(), (Texts{"This image size includes 900 x 700. Delete?",
                            "This image size crossing 900 x 700. Delete?"}));

  dims = ListsWith({{Stretch, "800 - 1024 x 600 - 768"}});
  prompter.answers = {Yes};
  EXPECT_TRUE(Check("900 x 700").proceed);
  EXPECT_EQ(Asked(), Texts{"This image size is including 800 - 1024 x 600 - 768. Add anyway?"});

  dims = ListsWith({{Tile, "900 - 1100 x 650 - 750"}});
  prompter.answers = {Yes};
  const DimCheckResult result = Check("800 - 1000 x 600 - 700");
  EXPECT_TRUE(result.proceed);
  EXPECT_EQ(Asked(), Texts{"This image size crossing 900 - 1100 x 650 - 750. Delete?"});
  EXPECT_EQ(DimCount(dims, Tile), 0u);
  EXPECT_EQ(result.deleted, (std::vector<DimPosition>{{Tile, 0}}));
  EXPECT_TRUE(dims.DimsModified);

  EXPECT_TRUE(Check("800 x 600", DimCheckMode::Add, false).proceed);
  EXPECT_TRUE(Asked().empty());
}

TEST_F(CheckCrossIncludingTest, DeletionsGoOnAtTheSamePositionAndOutliveAnAbort) {
  // Yes to an includes question asks nothing more about that rule.
  dims = ListsWith({{Center, "800 x 600"}, {Center, "800 x 600 - 700"}, {Center, "9 x 9"}});
  prompter.answers = {Yes, Yes};
  EXPECT_TRUE(Check("800 x 600").proceed);
  EXPECT_EQ(Asked().size(), 2u);
  EXPECT_EQ(TextsOf(dims, Center), Texts{"9 x 9"});

  dims = ListsWith({{Tile, "5 x 5"},
                    {Tile, "850 - 2000 x 650 - 2000"},
                    {Tile, "860 - 2000 x 650 - 2000"},
                    {Tile, "870 - 2000 x 650 - 2000"},
                    {FitWindow, "900 x 650"}});
  prompter.answers = {Yes, No, Yes, Cancel};
  const DimCheckResult result = Check("800 - 1000 x 600 - 700");
  EXPECT_FALSE(result.proceed);
  EXPECT_EQ(Asked().size(), 4u);
  EXPECT_EQ(TextsOf(dims, Tile), (Texts{"5 x 5", "860 - 2000 x 650 - 2000"}));
  EXPECT_EQ(result.deleted, (std::vector<DimPosition>{{Tile, 1}, {Tile, 2}}));
  EXPECT_TRUE(dims.DimsModified);

  // No to "anyway?" aborts.
  dims = ListsWith({{Center, "800 - 1024 x 600 - 768"}, {FitWindow, "900 x 700"}});
  prompter.answers = {No};
  EXPECT_FALSE(Check("900 x 700").proceed);
  EXPECT_EQ(Asked().size(), 1u);
}

TEST_F(CheckCrossIncludingTest, OnlyTheRuleBeingChangedIsPassedOver) {
  dims = ListsWith({{Stretch, "800 x 600"}, {FitWidth, "1 x 1"}, {FitWidth, "800 x 600"}});
  changing = DimPosition{FitWidth, 1};
  prompter.answers = {No, Yes, No};
  EXPECT_TRUE(Check("800 x 600", DimCheckMode::Change).proceed);
  EXPECT_EQ(Asked(), (Texts{"This image size includes 800 x 600. Delete?",
                            "This image size is including 800 x 600. Change anyway?",
                            "This image size crossing 800 x 600. Delete?"}));

  // A deletion before the changed rule moves its index with it.
  dims = ListsWith({{FitWidth, "130 - 200 x 130 - 200"}, {FitWidth, "150 x 150"}});
  changing = DimPosition{FitWidth, 1};
  prompter.answers = {Yes};
  EXPECT_TRUE(Check("120 - 180 x 120 - 180", DimCheckMode::Change).proceed);
  EXPECT_EQ(Asked(), Texts{"This image size crossing 130 - 200 x 130 - 200. Delete?"});
  EXPECT_EQ(changing, (DimPosition{FitWidth, 0}));
  EXPECT_EQ(DimTextAt(dims, FitWidth, 0), "150 x 150");

  // Adding passes over nothing, whatever the dialog has selected.
  dims = ListsWith({{Tile, "800 x 600"}});
  changing = DimPosition{Tile, 0};
  prompter.answers = {No, Yes, No};
  EXPECT_TRUE(Check("800 x 600").proceed);
  EXPECT_EQ(Asked().size(), 3u);
}

}  // namespace
}  // namespace seltane
