// Saves tile files while the caller builds the next tiles.
//
// Each file is saved safely (platform::ReplaceFile). Most of a save is spent
// waiting for the disk, so several saves run at once on worker threads. The
// outcomes are reported on the caller's thread in submission order, with the
// messages of host::SaveFileReporting, so the files and the messages are the
// same as saving the tiles one after another. Only platform::ReplaceFile runs
// on the workers; while faults are planned (tests) one worker saves the files
// one at a time, so the planned counts hit the same files as without threads.
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
  // `workers` saves at most at once (at least 1). `progress` (may be null)
  // is told on the caller's thread after each file, in order, with `section`
  // and `total`. Every file stays inside the folder `within`.
  TileWriter(int workers, const TerrainProgress* progress, const std::string& section, int total,
             const std::string& within);
  // Waits for every submitted file (and reports it).
  ~TileWriter();
  TileWriter(const TileWriter&) = delete;
  TileWriter& operator=(const TileWriter&) = delete;

  // Queues one file. Blocks while too many files wait, reporting the ones
  // that finished meanwhile.
  void Submit(const std::string& path, std::string bytes);

  // Waits for every submitted file and reports it. 1 when all were saved.
  int Finish();

  // The number of workers: saves mostly wait for the disk, which takes
  // several at once best.
  static int DefaultWorkers();

 private:
  struct Job {
    std::string path;
    std::string bytes;
    bool started = false;
    bool done = false;
    platform::SaveOutcome outcome = platform::SaveOutcome::kSaved;
  };

  void Work();
  // Reports finished jobs at the front of the queue; the lock is held.
  void ReportFinished(std::unique_lock<std::mutex>* lock);

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
