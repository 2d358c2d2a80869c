#include "e2e/installation.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "layout/layout_bytes.h"

namespace e2e {

const char kOwnBufferStop[] = "eigener Prellbock";
const char kOwnCatenary[] = "eigene Oberleitung";
const char kOwnGuidePost[] = "eigener Leitpfosten";
const char kOwnTexture[] = "eigene Bodentextur";

Child SpawnZuvo(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  Child child;
  child.io = std::make_shared<testing_support::TempDir>();
  const std::string out = child.io->NativePath("out"), err = child.io->NativePath("err");
  std::vector<std::string> strings = {ZUVO_BINARY};
  strings.insert(strings.end(), args.begin(), args.end());
  strings.insert(strings.end(), env.begin(), env.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(&s[0]);
  child.pid = fork();
  if (child.pid == 0) {
    for (std::size_t i = 1 + args.size(); i < argv.size(); ++i) putenv(argv[i]);
    argv[1 + args.size()] = nullptr;
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
  if (child.pid < 0) return result;
  while (waitpid(child.pid, &status, 0) < 0) {
    if (errno != EINTR) return result;
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.out = child.io->Read("out");
  result.err = child.io->Read("err");
  return result;
}

RunResult RunZuvo(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  return Finish(SpawnZuvo(args, env));
}

testing_support::FaultSweep SweepZuvoFaults(const std::string& nativeFolder,
                                            const std::vector<std::string>& args,
                                            const std::vector<std::string>& env,
                                            const testing_support::TreeNormaliser& normalise) {
  const char* const kinds[] = {"create", "write", "close", "rename", "chdir", "mkdir"};
  testing_support::TempDir scratch;
  return testing_support::SweepFaultedRuns(
      nativeFolder,
      [&](int kind, int n) {
        std::string plan;  // n = 0: every kind counted, none reached
        for (int k = 0; k < platform::kFaultKindCount; ++k) {
          if (n != 0 && k != kind) continue;
          plan += std::string(plan.empty() ? "" : ",") + kinds[k] + ":" + std::to_string(n ? n : 999999999);
        }
        std::vector<std::string> faulted = env;
        faulted.push_back("ZUVO_FAULTS=" + plan);
        faulted.push_back("ZUVO_FAULT_COUNTS=" + scratch.NativePath("counts"));
        scratch.Write("counts", "");
        const RunResult run = RunZuvo(args, faulted);
        testing_support::FaultedRun result;
        result.ok = run.exitCode == 0;
        result.said = run.err;
        if (run.exitCode != 0 && run.exitCode != 1) {
          result.wrong = "exited " + std::to_string(run.exitCode) + ": " + run.err;
        }
        const std::string counts = scratch.Read("counts");
        for (int k = 0; k < platform::kFaultKindCount; ++k) {
          const std::size_t at = counts.find(std::string(kinds[k]) + ":");
          result.attempts[k] = at == std::string::npos ? -1 : std::atoi(&counts[at + std::strlen(kinds[k]) + 1]);
        }
        return result;
      },
      true, normalise);
}

std::string CrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

Installation::Installation(const std::string& folder) : folder(folder) {
  dir.MakeDirs("prefix/dosdevices");
  if (symlink("../drive_c", dir.NativePath("prefix/dosdevices/c:").c_str()) != 0) ADD_FAILURE() << "no drive c:";
  for (const char* f : {"Mods", "Parallels", "Modelle", "Rollmaterial", "Anlagen", "Prellbock", "Oberleitung",
                        "Leitpfosten", "Bodentextur"}) {
    dir.MakeDirs(Inside(f));
  }
  SetRegistryCommand("\"" + host + "Kantrelwick.exe\" \"%1\"");
}

void Installation::SetRegistryCommand(const std::string& command) const {
  // As Wine's text registry keeps it: backslashes and quotes escaped.
  std::string hive = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n";
  if (!command.empty()) {
    hive += "\n[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1700000000\n@=\"";
    for (char c : command) hive += std::string(c == '\\' || c == '"' ? "\\" : "") + c;
    hive += "\"\n";
  }
  dir.Write("prefix/system.reg", hive);
}

RunResult Installation::Zuvo(const std::vector<std::string>& args, std::vector<std::string> env) const {
  env.insert(env.begin(), "WINEPREFIX=" + Prefix());
  return RunZuvo(args, env);
}

std::string MixedLayout() {
  auto model = [](int id, const char* name) {
    layout_bytes::Model m;
    m.id = id;
    m.name = name;
    return m;
  };
  auto gbo = [](int id, const char* file) {
    layout_bytes::Track t;
    t.id = id;
    t.type = 6;
    t.gbo = file;
    return t;
  };
  auto unit = [](int id, const char* name, int neighbourA, int neighbourB) {
    layout_bytes::Unit u;
    u.id = id;
    u.name = name;
    u.neighbourA = neighbourA;
    u.neighbourB = neighbourB;
    return u;
  };
  return layout_bytes::File({gbo(1, "GBO\\Bahnhof.gbo"), gbo(2, "GBO\\Fehlt.gbo"), gbo(3, "GBO\\Weg.gbo")},
                            {model(1, "Haus"), model(2, "Fehlt"), model(1, "Kirche"), model(4, "haus")},
                            {unit(1, "Wagen.rm", 0, 2), unit(2, "Fehlt.rm", 1, 3), unit(3, "Lok.rm", 2, 0)});
}

void WriteMixedLayout(const Installation& sim) {
  for (const char* file : {"Modelle\\Haus.mod", "Modelle\\Kirche.mod", "GBO\\Bahnhof.gbo", "Rollmaterial\\Wagen.rm",
                           "Rollmaterial\\Lok.rm"}) {
    sim.Write(file, "x");
  }
  sim.Write("Anlagen\\Berg.anl", MixedLayout());
}

std::string TestLayout() {
  layout_bytes::Track track;
  layout_bytes::Model house;
  house.id = 2;
  layout_bytes::Tail tail;
  const float one = 1.0f;
  for (int i = 0; i < 5; ++i) {
    // View i looks along x, from (1000 (i+1), -500, 200).
    std::memcpy(&tail.cameras[i][0], &one, 4);
    tail.cameras[i][1] = tail.cameras[i][2] = 0;
    tail.cameras[i][3] = static_cast<std::uint32_t>(1000 * (i + 1));
    tail.cameras[i][4] = static_cast<std::uint32_t>(-500);
    tail.cameras[i][5] = 200;
    tail.cameras[i][6] = 38;
    tail.cameras[i][7] = 47200;
  }
  return layout_bytes::File({track}, {house, house}, {}, tail);
}

void StartTest::SetUp() {
  Write("Mods\\Prellbock.mod", kOwnBufferStop);
  Write("Mods\\Oberleitung.mod", kOwnCatenary);
  Write("Mods\\Leitpfosten.mod", kOwnGuidePost);
  Write("Parallels\\Tex256_256a.bmp", kOwnTexture);
  Write("Prellbock\\Holz.mod", "Prellbock Holz");
  Write("Oberleitung\\Kette.mod", "Oberleitung Kette");
  Write("Leitpfosten\\Gelb.mod", "Leitpfosten gelb");
  Write("Bodentextur\\Sand.bmp", "Bodentextur Sand");
  Write("Anlagen\\Test.anl", TestLayout());
  std::error_code ec;
  std::filesystem::copy_file(ZUVO_FAKE_SIMULATOR, sim_.Native("Kantrelwick.exe"), ec);
  ASSERT_FALSE(ec) << ec.message();
}

stand_in::Run StartTest::OnlyRun() const {
  std::vector<stand_in::Run> runs = Runs();
  EXPECT_EQ(runs.size(), 1u) << "runs of the stand-in";
  return runs.empty() ? stand_in::Run() : runs.front();
}

bool StartTest::WaitForHangingRun(std::size_t count) const {
  for (int i = 0; i < 1200; ++i) {
    std::vector<stand_in::Run> runs = Runs();
    if (runs.size() >= count && runs[count - 1].Has("Haengt")) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

RunResult StartTest::Start(const std::vector<std::string>& options, const std::vector<std::string>& env) const {
  std::vector<std::string> args = {"start", Layout()};
  args.insert(args.end(), options.begin(), options.end());
  return sim_.Zuvo(args, env);
}

}  // namespace e2e
