#include "layout/json_dump.h"

#include <nlohmann/json.hpp>

#include "platform/cp1252.h"

namespace layout {
namespace {

using nlohmann::ordered_json;

ordered_json Text(const std::string& cp1252) { return platform::Cp1252ToUtf8(cp1252); }

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

ordered_json Triple(const Direction& d) { return ordered_json::array({d.x, d.y, d.z}); }
ordered_json Triple(const Point& p) { return ordered_json::array({p.x, p.y, p.z}); }
ordered_json Triple(const std::uint32_t (&v)[3]) { return ordered_json::array({v[0], v[1], v[2]}); }

ordered_json TrackJson(const TrackRecord& t) {
  ordered_json j;
  j["id"] = t.id;
  j["name"] = Text(t.name);
  j["gboName"] = Text(t.gboName);
  j["type"] = t.type;
  j["variantValue"] = t.variantValue;
  j["startDirection"] = Triple(t.startDirection);
  j["start"] = Triple(t.start);
  j["end"] = Triple(t.end);
  j["endCount"] = t.endCount;
  ordered_json connections = ordered_json::array();
  for (const TrackConnection& c : t.connections) {
    connections.push_back({{"linkId", c.linkId}, {"linkEnd", c.linkEnd}});
  }
  j["connections"] = connections;
  j["thirdEndValue"] = t.thirdEndValue;
  j["fourthEndValue"] = t.fourthEndValue;
  j["groupA"] = Triple(t.groupA);
  j["groupB"] = Triple(t.groupB);
  j["groupC"] = Triple(t.groupC);
  j["multiReal"] = t.multiReal;
  j["linkedModel"] = t.linkedModel == kNoModel ? ordered_json(nullptr) : ordered_json(t.linkedModel);
  return j;
}

ordered_json ModelJson(const ModelRecord& m) {
  ordered_json j;
  j["id"] = m.id;
  j["name"] = Text(m.name);
  j["position"] = Triple(m.position);
  j["direction"] = Triple(m.direction);
  j["values"] = {m.values[0], m.values[1]};
  return j;
}

ordered_json RollingStockJson(const RollingStockRecord& u) {
  ordered_json j;
  j["id"] = u.id;
  j["name"] = Text(u.name);
  j["secondName"] = Text(u.secondName);
  j["values"] = u.values;
  j["firstByte"] = u.firstByte;
  j["extraData"] = Hex(u.extraData.data(), u.extraData.size());
  j["byteB"] = u.byteB;
  j["neighbourA"] = u.neighbourA;
  j["neighbourAByte"] = u.neighbourAByte;
  j["neighbourB"] = u.neighbourB;
  j["neighbourBByte"] = u.neighbourBByte;
  j["trailerValue"] = u.trailerValue;
  j["trailerByte"] = u.trailerByte;
  j["trailerShort"] = u.trailerShort;
  return j;
}

ordered_json CameraJson(const CameraView& v) {
  return {{"dirX", v.dirX}, {"dirY", v.dirY}, {"dirZ", v.dirZ}, {"PX", v.PX},
          {"PY", v.PY},     {"PZ", v.PZ},     {"OW", v.OW},     {"LH", v.LH}};
}

}  // namespace

std::string DumpJson(const Layout& layout) {
  ordered_json root;
  root["loaded"] = layout.loaded;
  ordered_json tracks = ordered_json::array();
  for (const TrackRecord& t : layout.tracks) tracks.push_back(TrackJson(t));
  root["tracks"] = std::move(tracks);
  ordered_json models = ordered_json::array();
  for (const ModelRecord& m : layout.models) models.push_back(ModelJson(m));
  root["models"] = std::move(models);
  ordered_json units = ordered_json::array();
  for (const RollingStockRecord& u : layout.rollingStock) units.push_back(RollingStockJson(u));
  root["rollingStock"] = std::move(units);
  ordered_json views = ordered_json::array();
  for (const CameraView& v : layout.cameraViews) views.push_back(CameraJson(v));
  root["cameraViews"] = std::move(views);
  const LayoutProperties& p = layout.properties;
  root["properties"] = {
      {"colourA", {p.colourA[0], p.colourA[1], p.colourA[2]}},
      {"colourB", {p.colourB[0], p.colourB[1], p.colourB[2]}},
      {"block", Hex(p.block, sizeof p.block)},
      {"value", p.value},
  };
  return root.dump(2) + "\n";
}

}  // namespace layout
