// Paths in the console's texts take the form the user typed them in: a Unix
// path for one who names the layout (or, without one, the --host folder) as
// a Unix path, so that a path in a result or a message can be pasted back
// into the shell; the Windows form otherwise, which the dialog always shows.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace console {

// Looks at the chosen command's ANLAGE argument, else at `hostArgument`
// when --host was given, and installs the catalogue's path form to match.
void ChoosePathForm(const CLI::App& app, bool hostGiven, const std::string& hostArgument);

}  // namespace console
