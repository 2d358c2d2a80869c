// Writing a layout file (".anl") in exactly the format the reader reads (see
// records.h): same sections, same repeated copies, zero fields written as 0.
// Records with id 0 are left out and the counts count only the records
// written. The file is built in memory and replaces the old one safely.

#include <cstdint>
#include <string>

#include "host/messages.h"
#include "host/save.h"
#include "layout/layout.h"
#include "layout/records.h"
#include "platform/le_bytes.h"

namespace layout {
namespace {

const std::size_t kMaxStringLength = 255;

// The writing visitor of the record descriptions: every field, copies
// included, is written as it is in memory.
class FieldWriter {
 public:
  explicit FieldWriter(std::string* out) : w_(out) {}
  void Finish() { w_.Finish(); }
  void Reserve(std::size_t count) { w_.Reserve(count); }

  template <typename Occurrence>
  void Field(std::int16_t value, Occurrence) {
    w_.S16(value);
  }
  template <typename Occurrence>
  void Field(std::int32_t value, Occurrence) {
    w_.S32(value);
  }
  template <typename Occurrence>
  void Field(std::uint32_t value, Occurrence) {
    w_.U32(value);
  }
  template <typename Occurrence>
  void Field(float value, Occurrence) {
    w_.F32(value);
  }
  template <typename Occurrence>
  void Field(std::uint8_t value, Occurrence) {
    w_.U8(value);
  }
  template <typename Occurrence>
  void Field(const Name& value, Occurrence) {
    w_.String8(value.data(), value.size());
  }
  // A key only names a field for a dump.
  template <typename T, typename Occurrence>
  void Field(const records::Key&, const T& value, Occurrence occurrence) {
    Field(value, occurrence);
  }
  template <typename T>
  void Zero() {
    Field(T(0), records::kFirst);
  }
  void Bytes(const records::Key&, const void* data, std::size_t count) { w_.Bytes(data, count); }
  bool Stored(bool inFile) { return inFile; }

  bool KnownType(const TrackRecord&) { return true; }
  // The end count of a type-11 piece as the file can hold it (2 to 20).
  int EndCount(const TrackRecord& t) {
    const int ends = t.endCount < 2 ? 2 : t.endCount > kMaxEnds ? kMaxEnds : t.endCount;
    w_.S16(static_cast<std::int16_t>(ends - 2));
    return ends;
  }
  void EndFlag(const TrackConnection& c) { w_.S32(c.linkId != 0 ? 1 : 0); }
  void NegatedReal(const records::Key&, float value) { w_.F32(-value); }
  bool ExtraData(const RollingStockRecord& u) {
    w_.Bytes(u.extraData.data(), u.extraData.size());
    return true;
  }

 private:
  platform::LeWriter w_;
};

bool Fits(const Name& text) { return text.size() <= kMaxStringLength; }

// The records of a list that are written (those with an id other than 0),
// in one pass; -1 when one of them cannot be: a string longer than its
// length byte, or more records than the 16-bit count holds.
template <typename Record, typename Fit>
int WrittenCount(const std::vector<Record>& list, Fit fits) {
  int live = 0;
  for (const Record& record : list) {
    if (record.id == 0) continue;
    if (!fits(record) || live == kMaxRecords) return -1;
    ++live;
  }
  return live;
}

template <typename Record, typename Describe>
void WriteSection(FieldWriter& w, const std::vector<Record>& list, int liveCount, Describe describe) {
  w.Field(static_cast<std::int16_t>(liveCount), records::kFirst);
  for (const Record& record : list) {
    if (record.id != 0) describe(w, record);
  }
}

}  // namespace

void Layout::PrepareForSave() {
  RefreshLinkedModels();
  RemoveDuplicateModels();
  for (TrackRecord& track : tracks) {
    if (track.id != 0) track.UpdateType();
  }
}

int Layout::Serialize(std::string* bytes) const {
  const int trackCount =
      WrittenCount(tracks, [](const TrackRecord& t) { return Fits(t.name) && (t.type != 6 || Fits(t.gboName)); });
  const int modelCount = WrittenCount(models, [](const ModelRecord& m) { return Fits(m.name); });
  const int unitCount =
      WrittenCount(rollingStock, [](const RollingStockRecord& u) { return Fits(u.name) && Fits(u.secondName); });
  if (trackCount < 0 || modelCount < 0 || unitCount < 0) return 0;
  bytes->clear();
  FieldWriter w(bytes);
  // A layout is saved about as large as it was read.
  w.Reserve(loadedBytes + 4096);
  WriteSection(w, tracks, trackCount, [](FieldWriter& fw, const TrackRecord& t) { records::Track(fw, t); });
  WriteSection(w, models, modelCount, [](FieldWriter& fw, const ModelRecord& m) { records::Model(fw, m); });
  WriteSection(w, rollingStock, unitCount,
               [](FieldWriter& fw, const RollingStockRecord& u) { records::RollingStock(fw, u); });
  for (const CameraView& view : cameraViews) records::Camera(w, view);
  records::PropertiesColours(w, properties);
  records::PropertiesRest(w, properties);
  for (int index : TrailerOrder()) {
    records::Trailer(w, rollingStock[static_cast<std::size_t>(index)]);
  }
  w.Finish();
  return 1;
}

int Layout::Save(const std::string& path, const std::string& within) const {
  std::string bytes;
  if (!Serialize(&bytes)) {
    // Nothing is written: a name or a count the file format cannot hold.
    host::Report(host::Why::kWriteFailed, path);
    return 0;
  }
  return host::SaveFileReporting(path, bytes, within);
}

}  // namespace layout
