// The manual page from a template and the command table. (That the installed
// pages render and know every command and option: the package stage.)
#include "man_page.h"

#include <gtest/gtest.h>

namespace {

docgen::Command Table() {
  docgen::Command program;
  program.name = "zuvo";
  program.options = {{{"-h", "--help"}, "", "Hilfe", {}}, {{"--host"}, "ORDNER", "Ordner", {}}};
  docgen::Command show;
  show.name = "show";
  show.help = "anlage zeigen";
  show.positionals = {{"ANLAGE", "", true, {}}};
  show.options = {{{"-h", "--help"}, "", "Hilfe", {}}, {{"--json"}, "", "als JSON", {}}};
  docgen::Command history;  // a command that no text describes yet
  history.name = "history";
  history.help = "Versionen zeigen";
  history.positionals = {{"ART", "", false, {"a", "b"}}};
  program.commands = {show, history};
  return program;
}

const char kTemplate[] =
    ".TH ZUVO 1 \"2026\" \"StartZUVO @VERSION@\"\n"
    "\\fBzuvo\\fR @USAGE@\n"
    ".\\\" @OPTIONS@\n"
    ".SH BEFEHLE\n"
    ".\\\" @COMMANDS@\n"
    ".\\\" @TEXTS@\n"
    ".\\\" text command show\n"
    "Zeigt die Anlage f\xC3\xBCr \\fBshow\\fR.\n";

struct ManPage : ::testing::Test {
  int Write(const std::string& pageTemplate, bool tableLanguage) {
    const docgen::Command table = Table();
    docgen::ManPageInput input;
    input.program = &table;
    input.pageTemplate = pageTemplate;
    input.version = "1.2.0";
    input.tableLanguage = tableLanguage;
    return docgen::WriteManPage(input, &page, &missing, &error);
  }
  std::string page, error;
  std::vector<std::string> missing;
};

TEST_F(ManPage, InAnotherLanguageMarksWhatHasNoTextAndEscapesTheTableForRoff) {
  ASSERT_TRUE(Write(kTemplate, false)) << error;
  EXPECT_EQ(missing,
            (std::vector<std::string>{"option --help", "option --host", "option show --json", "command history"}));
  EXPECT_NE(page.find(".\\\" missing text: command history\nVersionen zeigen.\n"), std::string::npos);
  // The version, the usage and a text of the template in the page.
  EXPECT_NE(page.find("\"StartZUVO 1.2.0\"\n\\fBzuvo\\fR [\\fB\\-\\-host\\fR \\fIORDNER\\fR]\n"), std::string::npos);
  EXPECT_NE(page.find("[\\fB\\-\\-json\\fR]\nZeigt die Anlage f\\[u00FC]r \\fBshow\\fR.\n"), std::string::npos);
  // The table's texts escaped for roff.
  EXPECT_EQ(docgen::RoffSentence("modelle\\NAME"), "Modelle\\eNAME.");
  EXPECT_EQ(docgen::RoffSentence(".anl laden"), "\\&.anl laden.");
  EXPECT_EQ(docgen::RoffSentence("Fertig?"), "Fertig?");
  EXPECT_EQ(docgen::AsciiRoff("\xC3\xA4\xC3\x9F \xE2\x82\xAC x"), "\\[u00E4]\\[u00DF] \\[u20AC] x");
  EXPECT_EQ(docgen::AsciiRoff("\xC3"), "\\[uFFFD]");  // cut short
}

TEST_F(ManPage, RefusesATextForNothingAndATemplateWithoutItsPlaces) {
  EXPECT_FALSE(Write(std::string(kTemplate) + ".\\\" text command restore\nOld.\n", true));
  EXPECT_EQ(error, "the text \"command restore\" belongs to nothing of the command table");
  EXPECT_FALSE(Write(std::string(kTemplate) + ".\\\" text command show\nAgain.\n", true));
  EXPECT_EQ(error, "the text \"command show\" is there twice");
  EXPECT_FALSE(Write(".TH ZUVO 1\n.\\\" @OPTIONS@\n", true));
  EXPECT_EQ(error, "the template has no line .\\\" @COMMANDS@");
}

}  // namespace
