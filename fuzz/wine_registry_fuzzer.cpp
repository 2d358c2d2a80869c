// Wine's text registry files from hostile text. The key looked up is the
// installation's command key, and a key taken from the input itself (the
// bytes before its first NUL), so that matching keys are reached as well.
#include <string>

#include "fuzz_support.h"
#include "platform/wine_registry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string key = "Software\\Classes\\Kantrelwick\\shell\\open\\command";
  std::string text = input;
  std::size_t nul = input.find('\0');
  if (nul != std::string::npos && nul <= 256) {
    key = input.substr(0, nul);
    text = input.substr(nul + 1);
  }
  std::string value;
  if (platform::FindWineRegistryDefaultValue(text, key, &value)) {
    // A value is cut at its first NUL, as the "A" functions return it.
    FUZZ_CHECK(value.find('\0') == std::string::npos);
  }
  return 0;
}
