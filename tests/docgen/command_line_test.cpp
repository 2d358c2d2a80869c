// zuvo's description of its command line, written by the program's parser
// (src/ui/console/describe.cpp) and read back by the generator.
#include "command_line.h"

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include "ui/console/describe.h"

namespace {

TEST(DescribedCommandLine, ReadsBackWhatTheParserHoldsAndRefusesAnIncompleteDescription) {
  CLI::App app{"Hilfe"};
  app.name("zuvo");
  app.set_help_flag("-h,--help", "Hilfe zeigen");
  std::string host, kind, layout, output;
  bool dryRun = false;
  app.add_option("--host", host, "Ordner")->option_text("ORDNER");
  app.add_option("--secret", host, "versteckt")->group("");
  CLI::App* sub = app.add_subcommand("remove-missing", "L\xC3\xB6schen");
  sub->add_option("ART", kind, "Art")->required()->check(CLI::IsMember({"gbos", "real-estate"}));
  sub->add_option("ANLAGE", layout, "Anlage");
  sub->add_flag("--dry-run", dryRun, "nur zeigen");
  sub->add_option("-o", output, "Datei");

  docgen::Command program;
  std::string error;
  ASSERT_TRUE(docgen::ReadCommandLine(console::DescribeCommandLine(app), &program, &error)) << error;
  // (The names, helps and choices of zuvo's own commands: the package stage's
  // pages and completion.)
  ASSERT_EQ(program.options.size(), 2u);  // the hidden one left out
  ASSERT_EQ(program.commands.size(), 1u);
  const docgen::Command& command = program.commands[0];
  ASSERT_EQ(command.positionals.size(), 2u);
  EXPECT_TRUE(command.positionals[0].required && !command.positionals[1].required);
  ASSERT_EQ(command.options.size(), 3u);
  // The values' names: none for a flag, "WERT" for a value without a name.
  EXPECT_EQ((std::vector<std::string>{program.options[0].value, program.options[1].value, command.options[1].value,
                                      command.options[2].value}),
            (std::vector<std::string>{"", "ORDNER", "", "WERT"}));
  EXPECT_TRUE(docgen::IsHelp(command.options[0]));
  // An incomplete description is refused.
  EXPECT_FALSE(docgen::ReadCommandLine("{", &program, &error));
  EXPECT_EQ(error, "the description: is no JSON");
  const std::string noHelp = R"({"name": "zuvo", "help": "", "options": [], "positionals": [],
    "commands": [{"name": "show", "options": [], "positionals": [], "commands": []}]})";
  EXPECT_FALSE(docgen::ReadCommandLine(noHelp, &program, &error));
  EXPECT_EQ(error, "zuvo show: no text \"help\"");
}

}  // namespace
