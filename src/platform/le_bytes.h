// Little-endian values in memory: one bounds-checked reader and one writer
// for every binary file of the system (layouts, models, terrain pictures).
//
// A read either takes exactly the bytes it needs or fails: a read that would
// run past the end marks the reader truncated, moves it to the end and leaves
// its output untouched. Once truncated, every later read fails too, so a
// sequence of reads can be checked once at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/copy_few.h"

namespace platform {

class LeReader {
 public:
  LeReader(const char* data, std::size_t size) : data_(data), size_(size) {}
  explicit LeReader(const std::string& bytes) : LeReader(bytes.data(), bytes.size()) {}

  bool truncated() const { return truncated_; }
  std::size_t size() const { return size_; }
  std::size_t position() const { return position_; }
  std::size_t remaining() const { return size_ - position_; }

  // Moves to an absolute offset; fails (truncated) beyond the end.
  int Seek(std::size_t offset) {
    if (truncated_ || offset > size_) return Fail();
    position_ = offset;
    return 1;
  }

  int Skip(std::size_t count) {
    const char* ignored;
    return View(&ignored, count);
  }

  // Points `*where` at the next `count` bytes and passes them, without a copy.
  int View(const char** where, std::size_t count) {
    if (truncated_ || count > remaining()) return Fail();
    *where = data_ + position_;
    position_ += count;
    return 1;
  }

  int Bytes(void* out, std::size_t count) {
    const char* from;
    if (!View(&from, count)) return 0;
    if (count > 0) std::memcpy(out, from, count);
    return 1;
  }

  int U8(std::uint8_t* value) { return Bytes(value, 1); }

  int U16(std::uint16_t* value) {
    unsigned char b[2];
    if (!Bytes(b, 2)) return 0;
    *value = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return 1;
  }

  int S16(std::int16_t* value) {
    std::uint16_t bits;
    if (!U16(&bits)) return 0;
    *value = static_cast<std::int16_t>(bits);
    return 1;
  }

  int U32(std::uint32_t* value) {
    unsigned char b[4];
    if (!Bytes(b, 4)) return 0;
    *value = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
             (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return 1;
  }

  int S32(std::int32_t* value) {
    std::uint32_t bits;
    if (!U32(&bits)) return 0;
    *value = static_cast<std::int32_t>(bits);
    return 1;
  }

  // An IEEE 754 single-precision value, bit for bit.
  int F32(float* value) {
    std::uint32_t bits;
    if (!U32(&bits)) return 0;
    std::memcpy(value, &bits, sizeof bits);
    return 1;
  }

  // A length byte, then that many bytes (no terminator); every byte is kept.
  int String8(std::string* value) {
    std::uint8_t length;
    const char* text;
    if (!U8(&length) || !View(&text, length)) return 0;
    value->assign(text, length);
    return 1;
  }

 private:
  int Fail() {
    truncated_ = true;
    position_ = size_;
    return 0;
  }

  const char* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  bool truncated_ = false;
};

// Appends little-endian values to a byte string. The string grows in large
// steps and each value is stored in place; Finish() cuts it to what was
// written. Nothing is ever written past the string's end.
class LeWriter {
 public:
  explicit LeWriter(std::string* out) : out_(out), position_(out->size()) {}

  std::size_t position() const { return position_; }

  void Bytes(const void* data, std::size_t count) {
    if (count > 0) CopyFew(Room(count), static_cast<const char*>(data), count);
  }
  void U8(std::uint8_t value) { *Room(1) = static_cast<char>(value); }
  void U16(std::uint16_t value) {
    char* p = Room(2);
    p[0] = static_cast<char>(value & 0xFF);
    p[1] = static_cast<char>(value >> 8);
  }
  void S16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void U32(std::uint32_t value) {
    char* p = Room(4);
    p[0] = static_cast<char>(value & 0xFF);
    p[1] = static_cast<char>((value >> 8) & 0xFF);
    p[2] = static_cast<char>((value >> 16) & 0xFF);
    p[3] = static_cast<char>(value >> 24);
  }
  void S32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
  // An IEEE 754 single-precision value, bit for bit.
  void F32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
  }
  // A length byte and the bytes; the caller has made sure of at most 255.
  void String8(const char* text, std::size_t size) {
    U8(static_cast<std::uint8_t>(size));
    Bytes(text, size);
  }
  void String8(const std::string& text) { String8(text.data(), text.size()); }

  // Memory for `count` more bytes in one step, for a writer that knows
  // about how much it will write: the string is not grown (and copied) again
  // and again on the way.
  // The string grows a step beyond what is written, so the step is
  // reserved too.
  void Reserve(std::size_t count) { out_->reserve(position_ + count + kStep); }

  // Cuts the string to the bytes written.
  void Finish() { out_->resize(position_); }

 private:
  static constexpr std::size_t kStep = 32768;

  // Space for `count` more bytes; advances past it. The string's length
  // grows a step at a time, so that the bytes it is filled with first are
  // still in the cache when the values overwrite them; its memory grows as a
  // string's does (or as reserved).
  char* Room(std::size_t count) {
    if (out_->size() - position_ < count) out_->resize(position_ + count + kStep);
    char* p = &(*out_)[position_];
    position_ += count;
    return p;
  }

  std::string* out_;
  std::size_t position_;
};

}  // namespace platform
