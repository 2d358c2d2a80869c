#include "ui/console/path_form.h"

#include <CLI/CLI.hpp>

#include "host/wording.h"
#include "platform/platform.h"

namespace console {
namespace {

// The layout argument of the command that was chosen; 0 when it has none.
int LayoutArgument(const CLI::App& app, std::string* argument) {
  for (const CLI::App* command : app.get_subcommands()) {
    const CLI::Option* option = command->get_option_no_throw("ANLAGE");
    if (option != nullptr && option->count() > 0) {
      *argument = option->results().front();
      return 1;
    }
  }
  return 0;
}

}  // namespace

void ChoosePathForm(const CLI::App& app, bool hostGiven, const std::string& hostArgument) {
  std::string typed;
  if (!LayoutArgument(app, &typed)) {
    if (!hostGiven) return;
    typed = hostArgument;
  }
  host::SetPathForm(platform::IsUnixStyleArgument(typed) ? platform::UnixPathForText : nullptr);
}

}  // namespace console
