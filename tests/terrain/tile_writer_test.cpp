#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"
#include "terrain/tile_writer.h"

namespace {

using Seen = std::vector<std::pair<std::string, bool>>;

void Record(const std::string& path, bool saved, void* context) {
  static_cast<Seen*>(context)->emplace_back(path, saved);
}

TEST(TileWriter, ReportsInSubmissionOrderWhateverFinishesFirst) {
  testing_support::TempDir dir;
  dir.MakeDirs("tiles");
  testing_support::MessageRecorder messages;
  Seen seen, expectedFiles;
  std::vector<std::string> expectedMessages;
  auto bytes = [](int k) { return std::string(k % 2 == 0 ? 300000 + k : 10 + k, static_cast<char>('a' + k % 26)); };
  {
    terrain::TileWriter writer(4, &Record, &seen);
    for (int k = 0; k < 40; ++k) {
      // Every seventh file goes to a folder that does not exist; large and
      // small files alternate, so later ones often finish first.
      const bool fails = k % 7 == 3;
      std::string path = dir.Path((fails ? "missing\\t" : "tiles\\t") + std::to_string(k) + ".mod");
      writer.Submit(path, bytes(k));
      if (fails) expectedMessages.push_back("Can't open " + path + "!\n");
      expectedFiles.emplace_back(path, !fails);
    }
    EXPECT_EQ(0, writer.Finish());
  }
  EXPECT_EQ(expectedMessages, messages.messages());
  EXPECT_EQ(expectedFiles, seen);
  for (int k = 0; k < 40; ++k) {
    EXPECT_EQ(k % 7 == 3 ? "" : bytes(k), dir.Read("tiles/t" + std::to_string(k) + ".mod")) << k;
  }
  EXPECT_EQ(34u, dir.List("tiles").size());  // no temporary file left behind

  // Destruction waits for every file.
  {
    terrain::TileWriter writer(3, nullptr, nullptr);
    for (int k = 0; k < 10; ++k) writer.Submit(dir.Path("f" + std::to_string(k)), std::string(1000, 'x'));
  }
  for (int k = 0; k < 10; ++k) EXPECT_EQ(std::string(1000, 'x'), dir.Read("f" + std::to_string(k)));
  EXPECT_EQ(expectedMessages, messages.messages());
}

}  // namespace
