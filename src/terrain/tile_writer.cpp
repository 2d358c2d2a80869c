#include "terrain/tile_writer.h"

#include <utility>

#include "host/messages.h"
#include "host/save.h"
#include "platform/faults.h"

namespace terrain {

TileWriter::TileWriter(int workers, platform::FolderBatch* batch, const std::string& folder,
                       const TerrainProgress* progress, const std::string& section, int total,
                       const std::string& within)
    : batch_(batch), folder_(folder), progress_(progress), section_(section), within_(within), total_(total) {
  if (workers < 1 || platform::FaultsPlanned()) workers = 1;
  // A few files wait beyond those being saved, so the workers never idle
  // while the caller builds the next tile; each waiting file is one tile's
  // bytes in memory.
  limit_ = static_cast<std::size_t>(workers) + 2;
  for (int k = 0; k < workers; ++k) workers_.emplace_back(&TileWriter::Work, this);
}

TileWriter::~TileWriter() { Finish(); }

int TileWriter::DefaultWorkers() { return 2; }

int TileWriter::Failed() {
  std::unique_lock<std::mutex> lock(mutex_);
  ReportFinished(&lock);
  return allSaved_ ? 0 : 1;
}

void TileWriter::Submit(const std::string& name, std::string bytes) {
  std::unique_lock<std::mutex> lock(mutex_);
  ReportFinished(&lock);
  while (jobs_.size() >= limit_) {
    changed_.wait(lock);
    ReportFinished(&lock);
  }
  Job job;
  job.name = name;
  job.bytes = std::move(bytes);
  jobs_.push_back(std::move(job));
  changed_.notify_all();
}

int TileWriter::Finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  ReportFinished(&lock);
  while (!jobs_.empty()) {
    changed_.wait(lock);
    ReportFinished(&lock);
  }
  if (!workers_.empty()) {
    stopping_ = true;
    changed_.notify_all();
    lock.unlock();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
  }
  return allSaved_ ? 1 : 0;
}

void TileWriter::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    Job* next = nullptr;
    for (Job& job : jobs_) {
      if (!job.started) {
        next = &job;
        break;
      }
    }
    if (next == nullptr) {
      if (stopping_) return;
      changed_.wait(lock);
      continue;
    }
    // A started job stays in the queue until it is reported, so `next` stays
    // valid while the lock is released.
    next->started = true;
    platform::SaveOutcome outcome = platform::SaveOutcome::kWriteFailed;
    if (allSaved_) {  // after a failure the section stops: the rest is not written
      lock.unlock();
      outcome = platform::WriteBatchFile(batch_, next->name, next->bytes.data(), next->bytes.size());
      lock.lock();
    }
    next->outcome = outcome;
    next->done = true;
    std::string().swap(next->bytes);
    changed_.notify_all();
  }
}

void TileWriter::ReportFinished(std::unique_lock<std::mutex>* lock) {
  while (!jobs_.empty() && jobs_.front().done) {
    const std::string path = folder_ + "\\" + jobs_.front().name;
    platform::SaveOutcome outcome = jobs_.front().outcome;
    jobs_.pop_front();
    if (!allSaved_) continue;  // the first failure was told
    const bool saved = outcome == platform::SaveOutcome::kSaved;
    if (!saved) allSaved_ = false;
    // Messages and the caller's report run without the lock, so the workers
    // go on writing meanwhile.
    lock->unlock();
    host::ReportSaveOutcome(outcome, path, within_);
    ++done_;
    if (progress_ != nullptr && progress_->report != nullptr) {
      progress_->report(section_, done_, total_, progress_->context);
    }
    lock->lock();
  }
}

}  // namespace terrain
