// StartZUVO.exe worked as a person works it, on a test installation in the
// folder that the registry names (ZUVO_DIALOG_HOST): started with a layout,
// a choice made in the file dialog, a question answered, and "Starte ZUVO"
// running the stand-in simulator while the dialog is minimised.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "layout/layout_bytes.h"
#include "platform/platform.h"
#include "window_driver.h"

namespace dialog_driver {
namespace {

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  platform::ReadWholeFile(path, &bytes);
  return bytes;
}

TEST(DialogSmokeTest, StartedWithALayoutTheDialogChoosesAsksAndStartsTheSimulator) {
  const char* host = std::getenv("ZUVO_DIALOG_HOST");
  ASSERT_TRUE(host && *host) << "ZUVO_DIALOG_HOST is not set (the test stage sets it and the registry entry)";
  auto path = [&](const std::string& relative) { return std::string(host) + "\\" + relative; };
  const std::string settings = "[Zuvo]\r\nKamSet=Nord\r\n[KamSet Nord]\r\nPX1=100\r\n";
  const std::pair<const char*, std::string> files[] = {
      {"Mods\\Prellbock.mod", "Prellbock original"},
      {"Mods\\Oberleitung.mod", "Oberleitung original"},
      {"Mods\\Leitpfosten.mod", "Leitpfosten original"},
      {"Parallels\\Tex256_256a.bmp", "Textur original"},
      {"Prellbock\\Blau.mod", "Prellbock blau"},
      {"Oberleitung\\Kette.mod", "Oberleitung Kette"},
      {"Leitpfosten\\Weiss.mod", "Leitpfosten weiss"},
      {"Bodentextur\\Sand.bmp", "Bodentextur Sand"},
      {"Anlagen\\Berg.anl", layout_bytes::File({layout_bytes::Track()}, {}, {})},
      {"Anlagen\\Berg.danl", settings},
      {"Kantrelwick.plan", "[Kamera 1]\r\nPX=4321\r\n[Ablauf]\r\nHaengen=2\r\n"}};
  platform::MakeDirectory(host, "");
  for (const auto& file : files) {
    platform::MakeDirectory(path(file.first).substr(0, path(file.first).find_last_of('\\')), "");
    ASSERT_EQ(platform::ReplaceFile(path(file.first), file.second.data(), file.second.size(), ""),
              platform::SaveOutcome::kSaved)
        << file.first;
  }
  platform::RemoveFile(path("Kantrelwick.log"), "");
  ASSERT_TRUE(CopyFileA(ZUVO_FAKE_SIMULATOR, path("Kantrelwick.exe").c_str(), FALSE)) << ZUVO_FAKE_SIMULATOR;

  App app;
  ASSERT_TRUE(app.Start("\"" ZUVO_STARTZUVO_EXE "\" \"" + path("Anlagen\\Berg.danl") + "\""));
  EXPECT_EQ(app.Text(1000), path("Anlagen\\Berg.anl")) << "the layout file of the pair";
  EXPECT_EQ(app.Text(1002), "Nord") << "the camera set used last";
  EXPECT_TRUE(SaveWindowPicture(app.dialog(), "dialog.bmp"));

  SCOPED_TRACE("the buffer stop's \"Ausw\xE4hlen\": a file dialog in the folder Prellbock");
  ASSERT_TRUE(app.Click(1006));
  HWND box = app.WaitForBox(true);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), app.dialog());
  EXPECT_EQ(WindowText(GetDlgItem(box, 0x471)), "Prellbock");  // "look in"
  ChooseInFileDialog(box, "Blau.mod");
  EXPECT_TRUE(WaitUntil([&] { return app.Text(1007) == "Blau.mod"; }));

  SCOPED_TRACE("\"L\xF6schen\": the question, answered No");
  ASSERT_TRUE(app.Click(1004));
  ASSERT_NE(box = app.WaitForBox(false), nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), "L\xF6sche Kamera Set Nord ?");  // a message box's text
  EXPECT_EQ(WindowText(box), "ZUVO Startup");
  EXPECT_TRUE(AnswerBox(box, IDNO));
  EXPECT_EQ(ReadBytes(path("Anlagen\\Berg.danl")), settings);

  SCOPED_TRACE("\"Starte ZUVO\": minimised while the simulator runs, restored afterwards");
  ASSERT_TRUE(SendNotifyMessageA(app.Control(1003), BM_CLICK, 0, 0));
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(path("Kantrelwick.log")).find("Haengt") != std::string::npos; }));
  EXPECT_TRUE(IsIconic(app.dialog()));
  ASSERT_TRUE(WaitUntil([&] { return ReadBytes(path("Kantrelwick.log")).find("Ende: ") != std::string::npos; }));
  EXPECT_TRUE(WaitUntil([&] { return !IsIconic(app.dialog()) && IsWindowVisible(app.dialog()); }));
  EXPECT_TRUE(app.NoBoxOpen());
  const std::string log = ReadBytes(path("Kantrelwick.log"));
  EXPECT_NE(log.find("Argument 1: " + path("Anlagen\\Berg.anl") + "\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Datei Mods\\Prellbock.mod: 14 Bytes \"Prellbock blau\""), std::string::npos) << log;
  EXPECT_TRUE(WaitUntil([&] { return ReadBytes(path("Anlagen\\Berg.danl")).find("PX1=4321") != std::string::npos; }));

  SCOPED_TRACE("\"Fertig\"");
  DWORD code = 1;
  SendNotifyMessageA(app.Control(IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(app.WaitForExit(&code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace dialog_driver
