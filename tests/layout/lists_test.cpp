// The lists: each name once per group, spelt as first met. (Which files are missing: the end-to-end tests.)
#include "layout/lists.h"

#include <gtest/gtest.h>

TEST(ListsTest, EachNameOncePerGroupInItsFirstSpelling) {
  layout::Layout l;
  // Umlauts are not folded; a removed model (id 0) is listed, up to a 0 byte; a type-1 piece's GBO is not.
  for (const char* name : {"Haus", "Kirche", "haus", "HAUS", "Haeuser\\Bahnhof",
                           "Br\xFC"
                           "cke",
                           "BR\xDC"
                           "CKE",
                           "Scheune"}) {
    l.models.emplace_back(), l.models.back().name = name + std::string(*name == 'S' ? 4 : 0, '\0');
  }
  for (const char* gbo : {"GBO\\Bahnhof.gbo", "GBO\\Alt.gbo", "gbo\\BAHNHOF.GBO", "Turm.gbo"})
    l.tracks.emplace_back(), l.tracks.back().gboName = gbo;
  l.tracks[0].type = l.tracks[2].type = l.tracks[3].type = 6;
  for (const char* name : {"Loks\\V100.dll", "Wagen.rm", "loks\\v100.DLL"})
    l.rollingStock.emplace_back(), l.rollingStock.back().name = name;
  EXPECT_EQ(layout::ListText(l, layout::ListKind::kInventory, nullptr),
            "Immobilien:\r\nHaus.mod\r\nKirche.mod\r\nHaeuser\\Bahnhof.mod\r\nBr\xFC"
            "cke.mod\r\nBR\xDC"
            "CKE.mod\r\n"
            "Scheune.mod\r\n\r\nGBOs:\r\nGBO\\Bahnhof.gbo\r\nTurm.gbo\r\n\r\nRollmaterial:\r\nLoks\\V100.dll\r\nWagen."
            "rm\r\n");
}
