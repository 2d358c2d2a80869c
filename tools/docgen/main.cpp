// zuvo_docgen: writes zuvo's manual pages and shell completion at build time
// from the command table that zuvo describes (zuvo --describe-commands).
//
//   zuvo_docgen man de|en TABLE.json TEMPLATE VERSION OUTPUT
//   zuvo_docgen bash|zsh TABLE.json TEMPLATE OUTPUT
//   zuvo_docgen page TEMPLATE VERSION OUTPUT   (a page without a table)
//
// A page in English names on standard error every entry without its own
// text; the package test finds them marked in the page.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "completion.h"
#include "man_page.h"

namespace {

int ReadFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  *text = out.str();
  return in.good() || in.eof() ? 1 : 0;
}

int WriteFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) return 0;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

int Usage() {
  std::fputs(
      "usage: zuvo_docgen man de|en TABLE TEMPLATE VERSION OUTPUT\n"
      "       zuvo_docgen bash|zsh TABLE TEMPLATE OUTPUT\n"
      "       zuvo_docgen page TEMPLATE VERSION OUTPUT\n",
      stderr);
  return 2;
}

// A page of its own (startzuvo): the version filled in, written in ASCII.
int WritePage(const std::vector<std::string>& args) {
  std::string text;
  if (!ReadFile(args[1], &text)) {
    std::fprintf(stderr, "zuvo_docgen: cannot read %s\n", args[1].c_str());
    return 1;
  }
  for (std::size_t at = text.find("@VERSION@"); at != std::string::npos; at = text.find("@VERSION@", at)) {
    text.replace(at, 9, args[2]);
  }
  if (!WriteFile(args[3], docgen::AsciiRoff(text))) {
    std::fprintf(stderr, "zuvo_docgen: cannot write %s\n", args[3].c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "page") return args.size() == 4 ? WritePage(args) : Usage();
  const bool man = !args.empty() && args[0] == "man";
  if (!(man && args.size() == 6 && (args[1] == "de" || args[1] == "en")) &&
      !(!man && args.size() == 4 && (args[0] == "bash" || args[0] == "zsh"))) {
    return Usage();
  }
  const std::string& tablePath = args[man ? 2 : 1];
  const std::string& templatePath = args[man ? 3 : 2];
  std::string table, scriptTemplate, output, error;
  if (!ReadFile(tablePath, &table) || !ReadFile(templatePath, &scriptTemplate)) {
    std::fprintf(stderr, "zuvo_docgen: cannot read %s or %s\n", tablePath.c_str(), templatePath.c_str());
    return 1;
  }
  docgen::Command program;
  int written = docgen::ReadCommandLine(table, &program, &error);
  std::vector<std::string> missing;
  if (written && man) {
    docgen::ManPageInput input;
    input.program = &program;
    input.pageTemplate = scriptTemplate;
    input.version = args[4];
    input.tableLanguage = args[1] == "de";
    written = docgen::WriteManPage(input, &output, &missing, &error);
  } else if (written) {
    written = args[0] == "bash" ? docgen::WriteBashCompletion(program, scriptTemplate, &output, &error)
                                : docgen::WriteZshCompletion(program, scriptTemplate, &output, &error);
  }
  if (!written) {
    std::fprintf(stderr, "zuvo_docgen: %s: %s\n", templatePath.c_str(), error.c_str());
    return 1;
  }
  for (const std::string& key : missing) {
    std::fprintf(stderr, "zuvo_docgen: %s: no text for \"%s\"; the page shows the German one\n", templatePath.c_str(),
                 key.c_str());
  }
  const std::string& outputPath = args.back();
  if (!WriteFile(outputPath, output)) {
    std::fprintf(stderr, "zuvo_docgen: cannot write %s\n", outputPath.c_str());
    return 1;
  }
  return 0;
}
