#include "platform/platform.h"

namespace platform {

int ReadMachineDefaultValue(const std::string& subkey, std::string* value) {
  (void)subkey;
  (void)value;
  return 0;
}

}  // namespace platform
