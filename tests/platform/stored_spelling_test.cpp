// Names as they are stored, so that a rename can be undone to the user's
// own spelling: natively through the prefix's drives, on Windows and under
// wine through the system's own lookup.
#include <gtest/gtest.h>

#include <string>

#include "platform/cp1252.h"
#include "platform/platform.h"
#include "support/test_support.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(platform::AsciiUpper(static_cast<unsigned char>(c)));
  return text;
}

TEST(StoredSpellingTest, EveryExistingNameIsSpeltAsStoredTheRestAsWritten) {
  testing_support::TempDir dir;
  dir.Write("Sim/Anlagen/Berg.anl", "B");
  dir.Write("Sim/b.TXT", "b");
  const struct {
    std::string written, stored;
  } cases[] = {
      {Upper(dir.Path("sim\\anlagen\\berg.anl")), dir.Path("Sim\\Anlagen\\Berg.anl")},
      {Upper(dir.Path("Sim\\B.txt")), dir.Path("Sim\\b.TXT")},
      {Upper(dir.Path("sim")) + "\\Fehlt\\NEU.anl", dir.Path("Sim\\Fehlt\\NEU.anl")},  // missing: as written
      {Upper(dir.Path("sim\\anlagen\\")) + "neu.ANL", dir.Path("Sim\\Anlagen\\neu.ANL")},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::StoredSpelling(c.written), c.stored) << c.written;
}

}  // namespace
