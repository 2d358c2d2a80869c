#include "layout/lists.h"

#include "host/save.h"
#include "layout/missing_files.h"

namespace layout {
namespace {

unsigned char FoldAsciiCase(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(static_cast<unsigned char>(a[i])) !=
        FoldAsciiCase(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// A name as the list shows it: up to a 0 byte, as a C string would end.
std::string ListedName(const std::string& name) { return name.substr(0, name.find('\0')); }

}  // namespace

std::uint64_t NameList::Hash(const std::string& name) {
  // FNV-1a over the folded bytes, then a final mix so that the low bits used
  // for the slot depend on every byte.
  std::uint64_t h = 1469598103934665603ULL;
  for (char c : name) {
    h ^= FoldAsciiCase(static_cast<unsigned char>(c));
    h *= 1099511628211ULL;
  }
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDULL;
  h ^= h >> 33;
  return h;
}

void NameList::Grow() {
  std::size_t capacity = slots_.empty() ? 16 : slots_.size() * 2;
  slots_.assign(capacity, 0);
  const std::size_t mask = capacity - 1;
  for (std::size_t e = 0; e < items_.size(); ++e) {
    std::size_t i = static_cast<std::size_t>(hashes_[e]) & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = static_cast<std::uint32_t>(e + 1);
  }
}

const std::string& NameList::Intern(const std::string& name) {
  if ((items_.size() + 1) * 2 > slots_.size()) Grow();
  const std::uint64_t hash = Hash(name);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = static_cast<std::size_t>(hash) & mask;
  for (; slots_[i] != 0; i = (i + 1) & mask) {
    const std::size_t e = slots_[i] - 1;
    if (hashes_[e] == hash && SameName(items_[e], name)) return items_[e];
  }
  items_.push_back(name);
  hashes_.push_back(hash);
  slots_[i] = static_cast<std::uint32_t>(items_.size());
  return items_.back();
}

void NameList::Clear() {
  items_.clear();
  slots_.clear();
  hashes_.clear();
}

const char* ListFileName(int missingOnly) {
  return missingOnly ? "Fehlliste.txt" : "Inventarliste.txt";
}

std::string ListText(const Layout& layout, int missingOnly) {
  MissingFiles missing;
  NameList names;
  std::string text = "Immobilien:\r\n";
  for (const ModelRecord& model : layout.models) {
    if (!missingOnly || missing.Model(model.name)) names.Intern(ListedName(model.name));
  }
  for (const std::string& name : names.items()) text += name + ".mod\r\n";
  names.Clear();

  text += "\r\nGBOs:\r\n";
  for (const TrackRecord& track : layout.tracks) {
    if (track.type != 6) continue;
    if (!missingOnly || missing.Gbo(track.gboName)) names.Intern(ListedName(track.gboName));
  }
  for (const std::string& name : names.items()) text += name + "\r\n";
  names.Clear();

  text += "\r\nRollmaterial:\r\n";
  for (const RollingStockRecord& unit : layout.rollingStock) {
    if (!missingOnly || missing.RollingStock(unit.name)) names.Intern(ListedName(unit.name));
  }
  for (const std::string& name : names.items()) text += name + "\r\n";
  return text;
}

int WriteLists(const Layout& layout, int missingOnly) {
  return host::SaveFileReporting(ListFileName(missingOnly), ListText(layout, missingOnly),
                                 host::kFileCannotBeOpened);
}

}  // namespace layout
