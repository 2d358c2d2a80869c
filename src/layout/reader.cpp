// Reading a layout file (".anl").
//
// Format notes. Little-endian, no signature, no padding. A string is one
// length byte and that many bytes (code page 1252, no terminator).
//
//   int16 track count, track records
//   int16 model count, model records
//   int16 rolling-stock count, rolling-stock records
//   5 camera views of 32 bytes (3 real32 direction, 5 int32)
//   properties: 3 bytes colour A, zero8, 3 bytes colour B, zero8,
//               20 bytes carried unchanged, raw32 carried unchanged
//   7-byte trailer (raw32, byte, int16) per rolling-stock unit with
//               0 < id < 30000, in ascending id order, first unit per id
//   nothing after that
//
// Track blocks: G = start direction (3 real32), start and end point
// (3 int32 each); I = id, name, type; E = connection 0 (linkId, linkEnd,
// zero16) and, unless the type is 2, connection 1 likewise. Most of a track
// record is repeated as checks; see ReadTrack for the order.
//
// The whole file is read into memory and parsed with bounds-checked reads.
// A record whose check fails gives its record's message; a read that runs
// past the end stops the load with "Formatfehler!\n".

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "host/messages.h"
#include "layout/byte_reader.h"
#include "layout/data_sheet.h"
#include "layout/field_reader.h"
#include "layout/layout.h"
#include "platform/platform.h"

namespace layout {
namespace {

bool IsValidType(std::int32_t type) {
  switch (type) {
    case 1: case 2: case 3: case 4: case 6: case 7: case 8: case 9: case 11:
      return true;
    default:
      return false;
  }
}

void ReadConnection(FieldReader& r, TrackConnection* c) {
  r.Int16(&c->linkId);
  r.Int16(&c->linkEnd);
  r.Zero16();
}

void CheckConnection(FieldReader& r, const TrackConnection& c) {
  r.Check16(c.linkId);
  r.Check16(c.linkEnd);
  r.Zero16();
}

void ReadBlockG(FieldReader& r, TrackRecord* t) {
  r.Real(&t->startDirection.x);
  r.Real(&t->startDirection.y);
  r.Real(&t->startDirection.z);
  r.Int32(&t->start.x);
  r.Int32(&t->start.y);
  r.Int32(&t->start.z);
  r.Int32(&t->end.x);
  r.Int32(&t->end.y);
  r.Int32(&t->end.z);
}

void CheckBlockG(FieldReader& r, const TrackRecord& t) {
  r.CheckReal(t.startDirection.x);
  r.CheckReal(t.startDirection.y);
  r.CheckReal(t.startDirection.z);
  r.Check32(t.start.x);
  r.Check32(t.start.y);
  r.Check32(t.start.z);
  r.Check32(t.end.x);
  r.Check32(t.end.y);
  r.Check32(t.end.z);
}

void CheckBlockI(FieldReader& r, const TrackRecord& t) {
  r.Check16(t.id);
  r.CheckString(t.name);
  r.Check32(t.type);
}

void ReadBlockE(FieldReader& r, TrackRecord* t) {
  ReadConnection(r, &t->connections[0]);
  if (t->type != 2) ReadConnection(r, &t->connections[1]);
}

void CheckBlockE(FieldReader& r, const TrackRecord& t) {
  CheckConnection(r, t.connections[0]);
  if (t.type != 2) CheckConnection(r, t.connections[1]);
}

void CheckAllBlocks(FieldReader& r, const TrackRecord& t) {
  CheckBlockG(r, t);
  CheckBlockI(r, t);
  CheckBlockE(r, t);
}

// The tail of a type-11 record: more ends, three groups, one real.
void ReadMultiEndTail(FieldReader& r, TrackRecord* t) {
  r.Zero32();
  CheckAllBlocks(r, *t);
  std::int16_t storedCount = 0;
  r.Int16(&storedCount);
  if (!r.ok()) return;
  // The stored value is the end count minus 2; a piece has 2 to 20 ends.
  if (storedCount < 0 || storedCount > kMaxEnds - 2) {
    r.Fault();
    return;
  }
  t->endCount = static_cast<std::int16_t>(storedCount + 2);
  for (int i = 2; i < t->endCount; ++i) {
    std::uint32_t flag = 0;
    r.Raw32(&flag);
    t->connections[i].linkId = static_cast<std::int16_t>(static_cast<std::uint16_t>(flag & 0xFFFF));
  }
  for (int k = 0; k < 3; ++k) r.Raw32(&t->groupA[k]);
  for (int k = 0; k < 3; ++k) r.Raw32(&t->groupC[k]);
  for (int k = 0; k < 3; ++k) r.Raw32(&t->groupB[k]);
  for (int k = 0; k < 3; ++k) r.Check32(static_cast<std::int32_t>(t->groupC[k]));
  if (!r.ok()) return;
  for (int i = 2; i < t->endCount; ++i) {
    if (t->connections[i].linkId != 0) ReadConnection(r, &t->connections[i]);
  }
  r.Real(&t->multiReal);
  r.CheckReal(t->multiReal);
  r.Int16(&t->fourthEndValue);
}

ReadStatus ReadTrack(FieldReader& r, TrackRecord* t) {
  r.Int16(&t->id);
  r.String(&t->name);
  r.Int32(&t->type);
  if (!r.ok()) return r.status();
  if (!IsValidType(t->type)) {
    host::ShowFormatted("%s: Unbekannter Typ %d!\n", t->name.c_str(), t->type);
    r.Fault();
    return r.status();
  }
  t->UpdateEndCount();
  const int type = t->type;
  if (type == 6 || type == 7) r.Int32(&t->variantValue);
  if (type == 4 || type == 9) {
    ReadConnection(r, &t->connections[3]);
    r.Int16(&t->fourthEndValue);
  }
  if (type == 3 || type == 4 || type == 8 || type == 9) {
    ReadConnection(r, &t->connections[2]);
    r.Int16(&t->thirdEndValue);
  }
  if (type == 11) {
    r.Zero32();
    r.Zero16();
    r.Int16(&t->thirdEndValue);
  }
  ReadBlockG(r, t);
  CheckBlockI(r, *t);
  ReadBlockE(r, t);
  if (type == 9) {
    CheckConnection(r, t->connections[2]);
    r.Check16(t->thirdEndValue);
    CheckAllBlocks(r, *t);
  }
  if (type == 8 || type == 9) {
    r.Int32(&t->variantValue);
    CheckAllBlocks(r, *t);
  }
  if (type == 6) r.String(&t->gboName);
  if (type == 11) ReadMultiEndTail(r, t);
  return r.status();
}

ReadStatus ReadModel(FieldReader& r, ModelRecord* m) {
  r.Int16(&m->id);
  r.String(&m->name);
  r.Int32(&m->position.x);
  r.Int32(&m->position.y);
  r.Int32(&m->position.z);
  r.Real(&m->direction.x);
  r.Real(&m->direction.y);
  m->direction.y = -m->direction.y;  // the file stores y with the opposite sign
  r.Real(&m->direction.z);
  r.CheckString(m->name);
  r.Raw32(&m->values[0]);
  r.Raw32(&m->values[1]);
  return r.status();
}

ReadStatus ReadRollingStock(FieldReader& r, ExtraLengthLookup& lookup, RollingStockRecord* u) {
  r.Int16(&u->id);
  r.String(&u->name);
  if (!r.ok()) return r.status();
  u->extraData.clear();
  if (u->IsDll()) {
    int length = 0;
    // A length the data sheet cannot mean, or more extra data than the file
    // still holds, makes the unit unusable.
    if (!lookup.Find(u->name, &length) ||
        static_cast<std::size_t>(length) > r.bytes().remaining()) {
      r.Fault();
      return r.status();
    }
    u->extraData.resize(static_cast<std::size_t>(length));
    if (length > 0) r.Bytes(u->extraData.data(), u->extraData.size());
  }
  r.Check16(u->id);
  r.String(&u->secondName);
  for (std::uint32_t& value : u->values) r.Raw32(&value);
  r.Byte(&u->firstByte);
  r.Byte(&u->byteB);
  r.Zero8();
  r.CheckString(u->name);
  r.Check8(u->byteB);
  r.Int16(&u->neighbourA);
  r.Byte(&u->neighbourAByte);
  r.Int16(&u->neighbourB);
  r.Byte(&u->neighbourBByte);
  return r.status();
}

// The bytes of a whole file, read without initialising the buffer first.
struct FileBytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
};

// Doubles the buffer, keeping its bytes. Fails when there is no memory for
// it (a file far larger than any layout file).
int Grow(FileBytes* bytes, std::size_t* capacity) {
  std::unique_ptr<char[]> larger(new (std::nothrow) char[*capacity * 2]);
  if (larger == nullptr) return 0;
  std::memcpy(larger.get(), bytes->data.get(), bytes->size);
  bytes->data = std::move(larger);
  *capacity *= 2;
  return 1;
}

// Reads the whole file. Sized first and read in one piece, so the bytes are
// not copied again and again while a buffer grows; whatever the file gained
// since it was sized is read as well.
int ReadFileBytes(const std::string& path, FileBytes* bytes) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (file == nullptr) return 0;
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (std::fseek(file, 0, SEEK_SET) != 0) size = -1;
  std::size_t capacity = size > 0 ? static_cast<std::size_t>(size) + 1 : 65536;
  bytes->size = 0;
  bytes->data.reset(new (std::nothrow) char[capacity]);
  int ok = bytes->data != nullptr;
  while (ok) {
    bytes->size += std::fread(bytes->data.get() + bytes->size, 1, capacity - bytes->size, file);
    if (bytes->size < capacity) break;
    ok = Grow(bytes, &capacity);
  }
  ok = ok && !std::ferror(file);
  std::fclose(file);
  return ok;
}

int FormatError() {
  host::ShowFormatted("Formatfehler!\n");
  return 0;
}

// Reads one section: its count, then its records. The array gets the full
// count of records (none for a count of 0 or below; a signed 16-bit count
// caps it at 32767), zero-filled after a record that fails. Each record is
// made just before it is read, so its memory is written once while in cache.
template <typename Record, typename ReadOne, typename ReportFault>
int ReadSection(FieldReader& r, std::vector<Record>* records, ReadOne readOne,
                ReportFault reportFault) {
  std::int16_t count = 0;
  r.Int16(&count);
  if (!r.ok()) return FormatError();
  records->clear();
  if (count <= 0) return 1;
  records->reserve(static_cast<std::size_t>(count));  // no record moves from here on
  for (int i = 0; i < count; ++i) {
    records->emplace_back();
    Record& record = records->back();
    ReadStatus status = readOne(&record);
    if (status == ReadStatus::kOk) continue;
    records->resize(static_cast<std::size_t>(count));
    if (status == ReadStatus::kTruncated) return FormatError();
    reportFault(record);
    return 0;
  }
  return 1;
}

int ReadLayout(const char* data, std::size_t size, Layout* layout) {
  ByteReader in(data, size);
  FieldReader r(&in);

  if (!ReadSection(
          r, &layout->tracks, [&r](TrackRecord* t) { return ReadTrack(r, t); },
          [](const TrackRecord& t) { host::ShowFormatted("Gleis Nr. %d fehlerhaft!\n", t.id); })) {
    return 0;
  }
  if (!ReadSection(
          r, &layout->models, [&r](ModelRecord* m) { return ReadModel(r, m); },
          [](const ModelRecord& m) { host::ShowFormatted("Modell Nr. %d fehlerhaft!\n", m.id); })) {
    return 0;
  }
  ExtraLengthLookup lookup;
  if (!ReadSection(
          r, &layout->rollingStock,
          [&r, &lookup](RollingStockRecord* u) { return ReadRollingStock(r, lookup, u); },
          [](const RollingStockRecord& u) {
            if (u.IsDll()) {
              host::ShowFormatted("Dll-Modell \"%s\" kann nicht benutzt werden!\n", u.name.c_str());
            } else {
              host::ShowFormatted("Rollmaterial Nr. %d fehlerhaft!\n", u.id);
            }
          })) {
    return 0;
  }

  for (CameraView& view : layout->cameraViews) {
    r.Real(&view.dirX);
    r.Real(&view.dirY);
    r.Real(&view.dirZ);
    r.Int32(&view.PX);
    r.Int32(&view.PY);
    r.Int32(&view.PZ);
    r.Int32(&view.OW);
    r.Int32(&view.LH);
  }
  if (!r.ok()) return FormatError();

  LayoutProperties& properties = layout->properties;
  for (std::uint8_t& c : properties.colourA) r.Byte(&c);
  r.Zero8();
  for (std::uint8_t& c : properties.colourB) r.Byte(&c);
  r.Zero8();
  if (r.status() == ReadStatus::kTruncated) return FormatError();
  if (!r.ok()) return 0;  // a separator that is not 0: only its diagnostic line
  if (in.remaining() < sizeof properties.block) {
    host::ShowFormatted("Feher in Eigenschaften!\n");
    return 0;
  }
  r.Bytes(properties.block, sizeof properties.block);
  r.Raw32(&properties.value);
  if (!r.ok()) return FormatError();

  for (int index : layout->TrailerOrder()) {
    RollingStockRecord& unit = layout->rollingStock[static_cast<std::size_t>(index)];
    r.Raw32(&unit.trailerValue);
    r.Byte(&unit.trailerByte);
    r.Int16(&unit.trailerShort);
  }
  if (!r.ok()) return FormatError();

  if (in.remaining() > 0) {
    host::ShowFormatted("Datei zu lang!\n");
    return 0;
  }
  return 1;
}

int LoadFromMemory(Layout* layout, const char* data, std::size_t size) {
  layout->loaded = 0;
  layout->Release();
  if (!ReadLayout(data, size, layout)) return 0;
  layout->loaded = 1;
  layout->LinkTrackModels();
  return 1;
}

}  // namespace

int Layout::LoadFromBytes(const std::string& bytes) {
  return LoadFromMemory(this, bytes.data(), bytes.size());
}

int Layout::Load(const std::string& path) {
  loaded = 0;
  Release();
  FileBytes bytes;
  if (!ReadFileBytes(path, &bytes)) {
    host::ShowFormatted(host::kCannotOpen, path.c_str());
    return 0;
  }
  return LoadFromMemory(this, bytes.data.get(), bytes.size);
}

}  // namespace layout
