// The lists (each name once per group, spelt as first met), what each removal
// pass takes away and what the missing list names, with a fake installation
// that lacks one object of each kind; a dry run is the same pass without a change.
#include <gtest/gtest.h>

#include <set>

#include "layout/lists.h"
#include "layout/removal.h"

namespace {

class Lacking : public layout::ObjectFiles {
 public:
  explicit Lacking(std::set<std::string> missing) : missing_(std::move(missing)) {}
  bool ModelMissing(const std::string& name) override { return missing_.count(name) != 0; }
  bool GboMissing(const std::string& name) override { return missing_.count(name) != 0; }
  bool RollingStockMissing(const std::string& name) override { return missing_.count(name) != 0; }

 private:
  std::set<std::string> missing_;
};

TEST(RemovalTest, MissingObjectsAreListedAndRemovedKindByKind) {
  Lacking files({"Weg", "WEG", "Gbo\\Weg.gbo", "Weg.rm"});
  layout::Layout l;
  for (const char* name : {"Haus", "Weg", "WEG"})
    l.models.emplace_back(), l.models.back().id = 1, l.models.back().name = name;
  for (const char* gbo : {"Gbo\\Da.gbo", "Gbo\\Weg.gbo", "Gbo\\Weg.gbo"})
    l.tracks.emplace_back(), l.tracks.back().id = 1, l.tracks.back().type = 6, l.tracks.back().gboName = gbo;
  l.tracks[2].type = 1;  // not a GBO piece: its name is no file
  l.tracks[0].linkedModel = 1;
  for (const char* name : {"Lok.rm", "Weg.rm", "Lok.rm", "Weg.rm"})
    l.rollingStock.emplace_back(), l.rollingStock.back().name = name;
  for (int i = 0; i < 3; ++i) l.rollingStock[i].id = static_cast<std::int16_t>(i + 1);
  l.rollingStock[3].id = 1;  // missing, and shares the id of the first unit, which is there
  l.rollingStock[0].neighbourA = 2, l.rollingStock[2].neighbourB = 2, l.rollingStock[2].neighbourA = 1;
  EXPECT_EQ(layout::ListText(l, layout::ListKind::kMissing, &files),
            "Immobilien:\r\nWeg.mod\r\n\r\nGBOs:\r\nGbo\\Weg.gbo\r\n\r\nRollmaterial:\r\nWeg.rm\r\n");

  const struct {
    layout::RemovalKind kind;
    int count;
    std::vector<std::string> names;
  } passes[] = {{layout::RemovalKind::kRealEstate, 2, {"Weg.mod"}},  // as the missing list names it
                {layout::RemovalKind::kGbos, 1, {"Gbo\\Weg.gbo"}},
                // Unit 4 shares the id of unit 1 (present): the id goes, and every unit with it.
                {layout::RemovalKind::kRollingStock, 3, {"Lok.rm", "Weg.rm"}}};
  for (const auto& pass : passes) {
    const layout::Layout before = l;
    const layout::Removal dry = layout::RemoveMissing(&l, pass.kind, &files, false);
    EXPECT_EQ(std::make_pair(dry.count, dry.names), std::make_pair(pass.count, pass.names));
    std::string bytes, beforeBytes;
    ASSERT_TRUE(l.Serialize(&bytes) && before.Serialize(&beforeBytes));
    EXPECT_EQ(bytes, beforeBytes) << "a dry run changed the layout";
    EXPECT_EQ(l.tracks[0].linkedModel, before.tracks[0].linkedModel) << "a dry run dropped a link";
    const layout::Removal done = layout::RemoveMissing(&l, pass.kind, &files, true);
    EXPECT_EQ(std::make_pair(done.count, done.names), std::make_pair(dry.count, dry.names));
  }
  EXPECT_EQ((std::vector<int>{l.models[0].id, l.models[1].id, l.tracks[0].linkedModel, l.tracks[0].type,
                              l.tracks[1].type, l.tracks[2].type}),
            (std::vector<int>{1, 0, layout::kNoModel, 6, 1, 1}));
  EXPECT_EQ(l.tracks[1].name, "Gleis");
  std::vector<int> units;
  for (const auto& u : l.rollingStock) units.insert(units.end(), {u.id, u.neighbourA, u.neighbourB});
  EXPECT_EQ(units, (std::vector<int>{0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0}));
}

TEST(ListsTest, EachNameOncePerGroupInItsFirstSpelling) {
  layout::Layout l;
  // Umlauts are not folded; a removed model (id 0) is listed, up to a 0 byte; a type-1 piece's GBO is not.
  for (const char* name : {"Haus", "Kirche", "haus", "HAUS", "Haeuser\\Bahnhof", "Gr\xFCn", "GR\xDCN", "Scheune"})
    l.models.emplace_back(), l.models.back().name = name + std::string(*name == 'S' ? 4 : 0, '\0');
  for (const char* gbo : {"GBO\\Bahnhof.gbo", "GBO\\Alt.gbo", "gbo\\BAHNHOF.GBO", "Turm.gbo"})
    l.tracks.emplace_back(), l.tracks.back().gboName = gbo;
  l.tracks[0].type = l.tracks[2].type = l.tracks[3].type = 6;
  for (const char* name : {"Loks\\V100.dll", "Wagen.rm", "loks\\v100.DLL"})
    l.rollingStock.emplace_back(), l.rollingStock.back().name = name;
  EXPECT_EQ(
      layout::ListText(l, layout::ListKind::kInventory, nullptr),
      "Immobilien:\r\nHaus.mod\r\nKirche.mod\r\nHaeuser\\Bahnhof.mod\r\nGr\xFCn.mod\r\nGR\xDCN.mod\r\nScheune.mod\r\n"
      "\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\nTurm.gbo\r\n\r\nRollmaterial:\r\nLoks\\V100.dll\r\nWagen.rm\r\n");
}

}  // namespace
