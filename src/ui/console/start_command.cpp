#include "ui/console/start_command.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "ui/console/commands.h"
#include "ui/console/dialog_commands.h"

namespace console {
namespace {

// One option that sets one member when it is given.
struct MemberOption {
  CLI::Option* option = nullptr;
  std::string value;
  std::string app::DialogMembers::*member = nullptr;
};

}  // namespace

void AddStartCommand(CLI::App& app) {
  CLI::App* sub = app.add_subcommand("start", "Simulator auf der Anlage starten (Starte ZUVO)");
  auto argument = std::make_shared<std::string>();
  sub->add_option("LAYOUT", *argument, "Anlage (.anl oder .danl)")->required();

  struct Spec {
    const char* name;
    const char* help;
    std::string app::DialogMembers::*member;
  };
  using app::DialogMembers;
  const Spec specs[] = {
      {"--camera-set", "Kamera Set (NAME)", &DialogMembers::m_cameraSet},
      {"--buffer-stop", "Prellbock aus dem Ordner Prellbock (FILE)", &DialogMembers::m_bufferStop},
      {"--catenary", "Oberleitung aus dem Ordner Oberleitung (FILE)", &DialogMembers::m_catenary},
      {"--guide-post", "Leitpfosten aus dem Ordner Leitpfosten (FILE)", &DialogMembers::m_guidePost},
      {"--ground-texture", "Bodentextur aus dem Ordner Bodentextur (FILE)",
       &DialogMembers::m_groundTexture},
  };
  auto options = std::make_shared<std::vector<MemberOption>>(sizeof specs / sizeof specs[0]);
  for (std::size_t i = 0; i < options->size(); ++i) {
    MemberOption& o = (*options)[i];
    o.member = specs[i].member;
    o.option = sub->add_option(specs[i].name, o.value, specs[i].help);
  }

  RegisterCommand(sub, [argument, options]() {
    return RunDialogCommand(
        *argument,
        [options](app::DialogMembers* members) {
          for (const MemberOption& o : *options) {
            if (o.option->count() > 0 && !ArgumentToText(o.value, &(members->*o.member))) return 0;
          }
          return 1;
        },
        &app::StartupDialog::OnStartClicked);
  });
}

}  // namespace console
