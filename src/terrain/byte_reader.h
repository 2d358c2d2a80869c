// Bounds-checked little-endian reads from a file's bytes. Every read takes the
// offset and fails, leaving the output alone, instead of running past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace terrain {

class ByteReader {
 public:
  explicit ByteReader(const std::string& bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  std::size_t position() const { return position_; }
  std::size_t left() const { return bytes_.size() - position_; }

  // Moves to an absolute offset; fails beyond the end.
  bool Seek(std::size_t offset) {
    if (offset > bytes_.size()) return false;
    position_ = offset;
    return true;
  }
  bool Skip(std::size_t count) {
    if (count > left()) return false;
    position_ += count;
    return true;
  }
  bool Bytes(void* out, std::size_t count) {
    if (count > left()) return false;
    std::memcpy(out, bytes_.data() + position_, count);
    position_ += count;
    return true;
  }
  bool U16(std::uint16_t* out) {
    unsigned char b[2];
    if (!Bytes(b, 2)) return false;
    *out = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
  }
  bool S16(std::int16_t* out) {
    std::uint16_t u;
    if (!U16(&u)) return false;
    *out = static_cast<std::int16_t>(u);
    return true;
  }
  bool U32(std::uint32_t* out) {
    unsigned char b[4];
    if (!Bytes(b, 4)) return false;
    *out = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
  }
  bool S32(std::int32_t* out) {
    std::uint32_t u;
    if (!U32(&u)) return false;
    *out = static_cast<std::int32_t>(u);
    return true;
  }
  bool F32(float* out) {
    std::uint32_t u;
    if (!U32(&u)) return false;
    std::memcpy(out, &u, sizeof u);
    return true;
  }

 private:
  const std::string& bytes_;
  std::size_t position_ = 0;
};

}  // namespace terrain
