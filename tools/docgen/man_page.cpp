#include "man_page.h"

#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace docgen {
namespace {

const char kTextsMarker[] = ".\\\" @TEXTS@";
const char kTextPrefix[] = ".\\\" text ";

std::string Bold(const std::string& name) { return "\\fB" + RoffName(name) + "\\fR"; }
std::string Italic(const std::string& name) { return "\\fI" + RoffName(name) + "\\fR"; }

std::string Choices(const std::vector<std::string>& choices) {
  std::string text;
  for (const std::string& choice : choices) text += (text.empty() ? "" : "|") + Bold(choice);
  return text;
}

// "--host ORDNER" or "-h, --help" as the tag of an entry.
std::string OptionTag(const Option& option, const char* separator) {
  std::string tag;
  for (const std::string& name : option.names) tag += (tag.empty() ? "" : separator) + Bold(name);
  if (!option.choices.empty()) return tag + " " + Choices(option.choices);
  return option.value.empty() ? tag : tag + " " + Italic(option.value);
}

std::string OptionUsage(const Option& option) {
  Option main = option;
  main.names = {MainName(option)};
  return "[" + OptionTag(main, "") + "]";
}

std::string PositionalUsage(const Positional& positional) {
  const std::string text = positional.choices.empty() ? Italic(positional.name) : Choices(positional.choices);
  return positional.required ? text : "[" + text + "]";
}

// The options that stop the program (help, version) stand apart from the
// ones that take part in a command line.
bool IsInformation(const Option& option) { return IsHelp(option) || MainName(option) == "--version"; }

struct Texts {
  std::map<std::string, std::string> byKey;
  std::set<std::string> used;
};

int ReadTexts(const std::string& part, Texts* texts, std::string* error) {
  std::istringstream in(part);
  std::string line, key;
  while (std::getline(in, line)) {
    if (line.compare(0, sizeof kTextPrefix - 1, kTextPrefix) == 0) {
      key = line.substr(sizeof kTextPrefix - 1);
      if (texts->byKey.count(key)) {
        *error = "the text \"" + key + "\" is there twice";
        return 0;
      }
      texts->byKey[key];
    } else if (!key.empty()) {
      texts->byKey[key] += line + "\n";
    } else if (!line.empty()) {
      *error = "a line after " + std::string(kTextsMarker) + " belongs to no text: " + line;
      return 0;
    }
  }
  return 1;
}

class Writer {
 public:
  Writer(const ManPageInput& input, Texts* texts, std::vector<std::string>* missing)
      : input_(input), texts_(texts), missing_(missing) {}

  // The text for `key`, or the table's help text.
  std::string Text(const std::string& key, const std::string& help) {
    auto it = texts_->byKey.find(key);
    if (it != texts_->byKey.end()) texts_->used.insert(key);
    if (it != texts_->byKey.end() && !it->second.empty()) return it->second;
    if (input_.tableLanguage) return RoffSentence(help) + "\n";
    missing_->push_back(key);
    return ".\\\" missing text: " + key + "\n" + RoffSentence(help) + "\n";
  }

  std::string Options() {
    std::string out;
    for (const Option& option : input_.program->options) {
      out += ".TP\n" + OptionTag(option, ", ") + "\n" + Text("option " + MainName(option), option.help);
    }
    return out;
  }

  std::string Commands() {
    std::string out;
    for (const Command& command : input_.program->commands) {
      std::string usage = Bold(command.name);
      for (const Positional& positional : command.positionals) usage += " " + PositionalUsage(positional);
      std::string entries;
      for (const Option& option : command.options) {
        if (IsHelp(option)) continue;
        usage += " " + OptionUsage(option);
        entries += ".TP\n" + OptionTag(option, ", ") + "\n" +
                   Text("option " + command.name + " " + MainName(option), option.help);
      }
      out += ".TP\n" + usage + "\n" + Text("command " + command.name, command.help);
      if (!entries.empty()) out += ".RS\n" + entries + ".RE\n";
    }
    return out;
  }

  std::string Usage() {
    std::string out;
    for (const Option& option : input_.program->options) {
      if (!IsInformation(option)) out += (out.empty() ? "" : " ") + OptionUsage(option);
    }
    return out;
  }

 private:
  const ManPageInput& input_;
  Texts* texts_;
  std::vector<std::string>* missing_;
};

void ReplaceAll(std::string* text, const std::string& from, const std::string& to) {
  for (std::size_t at = text->find(from); at != std::string::npos; at = text->find(from, at + to.size())) {
    text->replace(at, from.size(), to);
  }
}

}  // namespace

std::string RoffName(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == '-') {
      out += "\\-";
    } else if (c == '\\') {
      out += "\\e";
    } else {
      out += c;
    }
  }
  return out;
}

std::string RoffSentence(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\\' ? std::string("\\e") : std::string(1, c);
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 'a' + 'A');
  if (!out.empty() && out.back() != '.' && out.back() != '!' && out.back() != '?') out += '.';
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
  return out;
}

std::string AsciiRoff(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    int length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 1) {
      out += utf8[i];
      continue;
    }
    unsigned long code = length == 0 ? 0xFFFD : c & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
      const unsigned char next = i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0;
      if ((next & 0xC0) != 0x80) {
        code = 0xFFFD;
        length = k;
        break;
      }
      code = code << 6 | (next & 0x3F);
    }
    if (length > 1) i += length - 1;
    char escape[16];
    std::snprintf(escape, sizeof escape, "\\[u%04lX]", code);
    out += escape;
  }
  return out;
}

int WriteManPage(const ManPageInput& input, std::string* page, std::vector<std::string>* missing, std::string* error) {
  missing->clear();
  const std::size_t marker = input.pageTemplate.find(std::string("\n") + kTextsMarker + "\n");
  std::string body = input.pageTemplate.substr(0, marker == std::string::npos ? std::string::npos : marker + 1);
  Texts texts;
  if (marker != std::string::npos &&
      !ReadTexts(input.pageTemplate.substr(marker + sizeof kTextsMarker + 1), &texts, error)) {
    return 0;
  }
  for (const char* place : {".\\\" @OPTIONS@\n", ".\\\" @COMMANDS@\n"}) {
    if (body.find(place) == std::string::npos) {
      *error = std::string("the template has no line ") + place;
      error->pop_back();
      return 0;
    }
  }
  Writer writer(input, &texts, missing);
  ReplaceAll(&body, ".\\\" @OPTIONS@\n", writer.Options());
  ReplaceAll(&body, ".\\\" @COMMANDS@\n", writer.Commands());
  ReplaceAll(&body, "@USAGE@", writer.Usage());
  ReplaceAll(&body, "@VERSION@", input.version);
  for (const auto& text : texts.byKey) {
    if (!texts.used.count(text.first)) {
      *error = "the text \"" + text.first + "\" belongs to nothing of the command table";
      return 0;
    }
  }
  *page = AsciiRoff(body);
  return 1;
}

}  // namespace docgen
