// Writes tile files into a folder batch (platform::FolderBatch) while the
// caller builds the next tiles.
//
// The files are written on worker threads. The outcomes are reported on the
// caller's thread in submission order, with the messages of
// host::SaveFileReporting, so the files and the messages are the same as
// writing the tiles one after another. The first file that fails is the
// only one reported: the section stops there (Failed), and files after it
// are no longer written. Only platform::WriteBatchFile runs on the workers;
// while faults are planned (tests) one worker writes the files one at a
// time, so the planned counts hit the same files as without threads.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace terrain {

// Told after each tile of a section, saved or not: tiles done so far and the
// section's total.
struct TerrainProgress {
  void (*report)(const std::string& section, int done, int total, void* context) = nullptr;
  // Told once a section has all its `tiles` written into `folder`.
  void (*finished)(const std::string& section, const std::string& folder, int tiles, void* context) = nullptr;
  void* context = nullptr;
};

class TileWriter {
 public:
  // `workers` writes at most at once (at least 1) into `batch`, the batch
  // of the folder `folder` (which names the files in messages). `progress`
  // (may be null) is told on the caller's thread after each file, in order,
  // with `section` and `total`. `within` is the folder the files must stay
  // in, for the messages.
  TileWriter(int workers, platform::FolderBatch* batch, const std::string& folder, const TerrainProgress* progress,
             const std::string& section, int total, const std::string& within);
  // Waits for every submitted file (and reports it).
  ~TileWriter();
  TileWriter(const TileWriter&) = delete;
  TileWriter& operator=(const TileWriter&) = delete;

  // Queues the file `name` of the folder. Blocks while too many files wait,
  // reporting the ones that finished meanwhile.
  void Submit(const std::string& name, std::string bytes);

  // 1 once a file failed (and was reported): nothing more is worth
  // submitting.
  int Failed();

  // Waits for every submitted file and reports it. 1 when all were written.
  int Finish();

  // The number of workers: writes go to the system's cache, so two keep up
  // with the caller building the tiles.
  static int DefaultWorkers();

 private:
  struct Job {
    std::string name;
    std::string bytes;
    bool started = false;
    bool done = false;
    platform::SaveOutcome outcome = platform::SaveOutcome::kSaved;
  };

  void Work();
  // Reports finished jobs at the front of the queue; the lock is held.
  void ReportFinished(std::unique_lock<std::mutex>* lock);

  platform::FolderBatch* batch_;
  std::string folder_;
  const TerrainProgress* progress_;
  std::string section_;
  std::string within_;
  int done_ = 0;
  int total_;
  std::size_t limit_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> jobs_;  // submission order; reported jobs leave the front
  bool stopping_ = false;
  bool allSaved_ = true;
  std::vector<std::thread> workers_;
};

}  // namespace terrain
