#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"
#include "terrain/tile_writer.h"

namespace {

using testing_support::MessageRecorder;
using testing_support::TempDir;

struct Seen {
  std::vector<std::pair<std::string, bool>> files;
};

void Record(const std::string& path, bool saved, void* context) {
  Seen* seen = static_cast<Seen*>(context);
  seen->files.emplace_back(path, saved);
}

TEST(TileWriter, ReportsInSubmissionOrderWhateverFinishesFirst) {
  TempDir dir;
  dir.MakeDirs("tiles");
  MessageRecorder messages;
  Seen seen;
  std::vector<std::string> expectedMessages;
  std::vector<std::pair<std::string, bool>> expectedFiles;
  {
    terrain::TileWriter writer(4, &Record, &seen);
    for (int k = 0; k < 40; ++k) {
      // Every seventh file goes to a folder that does not exist.
      const bool fails = k % 7 == 3;
      std::string path = dir.Path((fails ? "missing\\t" : "tiles\\t") + std::to_string(k) + ".mod");
      // Large and small files, so later ones often finish first.
      std::string bytes(k % 2 == 0 ? 300000 + k : 10 + k, static_cast<char>('a' + k % 26));
      writer.Submit(path, bytes);
      if (fails) expectedMessages.push_back("Can't open " + path + "!\n");
      expectedFiles.emplace_back(path, !fails);
    }
    EXPECT_EQ(0, writer.Finish());
  }
  EXPECT_EQ(expectedMessages, messages.messages());
  EXPECT_EQ(expectedFiles, seen.files);
  for (int k = 0; k < 40; ++k) {
    if (k % 7 == 3) continue;
    std::string bytes = dir.Read("tiles/t" + std::to_string(k) + ".mod");
    ASSERT_EQ(k % 2 == 0 ? 300000u + k : 10u + k, bytes.size());
    EXPECT_EQ(std::string(bytes.size(), static_cast<char>('a' + k % 26)), bytes);
  }
  // Only the tiles: no temporary file is left behind.
  EXPECT_EQ(34u, dir.List("tiles").size());
}

TEST(TileWriter, AllSavedAndDestructionWaits) {
  TempDir dir;
  MessageRecorder messages;
  Seen seen;
  {
    terrain::TileWriter writer(3, &Record, &seen);
    for (int k = 0; k < 10; ++k) writer.Submit(dir.Path("f" + std::to_string(k)), std::string(1000, 'x'));
  }
  EXPECT_EQ(10u, seen.files.size());
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(10u, dir.List().size());

  terrain::TileWriter writer(2, nullptr, nullptr);
  writer.Submit(dir.Path("g"), "bytes");
  EXPECT_EQ(1, writer.Finish());
  EXPECT_EQ(1, writer.Finish());
  EXPECT_EQ("bytes", dir.Read("g"));
}

}  // namespace
