// The text of a record's name: the exact bytes of the file (code page 1252,
// a 0 byte included), at most 255 of them in a file.
//
// A layout holds about two names per record, and a load makes every one of
// them. A name of up to kInline bytes lives inside the record, in the 32
// bytes a std::string takes, so that reading it is one copy and no
// allocation; a longer one goes to the heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/copy_few.h"

namespace layout {

class Name {
 public:
  static constexpr std::size_t kInline = 30;

  Name() { SetInline(0); }
  Name(const char* text) : Name() { assign(text, std::strlen(text)); }
  Name(const std::string& text) : Name() { assign(text.data(), text.size()); }
  Name(const Name& other) : Name() { assign(other.data(), other.size()); }
  Name(Name&& other) noexcept : Name() { Take(&other); }
  ~Name() { Free(); }

  Name& operator=(const Name& other) {
    if (this != &other) assign(other.data(), other.size());
    return *this;
  }
  Name& operator=(Name&& other) noexcept {
    if (this != &other) {
      Free();
      Take(&other);
    }
    return *this;
  }
  Name& operator=(const char* text) { return assign(text, std::strlen(text)); }
  Name& operator=(const std::string& text) { return assign(text.data(), text.size()); }

  // Replaces the bytes with `count` bytes at `bytes` (which must not lie
  // inside this name).
  Name& assign(const char* bytes, std::size_t count) {
    if (count <= kInline && !OnHeap()) {
      platform::CopyFew(u_.inside, bytes, count);
      SetInline(count);
      return *this;
    }
    return AssignLong(bytes, count);
  }

  std::size_t size() const { return OnHeap() ? u_.heap.size : kInline - Tag(); }
  bool empty() const { return size() == 0; }
  const char* data() const { return OnHeap() ? u_.heap.bytes : u_.inside; }
  // Followed by a 0 byte; a name that holds one ends there for C.
  const char* c_str() const { return data(); }
  const char* begin() const { return data(); }
  const char* end() const { return data() + size(); }
  std::string str() const { return std::string(data(), size()); }
  std::string_view view() const { return std::string_view(data(), size()); }
  // For the interfaces that take text: the names' users outside the layout.
  operator std::string() const { return str(); }

  friend bool operator==(const Name& a, const Name& b) { return Same(a, b.data(), b.size()); }
  friend bool operator==(const Name& a, const std::string& b) { return Same(a, b.data(), b.size()); }
  friend bool operator==(const std::string& a, const Name& b) { return Same(b, a.data(), a.size()); }
  friend bool operator==(const Name& a, const char* b) { return Same(a, b, std::strlen(b)); }
  friend bool operator==(const char* a, const Name& b) { return Same(b, a, std::strlen(a)); }
  template <typename T>
  friend bool operator!=(const Name& a, const T& b) {
    return !(a == b);
  }

 private:
  // The last byte tells the form: kInline minus the size for a name held
  // inside (so that a full one ends in a 0 byte there), kHeapTag otherwise.
  static constexpr unsigned char kHeapTag = 0xFF;

  unsigned char Tag() const { return static_cast<unsigned char>(u_.inside[sizeof u_.inside - 1]); }
  bool OnHeap() const { return Tag() == kHeapTag; }
  void SetInline(std::size_t count) {
    u_.inside[count] = '\0';
    u_.inside[sizeof u_.inside - 1] = static_cast<char>(kInline - count);
  }
  void Free() {
    if (OnHeap()) delete[] u_.heap.bytes;
  }
  static bool Same(const Name& a, const char* bytes, std::size_t count) {
    return a.size() == count && (count == 0 || std::memcmp(a.data(), bytes, count) == 0);
  }
  Name& AssignLong(const char* bytes, std::size_t count);
  void Take(Name* other) {
    u_ = other->u_;
    other->SetInline(0);
  }

  union Storage {
    char inside[kInline + 2];  // the bytes, a 0 byte, the tag
    struct {
      char* bytes;
      std::uint32_t size;
      std::uint32_t capacity;  // its 0 byte included
    } heap;
  } u_;
};

// For test output: the bytes as they are.
std::ostream& operator<<(std::ostream& out, const Name& name);

}  // namespace layout
