// SHA-256 of a byte string (FIPS 180-4), for naming stored file contents by
// what they hold: two files get one name only when their bytes are equal.
#pragma once

#include <string>

namespace platform {

// The digest of `bytes` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(const std::string& bytes);

}  // namespace platform
