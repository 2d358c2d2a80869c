#include "layout/json_dump.h"

#include <nlohmann/json.hpp>

#include "layout/records.h"
#include "platform/cp1252.h"

namespace layout {
namespace {

using nlohmann::ordered_json;

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    out.push_back(kDigits[bytes[i] >> 4]);
    out.push_back(kDigits[bytes[i] & 15]);
  }
  return out;
}

// The dumping visitor of the record descriptions: every field at its first
// place becomes the member its key names, with the value it has in memory.
// Copies, zero fields and the file's end flags show nothing. It walks every
// part of a description (every record holds every field in memory) and all
// the ends a piece can have.
class JsonFields {
 public:
  explicit JsonFields(ordered_json* object) : object_(object) {}

  template <typename T>
  void Field(const records::Key& key, const T& value, records::First) {
    Slot(key) = value;
  }
  void Field(const records::Key& key, const Name& value, records::First) { Slot(key) = platform::Cp1252ToUtf8(value); }
  template <typename T>
  void Field(const records::Key&, const T&, records::Copy) {}
  template <typename T>
  void Field(const T&, records::Copy) {}
  template <typename T>
  void Zero() {}
  void Bytes(const records::Key& key, const std::uint8_t* data, std::size_t count) { Slot(key) = Hex(data, count); }
  bool Stored(bool) { return true; }

  bool KnownType(const TrackRecord&) { return true; }
  int EndCount(const TrackRecord&) { return kMaxEnds; }
  void EndFlag(const TrackConnection&) {}
  void NegatedReal(const records::Key& key, float value) { Field(key, value, records::kFirst); }
  bool ExtraData(const RollingStockRecord&) { return true; }

 private:
  ordered_json& Slot(const records::Key& key) {
    ordered_json& named = (*object_)[key.name];
    if (key.index < 0) return named;
    ordered_json& element = named[static_cast<std::size_t>(key.index)];
    return key.member == nullptr ? element : element[key.member];
  }

  ordered_json* object_;
};

// One object per record of `list`, each from `describe` and then `derive`.
template <typename Record, typename Describe, typename Derive>
ordered_json Objects(const Record* list, std::size_t count, Describe describe, Derive derive) {
  ordered_json objects = ordered_json::array();
  for (std::size_t i = 0; i < count; ++i) {
    ordered_json object = ordered_json::object();
    JsonFields fields(&object);
    describe(fields, list[i]);
    derive(&object, list[i]);
    objects.push_back(std::move(object));
  }
  return objects;
}

}  // namespace

std::string DumpJson(const Layout& layout, const std::string& installation) {
  ordered_json root;
  root["installation"] =
      installation.empty() ? ordered_json(nullptr) : ordered_json(platform::Cp1252ToUtf8(installation));
  root["loaded"] = layout.loaded != 0;
  root["tracks"] = Objects(
      layout.tracks.data(), layout.tracks.size(), [](JsonFields& v, const TrackRecord& t) { records::Track(v, t); },
      [](ordered_json* j, const TrackRecord& t) {
        (*j)["endCount"] = t.endCount;
        (*j)["linkedModel"] = t.linkedModel == kNoModel ? ordered_json(nullptr) : ordered_json(t.linkedModel);
      });
  root["models"] = Objects(
      layout.models.data(), layout.models.size(), [](JsonFields& v, const ModelRecord& m) { records::Model(v, m); },
      [](ordered_json*, const ModelRecord&) {});
  root["rollingStock"] = Objects(
      layout.rollingStock.data(), layout.rollingStock.size(),
      [](JsonFields& v, const RollingStockRecord& u) {
        records::RollingStock(v, u);
        records::Trailer(v, u);  // every unit has the fields, stored or not
      },
      [](ordered_json* j, const RollingStockRecord& u) {
        (*j)["extraData"] = Hex(u.extraData.data(), u.extraData.size());
      });
  root["cameraViews"] = Objects(
      layout.cameraViews, kCameraViewCount, [](JsonFields& v, const CameraView& c) { records::Camera(v, c); },
      [](ordered_json*, const CameraView&) {});
  ordered_json properties = ordered_json::object();
  JsonFields fields(&properties);
  records::PropertiesColours(fields, layout.properties);
  records::PropertiesRest(fields, layout.properties);
  root["properties"] = std::move(properties);
  return root.dump(2) + "\n";
}

}  // namespace layout
