// Sectioned key/value text files: the layout's companion file (".danl"),
// rolling-stock data sheets and terrain descriptions.
//
//   [Section]
//   key=value
//
// The whole file is kept in memory as one ordered list of entries. An entry
// without a value is a section header; an entry with a value is a key of the
// nearest header before it (keys before the first header belong to no
// section: kept and written back, never found). Names are compared exactly
// (case-sensitive, nothing trimmed). A value ending in a backslash continues
// on the next line. A line starting with "[]" ends the reading.
//
// Files are written with CR LF line ends and read with CR LF or LF.
//
// Result contract: non-zero is success; Write reports its own failures.
#pragma once

#include <string>
#include <vector>

namespace settings {

// What Read found out about a file besides its entries.
struct ReadNote {
  bool utf8 = false;     // it was UTF-8 and was converted to code page 1252
  bool refused = false;  // UTF-8 with a character code page 1252 lacks: not read, reported
};

struct SettingsEntry {
  std::string name;
  std::string value;
  bool isSection = false;  // a header: `value` is unused
};

class SettingsFile {
 public:
  // Releases every entry.
  void Clear();

  // Adds one key entry at the end.
  void Append(const std::string& name, const std::string& value);
  // Adds one section header at the end.
  void AppendSection(const std::string& name);

  // Appends the entries of the file at `path` (a Windows path). With a start
  // line, every line before the first line equal to it is skipped. A file
  // that cannot be opened adds nothing and reports nothing. Returns 1 when the
  // file was read, 0 when it could not be opened.
  //
  // The file is code page 1252, or UTF-8 (platform::TextFileToCp1252), which
  // is converted, so that a save writes it in code page 1252; *note (when
  // given) says so. UTF-8 with a character that code page 1252 lacks adds
  // nothing: the message names the file and the line, and the result is 0.
  int Read(const std::string& path, const char* startLine = nullptr, ReadNote* note = nullptr);

  // Appends the entries of `text` as Read does for a file's content.
  void Parse(const std::string& text, const char* startLine = nullptr);

  // Writes every entry in order, safely, staying inside the folder `within`
  // (see host::SaveFileReporting). On failure shows its message and returns
  // 0; the old file then stays whole.
  int Write(const std::string& path, const std::string& within) const;

  // The text Write would save (CR LF line ends).
  std::string Serialize() const;

  // The value of `key` in the first section named `section`, or null. The
  // pointer is valid until the next change.
  const std::string* Find(const std::string& section, const std::string& key) const;

  // The key entries of every section named exactly `section`, in file order.
  // The pointers are valid until the next change.
  std::vector<const SettingsEntry*> EntriesOf(const std::string& section) const;

  // atoi of the value; `defaultValue` when the key is missing.
  int GetInt(const std::string& section, const std::string& key, int defaultValue) const;

  // atof of the value; the single-precision default widened when missing.
  double GetReal(const std::string& section, const std::string& key, float defaultValue) const;

  // The number rules of GetInt and GetReal: atoi (saturating at INT_MIN and
  // INT_MAX instead of overflowing) and atof.
  static int ParseInt(const std::string& text);
  static double ParseReal(const std::string& text);

  // Creates or replaces a key. A missing section is appended at the end with
  // the key; a missing key is inserted after the section's last key.
  void Set(const std::string& section, const std::string& key, const std::string& value);

  // Removes the first section of that name with its keys. 1 when removed.
  int RemoveSection(const std::string& section);

  // 1 when a section header of that name exists.
  int HasSection(const std::string& section) const;

  // The entry walk.
  int count() const { return static_cast<int>(entries_.size()); }
  const SettingsEntry& entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
  const std::vector<SettingsEntry>& entries() const { return entries_; }

 private:
  // Index of the first header named `section`, or -1.
  int FindSection(const std::string& section) const;

  std::vector<SettingsEntry> entries_;
};

}  // namespace settings
