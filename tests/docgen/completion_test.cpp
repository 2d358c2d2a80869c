// The shell completion from the command table.
#include "completion.h"

#include <gtest/gtest.h>

namespace {

TEST(Completion, KindOfEachValue) {
  EXPECT_EQ(docgen::ValueKind("ART", "", {"gbos", "real-estate"}), "words gbos real-estate");
  EXPECT_EQ(docgen::ValueKind("NAME", "", {}), "list cameraSet");
  EXPECT_EQ(docgen::ValueKind("NAME", "--camera-set", {}), "list cameraSet");
  EXPECT_EQ(docgen::ValueKind("DATEI", "--buffer-stop", {}), "list bufferStop");
  EXPECT_EQ(docgen::ValueKind("DATEI", "-o", {}), "file");
  EXPECT_EQ(docgen::Quoted("it's"), "'it'\\''s'");
}

docgen::Command Table() {
  docgen::Command program;
  program.options = {{{"-h", "--help"}, "", "Hilfe", {}}, {{"--host"}, "ORDNER", "Ordner [Pfad]", {}}};
  docgen::Command restore;  // new commands come in with the table
  restore.name = "restore";
  restore.help = "Version: zur\xC3\274ck";
  restore.positionals = {{"ANLAGE", "", true, {}}};
  restore.options = {{{"-h", "--help"}, "", "Hilfe", {}}, {{"--force"}, "", "immer", {}}};
  program.commands = {restore};
  return program;
}

TEST(Completion, BashTableHasEveryCommandOptionAndArgument) {
  std::string script, error;
  ASSERT_TRUE(docgen::WriteBashCompletion(Table(), "# head\n@TABLE@\n# tail\n", &script, &error)) << error;
  EXPECT_NE(script.find("_zuvo_commands='restore'\n"), std::string::npos);
  EXPECT_NE(script.find("    '') REPLY='-h --help --host' ;;\n"), std::string::npos);
  EXPECT_NE(script.find("    'restore') REPLY='-h --help --force --host' ;;\n"), std::string::npos);
  EXPECT_NE(script.find("    ' --host') REPLY='directory' ;;\n"), std::string::npos);
  EXPECT_NE(script.find("    'restore 0') REPLY='layout' ;;\n"), std::string::npos);
  EXPECT_EQ(script.find("restore --force"), std::string::npos);  // a flag has no value
  EXPECT_EQ(script.compare(0, 7, "# head\n"), 0);
  EXPECT_EQ(script.substr(script.size() - 7), "# tail\n");
  EXPECT_FALSE(docgen::WriteBashCompletion(Table(), "no place\n", &script, &error));
  EXPECT_EQ(error, "the template has no line @TABLE@");
}

TEST(Completion, ZshSpecsWithTheirDescriptions) {
  std::string script, error;
  ASSERT_TRUE(docgen::WriteZshCompletion(Table(), "@TABLE@\n", &script, &error)) << error;
  EXPECT_NE(script.find("  '(--host)--host=[Ordner \\[Pfad\\]]:ORDNER: _zuvo_value directory'\n"), std::string::npos);
  EXPECT_NE(script.find("  'restore:Version\\: zur\xC3\274ck'\n"), std::string::npos);
  EXPECT_NE(script.find("        '(--force)--force[immer]'\n"), std::string::npos);
  EXPECT_NE(script.find("        '1:ANLAGE: _zuvo_value layout'\n"), std::string::npos);
  // After a command only the command's own help option.
  const std::size_t shared = script.find("_zuvo_shared_specs=(\n");
  ASSERT_NE(shared, std::string::npos);
  const std::string specs = script.substr(shared, script.find(")\n", shared) - shared);
  EXPECT_NE(specs.find("--host"), std::string::npos);
  EXPECT_EQ(specs.find("--help"), std::string::npos);
}

}  // namespace
