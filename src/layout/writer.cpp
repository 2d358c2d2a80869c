// Writing a layout file (".anl") in exactly the format the reader reads
// (see reader.cpp): same sections, same repeated copies, zero words written
// as 0. Records with id 0 are left out and the counts count only the records
// written. The file is built in memory and replaces the old one safely.

#include <cstdint>
#include <string>
#include <vector>

#include "host/messages.h"
#include "host/save.h"
#include "layout/byte_writer.h"
#include "layout/layout.h"

namespace layout {
namespace {

const std::size_t kMaxStringLength = 255;

void WriteConnection(ByteWriter& w, const TrackConnection& c) {
  w.Int16(c.linkId);
  w.Int16(c.linkEnd);
  w.Int16(0);
}

void WriteBlockG(ByteWriter& w, const TrackRecord& t) {
  w.Real(t.startDirection.x);
  w.Real(t.startDirection.y);
  w.Real(t.startDirection.z);
  w.Int32(t.start.x);
  w.Int32(t.start.y);
  w.Int32(t.start.z);
  w.Int32(t.end.x);
  w.Int32(t.end.y);
  w.Int32(t.end.z);
}

void WriteBlockI(ByteWriter& w, const TrackRecord& t) {
  w.Int16(t.id);
  w.String(t.name);
  w.Int32(t.type);
}

void WriteBlockE(ByteWriter& w, const TrackRecord& t) {
  WriteConnection(w, t.connections[0]);
  if (t.type != 2) WriteConnection(w, t.connections[1]);
}

void WriteAllBlocks(ByteWriter& w, const TrackRecord& t) {
  WriteBlockG(w, t);
  WriteBlockI(w, t);
  WriteBlockE(w, t);
}

// The end count of a type-11 piece as the file can hold it (2 to 20).
int MultiEndCount(const TrackRecord& t) {
  if (t.endCount < 2) return 2;
  if (t.endCount > kMaxEnds) return kMaxEnds;
  return t.endCount;
}

void WriteMultiEndTail(ByteWriter& w, const TrackRecord& t) {
  w.Int32(0);
  WriteAllBlocks(w, t);
  const int ends = MultiEndCount(t);
  w.Int16(static_cast<std::int16_t>(ends - 2));
  for (int i = 2; i < ends; ++i) w.Int32(t.connections[i].linkId != 0 ? 1 : 0);
  for (std::uint32_t v : t.groupA) w.Raw32(v);
  for (std::uint32_t v : t.groupC) w.Raw32(v);
  for (std::uint32_t v : t.groupB) w.Raw32(v);
  for (std::uint32_t v : t.groupC) w.Raw32(v);
  for (int i = 2; i < ends; ++i) {
    if (t.connections[i].linkId != 0) WriteConnection(w, t.connections[i]);
  }
  w.Real(t.multiReal);
  w.Real(t.multiReal);
  w.Int16(t.fourthEndValue);
}

void WriteTrack(ByteWriter& w, TrackRecord& t) {
  if (t.id == 0) return;
  t.UpdateType();
  const int type = t.type;
  w.Int16(t.id);
  w.String(t.name);
  w.Int32(t.type);
  if (type == 6 || type == 7) w.Int32(t.variantValue);
  if (type == 4 || type == 9) {
    WriteConnection(w, t.connections[3]);
    w.Int16(t.fourthEndValue);
  }
  if (type == 3 || type == 4 || type == 8 || type == 9) {
    WriteConnection(w, t.connections[2]);
    w.Int16(t.thirdEndValue);
  }
  if (type == 11) {
    w.Int32(0);
    w.Int16(0);
    w.Int16(t.thirdEndValue);
  }
  WriteBlockG(w, t);
  WriteBlockI(w, t);
  WriteBlockE(w, t);
  if (type == 9) {
    WriteConnection(w, t.connections[2]);
    w.Int16(t.thirdEndValue);
    WriteAllBlocks(w, t);
  }
  if (type == 8 || type == 9) {
    w.Int32(t.variantValue);
    WriteAllBlocks(w, t);
  }
  if (type == 6) w.String(t.gboName);
  if (type == 11) WriteMultiEndTail(w, t);
}

void WriteModel(ByteWriter& w, const ModelRecord& m) {
  if (m.id == 0) return;
  w.Int16(m.id);
  w.String(m.name);
  w.Int32(m.position.x);
  w.Int32(m.position.y);
  w.Int32(m.position.z);
  w.Real(m.direction.x);
  w.Real(-m.direction.y);  // stored with the opposite sign
  w.Real(m.direction.z);
  w.String(m.name);
  w.Raw32(m.values[0]);
  w.Raw32(m.values[1]);
}

void WriteRollingStock(ByteWriter& w, const RollingStockRecord& u) {
  if (u.id == 0) return;
  w.Int16(u.id);
  w.String(u.name);
  w.Bytes(u.extraData.data(), u.extraData.size());
  w.Int16(u.id);
  w.String(u.secondName);
  for (std::uint32_t v : u.values) w.Raw32(v);
  w.Byte(u.firstByte);
  w.Byte(u.byteB);
  w.Byte(0);
  w.String(u.name);
  w.Byte(u.byteB);
  w.Int16(u.neighbourA);
  w.Byte(u.neighbourAByte);
  w.Int16(u.neighbourB);
  w.Byte(u.neighbourBByte);
}

bool Fits(const std::string& text) { return text.size() <= kMaxStringLength; }

// Whatever would be written can be written: strings fit their length byte
// and the counts fit their 16 bits. Records with id 0 are not written.
bool Writable(const Layout& layout) {
  if (layout.CountLiveTracks() > kMaxRecords || layout.CountLiveModels() > kMaxRecords ||
      layout.CountLiveRollingStock() > kMaxRecords) {
    return false;
  }
  for (const TrackRecord& t : layout.tracks) {
    if (t.id != 0 && (!Fits(t.name) || (t.type == 6 && !Fits(t.gboName)))) return false;
  }
  for (const ModelRecord& m : layout.models) {
    if (m.id != 0 && !Fits(m.name)) return false;
  }
  for (const RollingStockRecord& u : layout.rollingStock) {
    if (u.id != 0 && (!Fits(u.name) || !Fits(u.secondName))) return false;
  }
  return true;
}

// The fields that preparing a save changes: where models stand, which are
// removed, what tracks link to, and track types.
struct PreparedFields {
  std::vector<Point> positions;
  std::vector<Direction> directions;
  std::vector<std::int16_t> modelIds;
  std::vector<int> links;
  std::vector<std::int32_t> types;
};

PreparedFields Remember(const Layout& layout) {
  PreparedFields f;
  f.positions.reserve(layout.models.size());
  f.directions.reserve(layout.models.size());
  f.modelIds.reserve(layout.models.size());
  for (const ModelRecord& m : layout.models) {
    f.positions.push_back(m.position);
    f.directions.push_back(m.direction);
    f.modelIds.push_back(m.id);
  }
  f.links.reserve(layout.tracks.size());
  f.types.reserve(layout.tracks.size());
  for (const TrackRecord& t : layout.tracks) {
    f.links.push_back(t.linkedModel);
    f.types.push_back(t.type);
  }
  return f;
}

void Restore(const PreparedFields& f, Layout* layout) {
  for (std::size_t i = 0; i < layout->models.size(); ++i) {
    layout->models[i].position = f.positions[i];
    layout->models[i].direction = f.directions[i];
    layout->models[i].id = f.modelIds[i];
  }
  for (std::size_t i = 0; i < layout->tracks.size(); ++i) {
    layout->tracks[i].linkedModel = f.links[i];
    layout->tracks[i].type = f.types[i];
  }
}

}  // namespace

int Layout::Serialize(std::string* bytes) {
  if (!Writable(*this)) return 0;
  RefreshLinkedModels();
  RemoveDuplicateModels();

  bytes->clear();
  ByteWriter w(bytes);
  w.Int16(static_cast<std::int16_t>(CountLiveTracks()));
  for (TrackRecord& track : tracks) WriteTrack(w, track);
  w.Int16(static_cast<std::int16_t>(CountLiveModels()));
  for (const ModelRecord& model : models) WriteModel(w, model);
  w.Int16(static_cast<std::int16_t>(CountLiveRollingStock()));
  for (const RollingStockRecord& unit : rollingStock) WriteRollingStock(w, unit);

  for (const CameraView& view : cameraViews) {
    w.Real(view.dirX);
    w.Real(view.dirY);
    w.Real(view.dirZ);
    w.Int32(view.PX);
    w.Int32(view.PY);
    w.Int32(view.PZ);
    w.Int32(view.OW);
    w.Int32(view.LH);
  }

  w.Bytes(properties.colourA, sizeof properties.colourA);
  w.Byte(0);
  w.Bytes(properties.colourB, sizeof properties.colourB);
  w.Byte(0);
  w.Bytes(properties.block, sizeof properties.block);
  w.Raw32(properties.value);

  for (int index : TrailerOrder()) {
    const RollingStockRecord& unit = rollingStock[static_cast<std::size_t>(index)];
    w.Raw32(unit.trailerValue);
    w.Byte(unit.trailerByte);
    w.Int16(unit.trailerShort);
  }
  w.Finish();
  return 1;
}

int Layout::Save(const std::string& path) {
  PreparedFields before = Remember(*this);
  std::string bytes;
  if (!Serialize(&bytes)) {
    // Nothing is written: a name or a count the file format cannot hold.
    host::ShowFormatted(host::kWriteFailed, path.c_str());
    return 0;
  }
  if (host::SaveFileReporting(path, bytes)) return 1;
  Restore(before, this);  // a save that failed changes nothing
  return 0;
}

}  // namespace layout
