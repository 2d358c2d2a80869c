#include "e2e/start_fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "layout/layout_bytes.h"

namespace e2e {

const char kOwnBufferStop[] = "eigener Prellbock";
const char kOwnCatenary[] = "eigene Oberleitung";
const char kOwnGuidePost[] = "eigener Leitpfosten";
const char kOwnTexture[] = "eigene Bodentextur";

namespace {

std::string Slashes(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::uint32_t Bits(float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

}  // namespace

std::string CrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string TestLayout() {
  layout_bytes::Track track;
  layout_bytes::Model house;
  house.id = 2;
  layout_bytes::Tail tail;
  for (int i = 0; i < 5; ++i) {
    // View i looks along x, from (1000 (i+1), -500, 200).
    tail.cameras[i][0] = Bits(1.0f);
    tail.cameras[i][1] = Bits(0.0f);
    tail.cameras[i][2] = Bits(0.0f);
    tail.cameras[i][3] = static_cast<std::uint32_t>(1000 * (i + 1));
    tail.cameras[i][4] = static_cast<std::uint32_t>(-500);
    tail.cameras[i][5] = 200;
    tail.cameras[i][6] = 38;
    tail.cameras[i][7] = 47200;
  }
  // The house twice: a save of the layout drops the second one, which shows
  // whether the tool wrote the file.
  return layout_bytes::File({track}, {house, house}, {}, tail);
}

void StartTest::SetUp() {
  const char* prefix = std::getenv("WINEPREFIX");
  hadPrefix_ = prefix != nullptr;
  if (hadPrefix_) savedPrefix_ = prefix;
  setenv("WINEPREFIX", dir_.NativePath("prefix").c_str(), 1);

  dir_.MakeDirs("prefix/dosdevices");
  dir_.MakeDirs("prefix/drive_c");
  ASSERT_EQ(symlink("../drive_c", dir_.NativePath("prefix/dosdevices/c:").c_str()), 0);
  // The registry names the program the way Windows keeps it:
  // "C:\Sim\Kantrelwick.exe" "%1", escaped as Wine's text registry does.
  const std::string command = "\"C:\\" + hostFolder_ + "\\Kantrelwick.exe\" \"%1\"";
  std::string escaped;
  for (char c : command) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  dir_.Write("prefix/system.reg",
             "WINE REGISTRY Version 2\n"
             ";; All keys relative to \\\\Machine\n\n"
             "[Software\\\\Classes\\\\Kantrelwick\\\\shell\\\\open\\\\command] 1700000000\n"
             "@=\"" + escaped + "\"\n");

  Write("Mods\\Prellbock.mod", kOwnBufferStop);
  Write("Mods\\Oberleitung.mod", kOwnCatenary);
  Write("Mods\\Leitpfosten.mod", kOwnGuidePost);
  Write("Parallels\\Tex256_256a.bmp", kOwnTexture);
  Write("Prellbock\\Holz.mod", "Prellbock Holz");
  Write("Oberleitung\\Kette.mod", "Oberleitung Kette");
  Write("Leitpfosten\\Gelb.mod", "Leitpfosten gelb");
  Write("Bodentextur\\Sand.bmp", "Bodentextur Sand");
  Write("Anlagen\\Test.anl", TestLayout());

  std::filesystem::path standIn = NativeInstallation() + "/Kantrelwick.exe";
  std::error_code ec;
  std::filesystem::copy_file(ZUVO_FAKE_SIMULATOR, standIn, ec);
  ASSERT_FALSE(ec) << ec.message();
}

void StartTest::TearDown() {
  if (hadPrefix_) {
    setenv("WINEPREFIX", savedPrefix_.c_str(), 1);
  } else {
    unsetenv("WINEPREFIX");
  }
}

std::string StartTest::NativeInstallation() const {
  return dir_.NativePath("prefix/drive_c/" + Slashes(hostFolder_));
}

std::string StartTest::NativeLayout() const { return NativeInstallation() + "/Anlagen/Test.anl"; }

std::string StartTest::Read(const std::string& relative) const {
  return dir_.Read("prefix/drive_c/" + hostFolder_ + "\\" + relative);
}

void StartTest::Write(const std::string& relative, const std::string& bytes) const {
  dir_.Write("prefix/drive_c/" + hostFolder_ + "\\" + relative, bytes);
}

bool StartTest::Exists(const std::string& relative) const {
  return dir_.Exists("prefix/drive_c/" + hostFolder_ + "\\" + relative);
}

std::vector<std::string> StartTest::List(const std::string& relative) const {
  return dir_.List("prefix/drive_c/" + hostFolder_ + "\\" + relative);
}

void StartTest::WriteSettings(const std::vector<std::string>& lines) const {
  Write("Anlagen\\Test.danl", CrLf(lines));
}

std::string StartTest::ReadSettings() const { return Read("Anlagen\\Test.danl"); }

void StartTest::WritePlan(const std::vector<std::string>& lines) const {
  Write(stand_in::kPlanFileName, CrLf(lines));
}

std::vector<stand_in::Run> StartTest::Runs() const {
  return stand_in::ReadRuns(Read(stand_in::kLogFileName));
}

stand_in::Run StartTest::OnlyRun() const {
  std::vector<stand_in::Run> runs = Runs();
  EXPECT_EQ(runs.size(), 1u) << "runs of the stand-in";
  return runs.empty() ? stand_in::Run() : runs.front();
}

RunResult StartTest::Start(const std::vector<std::string>& options) const {
  std::vector<std::string> args = {"start", NativeLayout()};
  args.insert(args.end(), options.begin(), options.end());
  return RunZuvo(args);
}

}  // namespace e2e
