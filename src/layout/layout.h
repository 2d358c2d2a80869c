// The in-memory image of one layout file (".anl") of the simulator: three
// lists of records (track pieces, placed models, rolling stock), five camera
// views, a properties block and the flag `loaded`.
//
// Records are never taken out of a list: a removed record keeps its place
// with id 0, and the writer leaves it out of the file. Every string keeps the
// exact bytes of the file (code page 1252, a 0 byte included).
//
// Result contract: functions returning int give non-zero for success and 0
// for failure. Load and Save report their own failures through
// host::ShowMessage; everything else here reports nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "layout/name.h"
#include "platform/cp1252.h"

namespace layout {

// A list holds at most this many records (its count is a signed 16-bit value).
const int kMaxRecords = 32767;
// A track piece has at most this many ends (type 11 has 2 to 20).
const int kMaxEnds = 20;
// Only rolling-stock ids above 0 and below this have a trailer in the file.
const int kTrailerIdLimit = 30000;
// No track is linked to a model.
const int kNoModel = -1;

struct Direction {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
};

// One end of a track piece: the id of the piece connected there (0 = none)
// and a second value of the connection, carried unchanged.
struct TrackConnection {
  std::int16_t linkId = 0;
  std::int16_t linkEnd = 0;
};

// Piece types: 1 plain, 2 single-ended, 3 three ends, 4 four ends, 6 carries a
// GBO, 7/8/9 as 1/3/4 with a variant value, 11 two to twenty ends.
//
// Aligned to cache lines, so that the fields that linking reads for every
// track (link, direction, points, end count) lie in one line.
struct alignas(64) TrackRecord {
  // Every member has its initializer. A constructor of its own spares a new
  // record the zero-filling of its whole memory that comes before them
  // otherwise: a load makes tens of thousands.
  TrackRecord() {}

  Name name;                   // kind of piece; "Gleis" once its GBO is removed
  Name gboName;                // type 6 only: the GBO's file relative to the host directory
  int linkedModel = kNoModel;  // index of the bridge or buffer stop standing on it
  std::int16_t id = 0;
  std::int32_t type = 0;
  std::int32_t variantValue = 0;  // stored for types 6, 7, 8, 9 only
  Direction startDirection;
  Point start;
  Point end;
  std::int16_t endCount = 0;
  TrackConnection connections[kMaxEnds];
  std::int16_t thirdEndValue = 0;
  std::int16_t fourthEndValue = 0;
  // Type 11 only, carried unchanged.
  std::uint32_t groupA[3] = {0, 0, 0};
  std::uint32_t groupB[3] = {0, 0, 0};
  std::uint32_t groupC[3] = {0, 0, 0};
  float multiReal = 0.0f;

  // Sets the end count that the type implies (type 11 and unknown types keep
  // theirs). Inline: a load asks it of every track.
  void UpdateEndCount() {
    switch (type) {
      case 1: endCount = 2; break;
      case 2: endCount = 1; break;
      case 3: endCount = 3; break;
      case 4: endCount = 4; break;
      case 6: endCount = 2; break;
      case 7: endCount = 2; break;
      case 8: endCount = 3; break;
      case 9: endCount = 4; break;
      default: break;  // type 11 takes its count from the file
    }
  }
  // Recomputes the type from the end count and whether the variant value is
  // set. Types 6 and 11 never change.
  void UpdateType();
  // The direction of the piece at its end point (z is 0). Fails when start
  // and end coincide in x and y: such a piece has no end direction.
  int EndDirection(Direction* result) const;
  // Where a buffer stop stands: 300 units before the end, against the end
  // direction. Fails when the piece has no end direction or the position
  // does not fit 32-bit coordinates.
  int BufferStopPosition(Point* result) const;
};

// A placed model ("Immobilie"). Names beginning "..\Bruecken" are bridges,
// names beginning "..\Prellbock" buffer stops.
struct ModelRecord {
  ModelRecord() {}  // as TrackRecord()

  std::int16_t id = 0;
  Name name;  // relative to the host's "Modelle" folder, without ".mod"
  Point position;
  Direction direction;               // y has the sense of a track's direction (the file negates it)
  std::uint32_t values[2] = {0, 0};  // carried unchanged

  // Same name (byte for byte), position and direction (as reals).
  static bool Equals(const ModelRecord& a, const ModelRecord& b);
};

struct RollingStockRecord {
  RollingStockRecord() {}  // as TrackRecord()

  std::int16_t id = 0;
  Name name;  // relative to the host's "Rollmaterial" folder; ".dll" marks a DLL model
  Name secondName;
  std::uint32_t values[11] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::uint8_t firstByte = 0;
  // Extra data of a DLL model; its length comes from the unit's data sheet.
  std::vector<std::uint8_t> extraData;
  std::uint8_t byteB = 0;  // stored twice in the file
  std::int16_t neighbourA = 0;
  std::uint8_t neighbourAByte = 0;
  std::int16_t neighbourB = 0;
  std::uint8_t neighbourBByte = 0;
  // Kept in the file's trailer section, apart from the record.
  std::uint32_t trailerValue = 0;
  std::uint8_t trailerByte = 0;
  std::int16_t trailerShort = 0;

  // True when the name ends in ".dll" in any letter case. Asked of every
  // unit as it is read, so the compare is inline.
  bool IsDll() const {
    const std::string_view n = name.view();
    return n.size() >= 4 && platform::EqualsIgnoringAsciiCase(n.substr(n.size() - 4), ".dll");
  }
};

struct CameraView {
  float dirX = 0.0f;
  float dirY = 0.0f;
  float dirZ = 0.0f;
  std::int32_t PX = 0;
  std::int32_t PY = 0;
  std::int32_t PZ = 0;
  std::int32_t OW = 0;
  std::int32_t LH = 0;
};

struct LayoutProperties {
  std::uint8_t colourA[3] = {0, 0, 0};
  std::uint8_t colourB[3] = {0, 0, 0};
  std::uint8_t block[20] = {};  // carried unchanged
  std::uint32_t value = 0;      // carried unchanged
};

const int kCameraViewCount = 5;

// Where the reader learns how many bytes of extra data follow the name of a
// unit driven by a library (".dll"): from the unit's data sheet in the
// installation (HostDataSheets, data_sheet.h) or from a test.
class ExtraLengths {
 public:
  virtual ~ExtraLengths() = default;
  // The length for the unit named `unitName`; fails when the unit cannot be
  // read (no length can be right).
  virtual int Find(const std::string& unitName, int* length) const = 0;
};

class Layout {
 public:
  std::vector<TrackRecord> tracks;
  std::vector<ModelRecord> models;
  std::vector<RollingStockRecord> rollingStock;
  CameraView cameraViews[kCameraViewCount];
  LayoutProperties properties;
  // 1 only after a load that read the whole file without fault.
  int loaded = 0;
  // The size of the file (or bytes) last read, whole or not: how much room a
  // save makes in one step.
  std::size_t loadedBytes = 0;

  // Empties the three lists. Camera views, properties and `loaded` stay.
  void Release();

  int CountLiveTracks() const;
  int CountLiveModels() const;
  int CountLiveRollingStock() const;

  // The first unit of each id above 0 and below 30000 (the first in the
  // list among equal ids), in ascending id order: the order of the trailers.
  std::vector<int> TrailerOrder() const;

  // Removes every later model equal to an earlier live one.
  void RemoveDuplicateModels();

  // Links every bridge and buffer-stop model to the track it stands on.
  void LinkTrackModels();
  // Places every linked model again from its track's current geometry.
  void RefreshLinkedModels();

  // Reads the layout file at `path` (a Windows path). Sets `loaded`; the
  // result is the same value. Shows its own messages. `extraLengths` gives
  // the extra-data length of each unit driven by a library.
  int Load(const std::string& path, const ExtraLengths& extraLengths);
  // Load, reading the file `chunkBytes` at a time (Load takes 256 KiB); a
  // record that crosses from one chunk into the next is read whole.
  int LoadInChunks(const std::string& path, const ExtraLengths& extraLengths, std::size_t chunkBytes);
  // Reads a layout from bytes in memory, as Load does with a file's content.
  int LoadFromBytes(const std::string& bytes, const ExtraLengths& extraLengths);

  // What a save needs first: linked models placed again, duplicate models
  // removed, track types recomputed from their ends.
  void PrepareForSave();
  // Builds the file's bytes. Fails when a string is longer than 255 bytes or
  // a list holds more than 32767 live records.
  int Serialize(std::string* bytes) const;
  // Serialize, then replaces the file at `path` safely, staying inside the
  // folder `within` (see host::SaveFileReporting). On failure shows
  // the reasons kCannotOpen, kWriteFailed or kLinkOutside; the old file
  // then stays whole. 1 when saved.
  int Save(const std::string& path, const std::string& within) const;
};

}  // namespace layout
