#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "tests/support/FakeRegistry.h"
#include "tests/support/ScriptedPrompter.h"

namespace seltane {
namespace {

class CommandLine : public ::testing::Test {
 protected:
  CommandLine() {
    prompter.answers.push_back(PromptAnswer::Cancel);  // first start: keep zeros
    options = std::make_unique<TOptions>(
        OptionsEnvironment{registry, prompter, [] { return std::string("C:\\kel"); }, false});
    prompter.records.clear();
  }
  testing::FakeRegistry registry;
  testing::ScriptedPrompter prompter;
  std::unique_ptr<TOptions> options;
};

TEST_F(CommandLine, InstallInAnyCaseSetsDefaultsAndGoesOn) {
  EXPECT_EQ(ExamineArguments({"C:\\kel\\kel.exe", "picture.jpg", "-InStAlL"}, *options),
            StartDecision::Continue);
  EXPECT_EQ(options->Width, 832);
  EXPECT_TRUE(prompter.records.empty());
}

TEST_F(CommandLine, UninstallStopsAtOnceAndLaterArgumentsAreNotLookedAt) {
  registry.Set(RegistryRoot::CurrentUser, RegistryKeyNames.Key, "AutoRun", EncodeDWord(1));
  EXPECT_EQ(ExamineArguments({"kel.exe", "/UNINSTALL", "/install"}, *options), StartDecision::Stop);
  EXPECT_EQ(options->Width, 0);
  EXPECT_EQ(registry.ValueCount(), 0u);
  ASSERT_EQ(prompter.records.size(), 1u);
}

TEST_F(CommandLine, InstallThenUninstallRemovesTheCurrentUsersAutorunValue) {
  registry.Set(RegistryRoot::CurrentUser, RunKey, "Seltane", EncodeString("x"));
  EXPECT_EQ(ExamineArguments({"kel.exe", "/install", "/uninstall"}, *options), StartDecision::Stop);
  EXPECT_FALSE(registry.Has(RegistryRoot::CurrentUser, RunKey, "Seltane"));
}

TEST_F(CommandLine, ArgumentZeroCountsAndNearMissesAreIgnored) {
  EXPECT_EQ(ExamineArguments({"/install"}, *options), StartDecision::Continue);
  EXPECT_EQ(options->Left, 65);
  EXPECT_EQ(ExamineArguments({"kel.exe", "/uninstall ", "uninstall", "--uninstall"}, *options),
            StartDecision::Continue);
  EXPECT_TRUE(prompter.records.empty());
}

}  // namespace
}  // namespace seltane
