#include "e2e/installation.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "platform/platform.h"
#include "layout/layout_bytes.h"
#include "settings/settings_file.h"

namespace e2e {
namespace {

std::string TestLayout() {  // cameras 1 to 5, a model stored twice
  layout_bytes::Model house;
  house.id = 2;
  layout_bytes::Tail tail;
  for (int i = 0; i < 5; ++i) {
    // View i looks along x (1.0f), from (1000 (i+1), -500, 200).
    const std::uint32_t view[8] = {
        0x3F800000, 0, 0, static_cast<std::uint32_t>(1000 * (i + 1)), static_cast<std::uint32_t>(-500), 200, 38, 47200};
    std::copy(view, view + 8, tail.cameras[i]);
  }
  return layout_bytes::File({layout_bytes::Track()}, {house, house}, {}, tail);
}

}  // namespace

const char kOwnBufferStop[] = "eigener Prellbock";

Child SpawnZuvo(const Args& args, const Args& env) {
  std::vector<std::string> argv = {ZUVO_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  return SpawnProgram(argv, env);
}

Child SpawnProgram(const Args& program, const Args& env, const std::string& errorTo) {
  Child child;
  child.io = std::make_shared<testing_support::TempDir>();
  const std::string out = child.io->NativePath("out"), err = errorTo.empty() ? child.io->NativePath("err") : errorTo;
  std::vector<std::string> strings = program;  // the arguments, then the environment
  strings.insert(strings.end(), env.begin(), env.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(&s[0]);
  child.pid = fork();
  if (child.pid == 0) {
    for (std::size_t i = program.size(); i < argv.size(); ++i) putenv(argv[i]);
    argv.resize(program.size());
    argv.push_back(nullptr);
    int in = open("/dev/null", O_RDONLY), o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
        e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || o < 0 || e < 0 || dup2(in, 0) < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return child;
}

RunResult Finish(const Child& child) {
  RunResult result;
  int status = 0;
  while (child.pid > 0 && waitpid(child.pid, &status, 0) < 0) {
    if (errno != EINTR) return result;
  }
  if (child.pid > 0 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.out = child.io->Read("out");
  result.err = child.io->Read("err");
  return result;
}

std::string WithoutPid(const std::string& text) {
  return std::regex_replace(text, std::regex("\\(Prozess [0-9]+\\)"), "(Prozess N)");
}

std::string CrLf(const Args& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

bool Eventually(const std::function<bool()>& done, int seconds) {
  for (int i = 0; i < 100 * seconds; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
    if (done()) return true;
  }
  return done();
}

void WaitUntilGone(long pid) {
  const std::string start = platform::ProcessStartTime(pid);
  Eventually([&] { return pid <= 0 || platform::ProcessLiveness(pid, start) != platform::kAlive; }, 10);
}

std::string SettingsValue(const std::string& text, const char* section, const char* key) {
  settings::SettingsFile file;
  file.Parse(text);
  const std::string* value = file.Find(section, key);
  return value != nullptr ? *value : "(fehlt)";
}

void InstallationTest::SetUp() {
  dir_.MakeDirs("prefix/dosdevices");
  ASSERT_EQ(symlink("../drive_c", dir_.NativePath("prefix/dosdevices/c:").c_str()), 0);
  for (const char* f : {"Modelle", "Rollmaterial"}) dir_.MakeDirs(Inside(f));  // the others get files
  SetRegistryCommand("\"" + host_ + "Kantrelwick.exe\" \"%1\"");
  const char* const files[] = {"Mods\\Prellbock.mod",        kOwnBufferStop,
                               "Mods\\Oberleitung.mod",      "eigene Oberleitung",
                               "Mods\\Leitpfosten.mod",      "eigener Leitpfosten",
                               "Parallels\\Tex256_256a.bmp", "eigene Bodentextur",
                               "Prellbock\\Holz.mod",        "Prellbock Holz",
                               "Oberleitung\\Kette.mod",     "Oberleitung Kette",
                               "Leitpfosten\\Gelb.mod",      "Leitpfosten gelb",
                               "Bodentextur\\Sand.bmp",      "Bodentextur Sand"};  // file, content
  for (std::size_t i = 0; i < std::size(files); i += 2) Write(files[i], files[i + 1]);
  Write("Anlagen\\Test.anl", TestLayout());
  std::error_code ec;
  std::filesystem::copy_file(ZUVO_FAKE_SIMULATOR, Native("Kantrelwick.exe"), ec);
  ASSERT_FALSE(ec) << ec.message();
}

std::string InstallationTest::Typed(const std::string& text) const {
  const std::string driveC = std::filesystem::canonical(dir_.NativePath("prefix/drive_c")).string();
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, 3, "C:\\") != 0) {
      out += text[i++];
      continue;
    }
    // The path ends before a blank, a quote, a punctuation mark or a full stop
    // that ends the sentence.
    std::size_t end = i + 3;
    while (end < text.size() && std::string(" \n\"!,;()").find(text[end]) == std::string::npos &&
           !(text[end] == '.' && (end + 1 == text.size() || text[end + 1] == ' ' || text[end + 1] == '\n'))) {
      ++end;
    }
    std::string rest = text.substr(i + 3, end - i - 3);
    for (char& c : rest) c = c == '\\' ? '/' : c;
    if (!rest.empty() && rest.back() == '/') rest.pop_back();
    out += rest.empty() ? driveC : driveC + "/" + rest;
    i = end;
  }
  return out;
}

void InstallationTest::SetRegistryCommand(const std::string& command) const {
  // As Wine's text registry keeps it: backslashes and quotes escaped.
  std::string hive = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n";
  if (!command.empty()) {
    hive += "\n[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1700000000\n@=\"";
    for (char c : command) hive += std::string(c == '\\' || c == '"' ? "\\" : "") + c;
    hive += "\"\n";
  }
  dir_.Write("prefix/system.reg", hive);
}

void InstallationTest::WriteMixedLayout() const {
  std::vector<layout_bytes::Track> gbos(2);
  std::vector<layout_bytes::Model> models(2);
  std::vector<layout_bytes::Unit> units(2);
  for (int i = 0; i < 2; ++i) {  // the first present, the second missing
    gbos[i].id = models[i].id = units[i].id = i + 1;
    gbos[i].type = 6;
    gbos[i].gbo = i == 0 ? "GBO\\Bahnhof.gbo" : "GBO\\Fehlt.gbo";
    models[i].name = i == 0 ? "Haus" : "Fehlt";
    units[i].name = i == 0 ? "Wagen.rm" : "Fehlt.rm";
  }
  for (const char* file : {"Modelle\\Haus.mod", "GBO\\Bahnhof.gbo", "Rollmaterial\\Wagen.rm"}) Write(file, "x");
  Write("Anlagen\\Berg.anl", layout_bytes::File(gbos, models, units));
}

stand_in::Run InstallationTest::OnlyRun() const {
  std::vector<stand_in::Run> runs = Runs();
  EXPECT_EQ(runs.size(), 1u) << "runs of the stand-in";
  return runs.empty() ? stand_in::Run() : runs.front();
}

bool InstallationTest::WaitForHangingRun(std::size_t count) const {
  return Eventually([&] {
    const std::vector<stand_in::Run> runs = Runs();
    return runs.size() >= count && runs[count - 1].Has("Haengt");
  });
}

}  // namespace e2e
