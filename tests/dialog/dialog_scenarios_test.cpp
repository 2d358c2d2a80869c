// The dialog's buttons worked as a person works them, with the files on disk
// checked afterwards. Each scenario starts StartZUVO.exe on a fresh test
// installation (see test_installation.h).

#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "layout/layout.h"

namespace dialog_driver {
namespace {

const char kBergSets[] = "Nord|S\xFC" "d";

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : "|") + item;
  return text;
}

class DialogScenarioTest : public DialogTest {
 protected:
  std::string Berg(const char* extension) const {
    return installation_.Path(std::string("Anlagen\\Berg.") + extension);
  }

  // Answers the open message box with `button` after checking its text,
  // caption and owner (the dialog).
  void AnswerQuestion(const std::string& text, int button) {
    BoxWindow box;
    ASSERT_TRUE(WaitForMessageBox(&box));
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "ZUVO Startup");
    EXPECT_EQ(box.owner, app_.dialog()) << "owned by the dialog";
    std::vector<int> buttons = box.buttons;
    if (text.back() == '?') {
      EXPECT_EQ(buttons, (std::vector<int>{IDYES, IDNO}));
    } else {
      EXPECT_EQ(buttons, (std::vector<int>{IDOK}));
    }
    EXPECT_TRUE(AnswerBox(box, button)) << "the box closes";
  }

  // Types into the combo box's edit field as a person would: select what is
  // there, then the characters.
  void TypeCameraSet(const std::string& name) {
    HWND edit = FindWindowExA(app_.Control(1002), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    PostMessageW(edit, EM_SETSEL, 0, -1);
    TypeText(edit, name);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(app_.Text(1002), name);
  }
};

TEST_F(DialogScenarioTest, StartedWithALayoutTheFieldsShowIt) {
  Step("starting with Berg.danl as the argument");
  ASSERT_TRUE(Start({Berg("danl")}));
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen()) << "no message";

  Step("the fields");
  EXPECT_EQ(app_.Text(1000), Berg("anl")) << "the layout file of the pair";
  EXPECT_EQ(app_.Text(1002), "Nord") << "the camera set used last";
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), kBergSets) << "sorted camera sets";
  EXPECT_EQ(app_.Text(1007), "Rot.mod");
  EXPECT_EQ(app_.Text(1009), "Kette.mod");
  EXPECT_EQ(app_.Text(1011), "");
  EXPECT_EQ(app_.Text(1013), "");
  EXPECT_TRUE(app_.Enabled(1005)) << "\"Gen. Terrain\": the terrain Huegel is not generated";
  for (int id : {1006, 1008, 1010, 1012}) EXPECT_TRUE(app_.Enabled(id)) << id;

  Step("a picture of the dialog");
  Sleep(300);
  ASSERT_TRUE(Settle());
  std::string error;
  EXPECT_TRUE(SaveWindowPicture(app_.dialog(), PictureFolder() + "\\dialog.bmp", &error)) << error;

  Step("\"Fertig\"");
  EXPECT_TRUE(Finish());
  EXPECT_EQ(ReadBytes(Berg("danl")), BergSettings()) << "nothing is saved on closing";
}

TEST_F(DialogScenarioTest, AnArgumentWithAWrongExtensionIsReportedInAPlainBox) {
  Step("starting with Berg.txt");
  ASSERT_TRUE(Start({installation_.Path("Anlagen\\Berg.txt")}));

  Step("the message: no owner, no caption, only OK");
  BoxWindow box;
  ASSERT_TRUE(WaitForMessageBox(&box));
  EXPECT_EQ(box.text, "falsche Endung: txt\n");
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.buttons, (std::vector<int>{IDOK}));
  EXPECT_TRUE(AnswerBox(box, IDOK)) << "the box closes";

  Step("the dialog starts with empty fields");
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(IsWindowVisible(app_.dialog()));
  EXPECT_EQ(app_.Text(1000), "");
  EXPECT_TRUE(ComboItems(app_.Control(1002)).empty());
  EXPECT_FALSE(app_.Enabled(1005));

  Step("\"Inventarliste\" without a layout: the dialog waits while the message is open");
  app_.Click(1019);
  ASSERT_TRUE(WaitForMessageBox(&box));
  EXPECT_EQ(box.text, "Anlage nicht OK\n");
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_FALSE(IsWindowEnabled(app_.dialog())) << "no second command meanwhile";
  EXPECT_TRUE(AnswerBox(box, IDOK)) << "the box closes";
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(IsWindowEnabled(app_.dialog()));
  EXPECT_TRUE(app_.NoBoxOpen());
  EXPECT_FALSE(FileExists(installation_.Path("Anlagen\\Inventarliste.txt")));
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, LadenLoadsTheChosenFile) {
  Step("starting without a layout");
  ASSERT_TRUE(Start({}));
  ASSERT_TRUE(Settle());

  Step("\"Laden\" opens the file dialog in the folder Anlagen");
  app_.Click(1001);
  BoxWindow files;
  ASSERT_TRUE(WaitForFileDialog(&files));
  EXPECT_EQ(files.owner, app_.dialog());
  FileDialogState state = ReadFileDialog(files.window);
  EXPECT_EQ(state.folder, "Anlagen");
  EXPECT_EQ(state.fileName, "*.danl");
  EXPECT_EQ(Joined(state.filters), "erw. Anlagen|Anlagen|Alle Dateien");
  EXPECT_EQ(state.filter, "erw. Anlagen");

  Step("choosing T\xE4ler.danl");
  ChooseInFileDialog(files.window, "T\xE4ler.danl");
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen());
  EXPECT_EQ(app_.Text(1000), installation_.Path("Anlagen\\T\xE4ler.anl"));
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), "Tal");
  EXPECT_EQ(app_.Text(1007), "");
  EXPECT_FALSE(app_.Enabled(1005)) << "no terrain";

  Step("\"Laden\" again starts at the loaded file; cancelling changes nothing");
  app_.Click(1001);
  ASSERT_TRUE(WaitForFileDialog(&files));
  state = ReadFileDialog(files.window);
  EXPECT_EQ(state.fileName, "T\xE4ler.anl");
  EXPECT_EQ(state.folder, "Anlagen");
  EXPECT_TRUE(AnswerBox(files, IDCANCEL)) << "the box closes";
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen());
  EXPECT_EQ(app_.Text(1000), installation_.Path("Anlagen\\T\xE4ler.anl"));
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, LoeschenAsksAndDeletesOnlyOnYes) {
  Step("starting with Berg.anl");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_TRUE(Settle());

  Step("typing the camera set S\xFC" "d");
  TypeCameraSet("S\xFC" "d");

  Step("\"L\xF6schen\", answered No");
  app_.Click(1004);
  AnswerQuestion("L\xF6sche Kamera Set S\xFC" "d ?", IDNO);
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen());
  EXPECT_EQ(ReadBytes(Berg("danl")), BergSettings()) << "the settings file is untouched";
  EXPECT_EQ(app_.Text(1002), "S\xFC" "d");
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), kBergSets);

  Step("\"L\xF6schen\", answered Yes");
  app_.Click(1004);
  AnswerQuestion("L\xF6sche Kamera Set S\xFC" "d ?", IDYES);
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen());
  std::string settings = ReadBytes(Berg("danl"));
  EXPECT_EQ(settings.find("[KamSet S\xFC" "d]"), std::string::npos) << settings;
  EXPECT_NE(settings.find("[KamSet Nord]\r\nPX1=100\r\nPY1=200\r\n"), std::string::npos)
      << settings;
  EXPECT_NE(settings.find("KamSet=Nord\r\n"), std::string::npos) << settings;
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), "Nord");
  EXPECT_EQ(app_.Text(1002), "");
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, TheListsAreWrittenBesideTheLayout) {
  Step("starting with Berg.anl");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_TRUE(Settle());

  Step("\"Inventarliste\"");
  app_.Click(1019);
  AnswerQuestion("Inventarliste wurde erstellt!", IDOK);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(ReadBytes(installation_.Path("Anlagen\\Inventarliste.txt")),
            "Immobilien:\r\nHaus.mod\r\nScheune.mod\r\n"
            "\r\nGBOs:\r\nGBOs\\Stellwerk.gbo\r\nGBOs\\Bahnhof.gbo\r\n"
            "\r\nRollmaterial:\r\nWagen.rm\r\nLok.rm\r\n");

  Step("\"Fehlliste\"");
  app_.Click(1020);
  AnswerQuestion("Fehlliste wurde erstellt!", IDOK);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(ReadBytes(installation_.Path("Anlagen\\Fehlliste.txt")),
            "Immobilien:\r\nScheune.mod\r\n"
            "\r\nGBOs:\r\nGBOs\\Stellwerk.gbo\r\n"
            "\r\nRollmaterial:\r\nLok.rm\r\n");
  EXPECT_TRUE(app_.NoBoxOpen());
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, GbosRemovesTheMissingGboAndSavesTheLayout) {
  Step("starting with Berg.anl");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_TRUE(Settle());
  std::string before = ReadBytes(Berg("anl"));

  Step("\"GBOs\", answered No");
  app_.Click(1017);
  AnswerQuestion("Fehlende GBOs in der Anlage l\xF6schen?", IDNO);
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen());
  EXPECT_EQ(ReadBytes(Berg("anl")), before);

  Step("\"GBOs\", answered Yes");
  app_.Click(1017);
  AnswerQuestion("Fehlende GBOs in der Anlage l\xF6schen?", IDYES);
  AnswerQuestion("Fehlende GBOs wurden gel\xF6scht!", IDOK);
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen());

  Step("the saved layout");
  layout::Layout saved;
  ASSERT_EQ(saved.Load(Berg("anl")), 1);
  ASSERT_EQ(saved.tracks.size(), 3u);
  EXPECT_EQ(saved.tracks[1].id, 2);
  EXPECT_EQ(saved.tracks[1].type, 1) << "the piece with the missing GBO is plain track";
  EXPECT_EQ(saved.tracks[1].name, "Gleis");
  EXPECT_EQ(saved.tracks[2].type, 6) << "the present GBO stays";
  EXPECT_EQ(saved.tracks[2].gboName, "GBOs\\Bahnhof.gbo");
  EXPECT_EQ(saved.models.size(), 2u) << "models untouched";
  EXPECT_EQ(saved.rollingStock.size(), 2u) << "rolling stock untouched";
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, GenTerrainWritesTheTilesAndDisablesItself) {
  Step("starting with Berg.anl");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_TRUE(Settle());
  ASSERT_TRUE(app_.Enabled(1005));

  Step("\"Gen. Terrain\"");
  app_.Click(1005);
  AnswerQuestion("Terraingenerierung abgeschlossen!", IDOK);
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen());
  EXPECT_FALSE(app_.Enabled(1005)) << "disabled after a successful generation";
  EXPECT_EQ(Joined(ListFolder(installation_.Path("Modelle\\Huegel"))),
            "bmp0_0.mod|bmp0_1.mod|bmp1_0.mod|bmp1_1.mod");
  for (const char* tile : {"bmp0_0.mod", "bmp1_1.mod"}) {
    EXPECT_FALSE(ReadBytes(installation_.Path(std::string("Modelle\\Huegel\\") + tile)).empty())
        << tile;
  }
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, StandardPutsTheDefaultsBack) {
  Step("the defaults saved by an earlier start, the active files replaced");
  struct Kind {
    const char* active;
    const char* saved;
  };
  const Kind kinds[] = {{"Mods\\Prellbock.mod", "Prellbock\\Prellbock.mod"},
                        {"Mods\\Oberleitung.mod", "Oberleitung\\Oberleitung.mod"},
                        {"Mods\\Leitpfosten.mod", "Leitpfosten\\Leitpfosten.mod"},
                        {"Parallels\\Tex256_256a.bmp", "Bodentextur\\Grass.bmp"}};
  for (const Kind& kind : kinds) {
    ASSERT_TRUE(WriteBytes(installation_.Path(kind.saved), std::string("default ") + kind.saved));
    ASSERT_TRUE(WriteBytes(installation_.Path(kind.active), "installed choice"));
  }

  Step("starting with Berg.anl");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_TRUE(Settle());

  Step("\"Standard\"");
  app_.Click(1015);
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(app_.NoBoxOpen()) << "no message";
  for (const Kind& kind : kinds) {
    EXPECT_EQ(ReadBytes(installation_.Path(kind.active)), std::string("default ") + kind.saved)
        << kind.active;
  }
  EXPECT_EQ(app_.Text(1007), "Rot.mod") << "the choices stay";
  EXPECT_EQ(app_.Text(1009), "Kette.mod");
  EXPECT_EQ(ReadBytes(Berg("danl")), BergSettings());
  EXPECT_TRUE(Finish());
}

TEST_F(DialogScenarioTest, AuswaehlenSetsTheChosenFileName) {
  Step("starting with Berg.anl");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_TRUE(Settle());

  Step("the buffer stop's \"Ausw\xE4hlen\" opens the folder Prellbock at the choice");
  app_.Click(1006);
  BoxWindow files;
  ASSERT_TRUE(WaitForFileDialog(&files));
  FileDialogState state = ReadFileDialog(files.window);
  EXPECT_EQ(state.folder, "Prellbock");
  EXPECT_EQ(state.fileName, "Rot.mod");
  EXPECT_EQ(Joined(state.filters), "Prellbock|Alle Dateien");

  Step("choosing Blau.mod");
  ChooseInFileDialog(files.window, "Blau.mod");
  ASSERT_TRUE(Settle());
  EXPECT_EQ(app_.Text(1007), "Blau.mod");

  Step("the guide post's \"Ausw\xE4hlen\" starts at the default file; cancelled");
  app_.Click(1010);
  ASSERT_TRUE(WaitForFileDialog(&files));
  state = ReadFileDialog(files.window);
  EXPECT_EQ(state.folder, "Leitpfosten");
  EXPECT_EQ(state.fileName, "Leitpfosten.mod");
  EXPECT_EQ(Joined(state.filters), "Leitpfosten|Alle Dateien");
  EXPECT_TRUE(AnswerBox(files, IDCANCEL)) << "the box closes";
  ASSERT_TRUE(Settle());
  EXPECT_EQ(app_.Text(1011), "");
  EXPECT_EQ(app_.Text(1007), "Blau.mod");
  EXPECT_EQ(ReadBytes(installation_.Path("Mods\\Prellbock.mod")), "Prellbock original")
      << "a choice changes nothing on disk";
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

bool Alive(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

TEST_F(DialogScenarioTest, StarteZuvoRunsTheSimulatorWhileTheDialogIsMinimised) {
  if (FakeSimulator().empty()) GTEST_SKIP() << "the stand-in simulator was not built";
  std::string log = installation_.Path("Kantrelwick.log");
  Step("the stand-in's plan: move camera 1, then run for two seconds");
  ASSERT_TRUE(WriteBytes(installation_.Path("Kantrelwick.plan"),
                         "[Kamera 1]\r\nPX=4321\r\n[Ablauf]\r\nHaengen=2\r\n"));

  Step("starting with Berg.anl; typing the new camera set Abend");
  ASSERT_TRUE(Start({Berg("anl")}));
  ASSERT_TRUE(Settle());
  TypeCameraSet("Abend");

  Step("\"Starte ZUVO\": minimised while the simulator runs");
  app_.Click(1003);
  DWORD start = GetTickCount();
  HANDLE simulator = nullptr;
  while (!(simulator = OpenRunningProcess("Kantrelwick.exe")) && GetTickCount() - start < kWaitMs) {
    Sleep(10);
  }
  ASSERT_NE(simulator, nullptr) << "the simulator did not start";
  // A look counts when the simulator still ran after it: the dialog is
  // restored only once the simulator has ended.
  int looks = 0;
  int minimised = 0;
  while (Alive(simulator) && GetTickCount() - start < 2 * kWaitMs) {
    bool iconic = IsIconic(app_.dialog()) != FALSE;
    if (!Alive(simulator)) break;
    ++looks;
    if (iconic) ++minimised;
    Sleep(50);
  }
  CloseHandle(simulator);
  EXPECT_GT(looks, 5) << "the simulator ran";
  EXPECT_EQ(minimised, looks) << "minimised whenever the driver looked";

  Step("the simulator ended: the dialog is restored");
  ASSERT_TRUE(Settle());
  EXPECT_FALSE(IsIconic(app_.dialog())) << "restored";
  EXPECT_TRUE(IsWindowVisible(app_.dialog()));
  EXPECT_TRUE(app_.NoBoxOpen()) << "no message";
  EXPECT_EQ(Joined(ComboItems(app_.Control(1002))), std::string("Abend|") + kBergSets);
  std::string ran = ReadBytes(log);
  EXPECT_NE(ran.find("Argument 1: " + Berg("anl") + "\n"), std::string::npos)
      << "the layout file is the simulator's argument:\n" << ran;
  EXPECT_NE(ran.find("Kamera 1 bewegt: PX=4321"), std::string::npos) << ran;

  Step("the installed choices and the saved originals");
  EXPECT_EQ(ReadBytes(installation_.Path("Mods\\Prellbock.mod")), "Prellbock rot");
  EXPECT_EQ(ReadBytes(installation_.Path("Mods\\Oberleitung.mod")), "Oberleitung Kette");
  EXPECT_EQ(ReadBytes(installation_.Path("Mods\\Leitpfosten.mod")), "Leitpfosten original");
  EXPECT_EQ(ReadBytes(installation_.Path("Prellbock\\Prellbock.mod")), "Prellbock original");
  EXPECT_EQ(ReadBytes(installation_.Path("Bodentextur\\Grass.bmp")), "Textur original");

  Step("the camera set as the simulator left it, in the settings file");
  std::string settings = ReadBytes(Berg("danl"));
  EXPECT_NE(settings.find("KamSet=Abend\r\n"), std::string::npos) << settings;
  std::size_t set = settings.find("[KamSet Abend]\r\n");
  ASSERT_NE(set, std::string::npos) << settings;
  const std::string moved = "[KamSet Abend]\r\nPX1=4321\r\nPY1=";
  EXPECT_EQ(settings.compare(set, moved.size(), moved), 0) << settings;
  EXPECT_TRUE(Finish());
}

}  // namespace
}  // namespace dialog_driver
