#include "layout/lists.h"

#include "host/paths.h"
#include "platform/cp1252.h"

namespace layout {
namespace {

// The name with a to z in upper case: names equal but for the case of A to Z
// (and no other letters) are one name.
std::string FoldedName(const std::string& name) {
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(platform::AsciiUpper(static_cast<unsigned char>(c)));
  return folded;
}

// A name as the list shows it: up to a 0 byte, as a C string would end.
std::string ListedName(const std::string& name) { return host::NameUpToNul(name); }

}  // namespace

const std::string& NameList::Intern(const std::string& name) {
  auto entry = index_.emplace(FoldedName(name), items_.size());
  if (entry.second) items_.push_back(name);
  return items_[entry.first->second];
}

void NameList::Clear() {
  items_.clear();
  index_.clear();
}

const char* ListFileName(ListKind kind) { return kind == ListKind::kMissing ? "Fehlliste.txt" : "Inventarliste.txt"; }

std::string ListText(const Layout& layout, ListKind kind, ObjectFiles* files) {
  const bool missingOnly = kind == ListKind::kMissing;
  NameList names;
  std::string text = "Immobilien:\r\n";
  for (const ModelRecord& model : layout.models) {
    if (!missingOnly || files->ModelMissing(model.name)) names.Intern(ListedName(model.name));
  }
  for (const std::string& name : names.items()) text += name + ".mod\r\n";
  names.Clear();

  text += "\r\nGBOs:\r\n";
  for (const TrackRecord& track : layout.tracks) {
    if (track.type != 6) continue;
    if (!missingOnly || files->GboMissing(track.gboName)) names.Intern(ListedName(track.gboName));
  }
  for (const std::string& name : names.items()) text += name + "\r\n";
  names.Clear();

  text += "\r\nRollmaterial:\r\n";
  for (const RollingStockRecord& unit : layout.rollingStock) {
    if (!missingOnly || files->RollingStockMissing(unit.name)) names.Intern(ListedName(unit.name));
  }
  for (const std::string& name : names.items()) text += name + "\r\n";
  return text;
}

}  // namespace layout
