// The dialog's buttons worked as a person works them, with the files on disk
// checked afterwards. Each scenario starts StartZUVO.exe on a fresh test
// installation (see window_driver.h).

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "layout/data_sheet.h"
#include "layout/layout.h"
#include "platform/platform.h"
#include "window_driver.h"

namespace dialog_driver {
namespace {

const char kBergSets[] = "Nord|S\xFC" "d";

class DialogScenarioTest : public DialogTest {
 protected:
  std::string Berg(const char* extension) const {
    return Path(std::string("Anlagen\\Berg.") + extension);
  }

  // Answers the open message box with `button` after checking its text,
  // caption, owner (the dialog) and buttons (Yes and No for a question).
  void AnswerQuestion(const std::string& text, int button) {
    BoxWindow box;
    ASSERT_TRUE(app_.WaitForBox(false, &box));
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "ZUVO Startup");
    EXPECT_EQ(box.owner, app_.dialog()) << "owned by the dialog";
    const std::vector<int> question = {IDYES, IDNO}, message = {IDOK};
    EXPECT_EQ(box.buttons, text.back() == '?' ? question : message);
    EXPECT_TRUE(AnswerBox(box, button)) << "the box closes";
    ASSERT_TRUE(app_.Settle());
  }

  // Types into the combo box's edit field as a person would: select what is
  // there, then the characters.
  void TypeCameraSet(const std::string& name) {
    HWND edit = FindWindowExA(app_.Control(1002), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    PostMessageW(edit, EM_SETSEL, 0, -1);
    TypeText(edit, name);
    ASSERT_TRUE(app_.Settle());
    EXPECT_EQ(app_.Text(1002), name);
  }
};

TEST_F(DialogScenarioTest, StartedWithALayoutTheFieldsShowIt) {
  Step("starting with Berg.danl as the argument");
  ASSERT_TRUE(Start({Berg("danl")}));
  EXPECT_TRUE(app_.NoBoxOpen()) << "no message";
  EXPECT_EQ(app_.Text(1000), Berg("anl")) << "the layout file of the pair";
  EXPECT_EQ(app_.Text(1002), "Nord") << "the camera set used last";
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), kBergSets) << "sorted camera sets";
  EXPECT_EQ(app_.Text(1007) + "|" + app_.Text(1009) + "|" + app_.Text(1011) + "|" +
                app_.Text(1013),
            "Rot.mod|Kette.mod||");
  EXPECT_TRUE(app_.Enabled(1005)) << "\"Gen. Terrain\": the terrain Huegel is not generated";
  for (int id : {1006, 1008, 1010, 1012}) EXPECT_TRUE(app_.Enabled(id)) << id;

  Step("a picture of the dialog; \"Fertig\" saves nothing");
  Sleep(300);  // let it paint
  EXPECT_TRUE(SaveWindowPicture(app_.dialog(), "dialog.bmp"));
  EXPECT_TRUE(Finish());
  EXPECT_EQ(ReadBytes(Berg("danl")), BergSettings());
}

TEST_F(DialogScenarioTest, TheLinuxLauncherStartsTheDialogWithTheLayoutAsAWindowsPath) {
  const char* launcher = std::getenv("ZUVO_DIALOG_LAUNCHER");
  if (!launcher || !*launcher) GTEST_SKIP() << "ZUVO_DIALOG_LAUNCHER is not set";
  Step("startzuvo Anlagen/T\xE4ler.danl in the installation's folder");
  // Wine runs a Unix program that a Windows path names: the shell reads the
  // launcher, which calls winepath and wine itself.
  std::string command = std::string("Z:\\bin\\sh ") + launcher + " Anlagen/T\xE4ler.danl", error;
  ASSERT_TRUE(app_.Start(command, host_, false, &error)) << error;
  ASSERT_TRUE(app_.Settle());
  EXPECT_TRUE(app_.NoBoxOpen()) << "no message";
  EXPECT_EQ(app_.Text(1000), Path("Anlagen\\T\xE4ler.anl"));
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), "Tal");
  EXPECT_EQ(app_.Text(1002), "");
  EXPECT_FALSE(app_.Enabled(1005)) << "no terrain";
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, AnArgumentWithAWrongExtensionIsReportedInAPlainBox) {
  Step("starting with Berg.txt in an installation without the folder Oberleitung");
  ASSERT_TRUE(DeleteFileA(Path("Oberleitung\\Kette.mod").c_str()));
  ASSERT_TRUE(RemoveDirectoryA(Path("Oberleitung").c_str()));
  ASSERT_TRUE(Start({Path("Anlagen\\Berg.txt")}));

  Step("the message: no owner, no caption, only OK");
  BoxWindow box;
  ASSERT_TRUE(app_.WaitForBox(false, &box));
  EXPECT_EQ(box.text, "falsche Endung: txt\n");
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.buttons, std::vector<int>(1, IDOK));
  EXPECT_TRUE(AnswerBox(box, IDOK)) << "the box closes";

  Step("the dialog shows with empty fields; only the catenary's \"Ausw\xE4hlen\" is disabled");
  ASSERT_TRUE(app_.Settle());
  EXPECT_TRUE(IsWindowVisible(app_.dialog()));
  EXPECT_EQ(app_.Text(1000), "");
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), "");
  EXPECT_FALSE(app_.Enabled(1005));
  EXPECT_FALSE(app_.Enabled(1008));
  for (int id : {1006, 1010, 1012}) EXPECT_TRUE(app_.Enabled(id)) << id;

  Step("\"Inventarliste\" without a layout: the dialog waits while the message is open");
  app_.Click(1019);
  ASSERT_TRUE(app_.WaitForBox(false, &box));
  EXPECT_EQ(box.text, "Anlage nicht OK\n");
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_FALSE(IsWindowEnabled(app_.dialog())) << "no second command meanwhile";
  EXPECT_TRUE(AnswerBox(box, IDOK)) << "the box closes";
  ASSERT_TRUE(app_.Settle());
  EXPECT_TRUE(IsWindowEnabled(app_.dialog()));
  EXPECT_TRUE(app_.NoBoxOpen());
  EXPECT_EQ(platform::PathStatus(Path("Anlagen\\Inventarliste.txt")), platform::kPathNone);
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, LadenAndAuswaehlenOpenTheFileDialogAndTakeTheChoice) {
  Step("starting without a layout");
  ASSERT_TRUE(Start({}));
  const std::string kLayouts = "erw. Anlagen|Anlagen|Alle Dateien";
  struct Choice {
    const char* step;
    int button;
    const char* folder;    // the folder the dialog shows
    const char* fileName;  // and its file name field
    std::string filters;
    const char* choose;  // null: cancelled
    int field;
    std::string expected;  // the field afterwards
  };
  const Choice choices[] = {
      {"\"Laden\" without a layout: the folder Anlagen; choosing Berg.danl", 1001, "Anlagen",
       "*.danl", kLayouts, "Berg.danl", 1000, Berg("anl")},
      {"the buffer stop's \"Ausw\xE4hlen\": the folder Prellbock at the choice; Blau.mod", 1006,
       "Prellbock", "Rot.mod", "Prellbock|Alle Dateien", "Blau.mod", 1007, "Blau.mod"},
      {"the guide post's \"Ausw\xE4hlen\" starts at the default file; cancelled", 1010,
       "Leitpfosten", "Leitpfosten.mod", "Leitpfosten|Alle Dateien", nullptr, 1011, ""},
      {"\"Laden\" again starts at the loaded file; cancelled", 1001, "Anlagen", "Berg.anl",
       kLayouts, nullptr, 1000, Berg("anl")},
  };
  for (const Choice& c : choices) {
    Step(c.step);
    app_.Click(c.button);
    BoxWindow files;
    ASSERT_TRUE(app_.WaitForBox(true, &files));
    EXPECT_EQ(files.owner, app_.dialog());
    FileDialogState state = ReadFileDialog(files.window);
    EXPECT_EQ(state.folder, c.folder);
    EXPECT_EQ(state.fileName, c.fileName);
    EXPECT_EQ(state.filters, c.filters);
    EXPECT_EQ(state.filter, c.filters.substr(0, c.filters.find('|'))) << "the first filter";
    if (c.choose) {
      ChooseInFileDialog(files.window, c.choose);
    } else {
      EXPECT_TRUE(AnswerBox(files, IDCANCEL)) << "the box closes";
    }
    ASSERT_TRUE(app_.Settle());
    EXPECT_TRUE(app_.NoBoxOpen());
    EXPECT_EQ(app_.Text(c.field), c.expected);
  }
  Step("the loaded layout's camera sets; a choice changes nothing on disk");
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), kBergSets);
  EXPECT_EQ(app_.Text(1007), "Blau.mod");
  EXPECT_EQ(ReadBytes(Path("Mods\\Prellbock.mod")), "Prellbock original");
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, TheCommandsAskAndChangeOnlyTheirFiles) {
  Step("the defaults saved by an earlier start, the active files replaced");
  const std::pair<const char*, const char*> kinds[] = {
      {"Mods\\Prellbock.mod", "Prellbock\\Prellbock.mod"},
      {"Mods\\Oberleitung.mod", "Oberleitung\\Oberleitung.mod"},
      {"Mods\\Leitpfosten.mod", "Leitpfosten\\Leitpfosten.mod"},
      {"Parallels\\Tex256_256a.bmp", "Bodentextur\\Grass.bmp"}};
  for (const auto& kind : kinds) {
    ASSERT_TRUE(WriteBytes(Path(kind.second), std::string("default ") + kind.second));
    ASSERT_TRUE(WriteBytes(Path(kind.first), "installed choice"));
  }
  Step("starting with Berg.anl; typing the camera set S\xFC" "d");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_NO_FATAL_FAILURE(TypeCameraSet("S\xFC" "d"));
  const std::string layout = ReadBytes(Berg("anl"));
  const std::string gbos = "Fehlende GBOs in der Anlage l\xF6schen?";
  const std::string deleteSet = "L\xF6sche Kamera Set S\xFC" "d ?";

  struct Command {
    const char* name;
    int button;
    std::vector<std::pair<std::string, int>> boxes;  // each box's text and answer
    std::string file;                                 // a file checked afterwards
    std::string bytes;                                // its bytes
    const char* sets = nullptr;                       // the camera sets afterwards
    const char* set = nullptr;                        // and the one shown
  };
  const Command commands[] = {
      {"Standard", 1015, {}, "Anlagen\\Berg.danl", BergSettings()},
      {"Inventarliste", 1019, {{"Inventarliste wurde erstellt!", IDOK}},
       "Anlagen\\Inventarliste.txt",
       "Immobilien:\r\nHaus.mod\r\nScheune.mod\r\n"
       "\r\nGBOs:\r\nGBOs\\Stellwerk.gbo\r\nGBOs\\Bahnhof.gbo\r\n"
       "\r\nRollmaterial:\r\nWagen.rm\r\nLok.rm\r\n"},
      {"Fehlliste", 1020, {{"Fehlliste wurde erstellt!", IDOK}}, "Anlagen\\Fehlliste.txt",
       "Immobilien:\r\nScheune.mod\r\n\r\nGBOs:\r\nGBOs\\Stellwerk.gbo\r\n"
       "\r\nRollmaterial:\r\nLok.rm\r\n"},
      {"Gen. Terrain", 1005, {{"Terraingenerierung abgeschlossen!", IDOK}}, "", ""},
      {"GBOs, answered No", 1017, {{gbos, IDNO}}, "Anlagen\\Berg.anl", layout},
      {"GBOs, answered Yes", 1017, {{gbos, IDYES}, {"Fehlende GBOs wurden gel\xF6scht!", IDOK}},
       "", ""},
      {"L\xF6schen, answered No", 1004, {{deleteSet, IDNO}}, "Anlagen\\Berg.danl", BergSettings(),
       kBergSets, "S\xFC" "d"},
      {"L\xF6schen, answered Yes", 1004, {{deleteSet, IDYES}}, "", "", "Nord", ""},
  };
  for (const Command& c : commands) {
    Step(std::string("\"") + c.name + "\"");
    app_.Click(c.button);
    for (const auto& box : c.boxes) ASSERT_NO_FATAL_FAILURE(AnswerQuestion(box.first, box.second));
    ASSERT_TRUE(app_.Settle());
    EXPECT_TRUE(app_.NoBoxOpen());
    if (!c.file.empty()) {
      EXPECT_EQ(ReadBytes(Path(c.file)), c.bytes);
    }
    if (c.sets) {
      EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), c.sets);
      EXPECT_EQ(app_.Text(1002), c.set);
    }
  }

  Step("\"Standard\": every kind's default is back; the choices stay");
  for (const auto& kind : kinds) {
    EXPECT_EQ(ReadBytes(Path(kind.first)), std::string("default ") + kind.second) << kind.first;
  }
  EXPECT_EQ(app_.Text(1007) + "|" + app_.Text(1009), "Rot.mod|Kette.mod");

  Step("\"Gen. Terrain\": the tiles, the button disabled after a successful generation");
  EXPECT_EQ(Joined(ListFolder(Path("Modelle\\Huegel"))),
            "bmp0_0.mod|bmp0_1.mod|bmp1_0.mod|bmp1_1.mod");
  EXPECT_NE(ReadBytes(Path("Modelle\\Huegel\\bmp1_1.mod")), "");
  EXPECT_FALSE(app_.Enabled(1005));

  Step("\"GBOs\": the missing GBO's piece became plain track in the saved layout");
  layout::Layout saved;
  ASSERT_EQ(saved.Load(Berg("anl"), layout::HostDataSheets()), 1);
  ASSERT_EQ(saved.tracks.size(), 3u);
  EXPECT_EQ(saved.tracks[1].id, 2);
  EXPECT_EQ(saved.tracks[1].type, 1);
  EXPECT_EQ(saved.tracks[1].name, "Gleis");
  EXPECT_EQ(saved.tracks[2].type, 6) << "the present GBO stays";
  EXPECT_EQ(saved.tracks[2].gboName, "GBOs\\Bahnhof.gbo");
  EXPECT_EQ(saved.models.size(), 2u) << "models untouched";
  EXPECT_EQ(saved.rollingStock.size(), 2u) << "rolling stock untouched";

  Step("\"L\xF6schen\": the set S\xFC" "d is gone from the settings file");
  std::string settings = ReadBytes(Berg("danl"));
  EXPECT_EQ(settings.find("[KamSet S\xFC" "d]"), std::string::npos) << settings;
  EXPECT_NE(settings.find("[KamSet Nord]\r\nPX1=100\r\nPY1=200\r\n"), std::string::npos)
      << settings;
  EXPECT_NE(settings.find("KamSet=Nord\r\n"), std::string::npos) << settings;
  EXPECT_TRUE(Finish());
}

// A handle (for waiting) to a running process of that program file name;
// null when there is none.
HANDLE OpenRunningProcess(const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  HANDLE process = nullptr;
  for (BOOL more = Process32First(snapshot, &entry); more && !process;
       more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, name) == 0) {
      process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
    }
  }
  CloseHandle(snapshot);
  return process;
}

TEST_F(DialogScenarioTest, StarteZuvoRunsTheSimulatorWhileTheDialogIsMinimised) {
  Step("the stand-in's plan: move camera 1, then run for two seconds");
  ASSERT_TRUE(WriteBytes(Path("Kantrelwick.plan"),
                         "[Kamera 1]\r\nPX=4321\r\n[Ablauf]\r\nHaengen=2\r\n"));

  Step("starting with Berg.anl; typing the new camera set Abend");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_NO_FATAL_FAILURE(TypeCameraSet("Abend"));

  Step("\"Starte ZUVO\": minimised while the simulator runs");
  app_.Click(1003);
  HANDLE simulator = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (simulator = OpenRunningProcess("Kantrelwick.exe")); }))
      << "the simulator did not start";
  // A look counts when the simulator still ran after it: the dialog is
  // restored only once the simulator has ended.
  int looks = 0, minimised = 0;
  WaitUntil([&] {
    bool iconic = IsIconic(app_.dialog()) != FALSE;
    if (WaitForSingleObject(simulator, 0) != WAIT_TIMEOUT) return true;
    ++looks;
    minimised += iconic;
    return false;
  }, 2 * kWaitMs);
  CloseHandle(simulator);
  EXPECT_GT(looks, 5) << "the simulator ran";
  EXPECT_EQ(minimised, looks) << "minimised whenever the driver looked";

  Step("the simulator ended: the dialog is restored");
  ASSERT_TRUE(app_.Settle());
  EXPECT_FALSE(IsIconic(app_.dialog())) << "restored";
  EXPECT_TRUE(IsWindowVisible(app_.dialog()));
  EXPECT_TRUE(app_.NoBoxOpen()) << "no message";
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), std::string("Abend|") + kBergSets);
  std::string ran = ReadBytes(Path("Kantrelwick.log"));
  EXPECT_NE(ran.find("Argument 1: " + Berg("anl") + "\n"), std::string::npos)
      << "the layout file is the simulator's argument:\n" << ran;
  EXPECT_NE(ran.find("Kamera 1 bewegt: PX=4321"), std::string::npos) << ran;

  Step("the installed choices and the saved originals");
  const std::pair<const char*, const char*> files[] = {
      {"Mods\\Prellbock.mod", "Prellbock rot"},
      {"Mods\\Oberleitung.mod", "Oberleitung Kette"},
      {"Mods\\Leitpfosten.mod", "Leitpfosten original"},
      {"Prellbock\\Prellbock.mod", "Prellbock original"},
      {"Bodentextur\\Grass.bmp", "Textur original"}};
  for (const auto& file : files) EXPECT_EQ(ReadBytes(Path(file.first)), file.second) << file.first;

  Step("the camera set as the simulator left it, in the settings file");
  std::string settings = ReadBytes(Berg("danl"));
  EXPECT_NE(settings.find("KamSet=Abend\r\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("[KamSet Abend]\r\nPX1=4321\r\nPY1="), std::string::npos) << settings;
  EXPECT_TRUE(Finish());
}

}  // namespace
}  // namespace dialog_driver
