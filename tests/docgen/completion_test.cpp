// The shell completion from the command table. (That bash and zsh complete zuvo's real commands,
// options and values with it: scripts/check-bash-completion.sh, check-zsh-completion.zsh.)
#include "completion.h"

#include <gtest/gtest.h>

namespace {

docgen::Command Table() {
  docgen::Command program;
  program.options = {{{"-h", "--help"}, "", "Hilfe", {}}, {{"--host"}, "ORDNER", "Ordner [Pfad]", {}}};
  docgen::Command restore;
  restore.name = "restore";
  restore.help = "Version: zur\xC3\274ck";
  restore.options = {{{"-h", "--help"}, "", "Hilfe", {}}, {{"--force"}, "", "immer", {}}};
  program.commands = {restore};
  return program;
}

TEST(Completion, TheTableTakesTheTemplatesPlaceQuotedAndZshSpecsEscapeTheirDescriptions) {
  EXPECT_EQ(docgen::Quoted("it's"), "'it'\\''s'");
  std::string script, error;
  ASSERT_TRUE(docgen::WriteBashCompletion(Table(), "# head\n@TABLE@\n# tail\n", &script, &error)) << error;
  EXPECT_EQ(script.compare(0, 7, "# head\n"), 0);
  EXPECT_EQ(script.substr(script.size() - 7), "# tail\n");
  EXPECT_FALSE(docgen::WriteBashCompletion(Table(), "no place\n", &script, &error));
  EXPECT_EQ(error, "the template has no line @TABLE@");
  ASSERT_TRUE(docgen::WriteZshCompletion(Table(), "@TABLE@\n", &script, &error)) << error;
  EXPECT_NE(script.find("  '(--host)--host=[Ordner \\[Pfad\\]]:ORDNER: _zuvo_value directory'\n"), std::string::npos);
  EXPECT_NE(script.find("  'restore:Version\\: zur\xC3\274ck'\n"), std::string::npos);
}

}  // namespace
