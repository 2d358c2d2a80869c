#include "host/wording.h"

#include <cstring>

namespace host {
namespace {

// The text of each reason; "%s" stands for the next argument.
const char* TextOf(Why why) {
  switch (why) {
    case Why::kCannotOpen: return "Can't open %s!\n";
    case Why::kWriteFailed: return "Fehler beim Schreiben von %s!\n";
    case Why::kFileCannotBeOpened:
      return "Datei %s kann nicht ge\xF6"
             "ffnet werden!";
    case Why::kFolderCannotBeOpened:
      return "Ordner %s kann nicht ge\xF6"
             "ffnet werden!\n";
    case Why::kFolderNotCreated: return "Verzeichnis %s kann nicht angelegt werden!\n";
    case Why::kWrongExtension: return "falsche Endung: %s\n";
    case Why::kLinkOutside:
      return "%s f\xFChrt \xFC"
             "ber einen Verweis aus %s hinaus und wird nicht ge\xE4ndert!\n";
    case Why::kCannotRename: return "Datei %s kann nicht in %s umbenannt werden!\n";
    case Why::kUnknownTrackType: return "%s: Unbekannter Typ %s!\n";
    case Why::kFormatError: return "Formatfehler!\n";
    case Why::kTrackFaulty: return "Gleis Nr. %s fehlerhaft!\n";
    case Why::kModelFaulty: return "Modell Nr. %s fehlerhaft!\n";
    case Why::kDllModelUnusable: return "Dll-Modell \"%s\" kann nicht benutzt werden!\n";
    case Why::kRollingStockFaulty: return "Rollmaterial Nr. %s fehlerhaft!\n";
    case Why::kPropertiesFaulty: return "Feher in Eigenschaften!\n";
    case Why::kFileTooLong: return "Datei zu lang!\n";
    case Why::kLayoutNotOk: return "Anlage nicht OK\n";
    case Why::kUnknownInstallation: return "Unbekannte oder fehlerhafte ZUVO Installation\n";
    case Why::kInstallationAbsent: return "Installationsordner %s gibt es nicht.\n";
    case Why::kInstallationNoFolder: return "Installationsordner %s ist kein Ordner.\n";
    case Why::kHostOptionAbsent: return "--host: %s gibt es nicht.\n";
    case Why::kHostOptionNoFolder: return "--host: %s ist kein Ordner.\n";
    case Why::kKindFolderMissing: return "Ordner %s fehlt, es wird nichts gel\xF6scht!\n";
    case Why::kDefaultNotSaved: return "Original %s kann nicht gesichert werden!\n";
    case Why::kChoiceNotInstalled: return "%s \"%s\" kann nicht installiert werden!\n";
    case Why::kChoiceMissing: return "%s: \"%s\" gibt es nicht in %s\nVorhanden: %s\n";
    case Why::kChoiceNotAName: return "%s nimmt nur einen Dateinamen aus %s, keinen Pfad: \"%s\"\nVorhanden: %s\n";
    case Why::kChoiceFolderMissing: return "Ordner %s fehlt";
    case Why::kChoiceNone: return "keine";
    case Why::kSwapOutside:
      return "%s liegt au\xDF"
             "erhalb des Simulatorordners!\n";
    case Why::kSwapProgram:
      return "%s tauscht %s, ein Programm oder eine Programmbibliothek: das tut StartZUVO nicht. Wer diesen "
             "Tausch wirklich will, nimmt ihn von Hand vor.\n";
    case Why::kSwapFolder: return "%s tauscht den Ordner %s: StartZUVO tauscht nur Dateien.\n";
    case Why::kSwapJournal: return "%s nennt %s, das Laufprotokoll von StartZUVO: sie wird nicht getauscht!\n";
    case Why::kSwapTemporary: return "%s nennt %s, eine tempor\xE4re Datei von StartZUVO: sie wird nicht getauscht!\n";
    case Why::kSwapLayout: return "%s nennt %s, eine Anlage: sie wird nicht getauscht!\n";
    case Why::kSwapTwice: return "%s und %s tauschen dieselbe Datei!\n";
    case Why::kSwapBackupExists: return "%s: %s gibt es schon, der Tausch kann nicht gemacht werden!\n";
    case Why::kSimulatorNotStarted: return "Simulator \"%s\" kann nicht gestartet werden!\n";
    case Why::kLoaderMissing:
      return "Wine (\"%s\") ist nicht installiert oder nicht im PATH, und %s ist ein Windows-Programm "
             "(Paket wine, oder WINE auf das Wine-Programm setzen).\n";
    case Why::kJournalNotWritten: return "Laufprotokoll %s kann nicht geschrieben werden!\n";
    case Why::kJournalNotRead: return "Laufprotokoll %s kann nicht gelesen werden!\n";
    case Why::kJournalNotRemoved: return "Laufprotokoll %s kann nicht entfernt werden!\n";
    case Why::kRunAlive: return "Kantrelwick l\xE4uft schon auf %s (Prozess %s auf %s)!\n";
    case Why::kRunUnjudged:
      return "Ob der Lauf auf %s (Prozess %s auf %s) noch l\xE4uft, kann StartZUVO nicht feststellen: %s. Ist er "
             "sicher vorbei, stellt \"zuvo repair --force\" alles zur\xFC"
             "ck.\n";
    case Why::kRunUnjudgedQuestion:
      return "Ob der Lauf auf %s (Prozess %s auf %s) noch l\xE4uft, kann StartZUVO nicht feststellen: %s. Trotzdem "
             "alles zur\xFC"
             "cktauschen?";
    case Why::kUnjudgedNoComputer: return "das Laufprotokoll nennt keinen Rechner";
    case Why::kUnjudgedOtherComputer: return "es stammt von einem anderen Rechner";
    case Why::kUnjudgedProcess:
      return "Prozess %s l\xE4sst sich nicht pr\xFC"
             "fen";
    case Why::kUnjudgedSimulator:
      return "der Simulator (Prozess %s) l\xE4sst sich von hier nicht pr\xFC"
             "fen";
    case Why::kHealed: return nullptr;  // composed below
    case Why::kNotRestoredAfterRun: return "Nach dem Lauf nicht wiederhergestellt:\n%s%s";
    case Why::kLinePutBack: return "  %s\n";
    case Why::kLineContentIn: return "  %s (Inhalt noch in %s)\n";
    case Why::kLineLost: return "  %s (fehlt)\n";
    case Why::kLineNotTouched: return "  %s (kein Tausch von StartZUVO, nicht angefasst)\n";
    case Why::kJournalStays:
      return "Das Laufprotokoll %s bleibt: der n\xE4"
             "chste Befehl versucht es erneut.\n";
    case Why::kNothingToRepair: return "Nichts wiederherzustellen: kein Laufprotokoll in %s.";
    case Why::kSimulatorEndedWith: return "Simulator beendet mit Status %s.";
    case Why::kSimulatorCrashed: return "Simulator abgest\xFCrzt (Signal %s).";
    case Why::kSimulatorStopped: return "Simulator durch Signal %s beendet.";
    case Why::kDeleteCameraSetQuestion: return "L\xF6sche Kamera Set %s ?";
    case Why::kCameraSetUnknown: return "Kamera Set %s gibt es nicht in %s!\n";
    case Why::kCameraSetDeleted: return "Kamera Set %s gel\xF6scht: %s";
    case Why::kRemovalQuestion: return nullptr;  // by kind, below
    case Why::kRemovalDone: return nullptr;
    case Why::kRemovalCount: return "%s entfernt: %s, gespeichert: %s";
    case Why::kRemovalPlanned: return "%s zu entfernen: %s";
    case Why::kListWritten: return nullptr;  // by list, below
    case Why::kFileWritten: return "Geschrieben: %s";
    case Why::kLayoutSaved: return "Gespeichert: %s";
    case Why::kMapWritten: return "Karte wurde erstellt: %s";
    case Why::kInstalled: return "%s: %s installiert";
    case Why::kNothingInstalled: return "Keine Standard-Dateien gesichert: nichts installiert.";
    case Why::kDeclined: return "Abgebrochen.";
    case Why::kTextNotCp1252: return "Der Text enth\xE4lt Zeichen, die es in Windows-1252 nicht gibt.\n";
    case Why::kPathProblem: return "%s\n";
    case Why::kNoHeightFile: return "[%s]:Hoehe muss gesetzt sein!\n";
    case Why::kNoColourFile: return "[%s]:Farbe muss gesetzt sein!\n";
    case Why::kHeightType: return "Falscher Dateityp fuer Hoehe: %s!\n";
    case Why::kNoPixelSize: return "Bitte Pixelgroesse angeben!\n";
    case Why::kPixelSizeNotPositive:
      return "[%s]:Pixelgroesse muss gr\xF6\xDF"
             "er als 0 sein!\n";
    case Why::kPixelSizeTooLarge: return "[%s]:Pixelgroesse ist zu gro\xDF!\n";
    case Why::kColourType: return "Falscher Dateityp fuer farbe: %s!\n";
    case Why::kNoName: return "[%s]:Name muss gesetzt sein!\n";
    case Why::kNameOutside: return "[%s]:Name muss ein Ordnername in Modelle sein!\n";
    case Why::kReadError: return "Fehler beim Lesen von %s!\n";
    case Why::kBitmapFormat: return "Falsches Bitmapformat: %s!\n";
    case Why::kTerragenKeyword: return "Keyword TERRAGEN missing!\n";
    case Why::kTerrainKeyword: return "Keyword TERRAIN missing!\n";
    case Why::kTerragenFormat: return "Formatfehler in %s!\n";
    case Why::kSpacingNotPositive:
      return "[%s]:Kachelabstand muss gr\xF6\xDF"
             "er als 0 sein!\n";
    case Why::kSizeNotPositive:
      return "[%s]:Kachelgroesse muss gr\xF6\xDF"
             "er als 0 sein!\n";
    case Why::kSpacingBelowPixel: return "[%s]:Kachelabstand muss mindestens so gro\xDF wie die Pixelgroesse sein!\n";
    case Why::kSizesDiffer:
      return "Groessen stimmen nicht \xFC"
             "berein!\n";
    case Why::kPixelSizeFromFile:
      return "[%s]:Pixelgroesse aus %s muss gr\xF6\xDF"
             "er als 0 sein!\n";
    case Why::kTilesTooLarge:
      return "[%s]:Kachelgroesse zu gro\xDF f\xFCr eine Modelldatei, h\xF6"
             "chstens %s m bei dieser Pixelgroesse!\n";
    case Why::kTileDoesNotFit: return "Modell passt nicht in das Dateiformat, nicht geschrieben: %s!\n";
    case Why::kEarlierPlanTiles: return "[%s]: %s Kacheln eines fr\xFCheren Plans bleiben in %s.\n";
    case Why::kTerrainInterrupted:
      return "[%s]: Terraingenerierung nach %s von %s Kacheln unterbrochen, die Kacheln bleiben wie zuvor.\n";
    case Why::kTerrainDone: return "Terraingenerierung abgeschlossen!";
    case Why::kTerrainWritten: return "%s: %s Kacheln in %s";
    case Why::kPreviewName: return "[%s]:Der Abschnittsname taugt nicht als Dateiname der Vorschau!\n";
    case Why::kPreviewWritten: return "Terrainvorschau geschrieben: %s";
    case Why::kNoTerrain: return "Die Einstellungen beschreiben kein Terrain.";
    // ---- What a user meets around a start and on the command line.
    case Why::kSwapSubstituteMissing: return "[Copy] %s: %s fehlt, die Datei wird nicht getauscht.\n";
    case Why::kSwapNotMadeLine: return "  %s (%s fehlt)\n";
    case Why::kSwapsNotMadeNotice: return "Nicht getauscht, weil die Ersatzdatei fehlt:\n%s";
    case Why::kCameraSetCaseDiffers:
      return "Kamera Set %s gibt es nicht in %s. Meinten Sie \"%s\"? (Gro\xDF- und Kleinschreibung z\xE4hlt)\n";
    case Why::kCameraSetNew: return "Neues Kamera Set %s gespeichert: %s";
    case Why::kSwapMade: return "Getauscht f\xFCr den Lauf: %s";
    case Why::kSimulatorRunning:
      return "Kantrelwick l\xE4uft (Prozess %s) \x96 Strg+C beendet den Lauf und stellt alles zur\xFC"
             "ck.";
    case Why::kSimulatorRunningFor: return "Kantrelwick l\xE4uft seit %s";
    case Why::kTextLineNotCp1252:
      return "%s, Zeile %s: ein Zeichen, das es in Windows-1252 nicht gibt. Die Datei wird nicht gelesen!\n";
    case Why::kTextReadAsUtf8:
      return "%s ist in UTF-8 geschrieben und wurde so gelesen; gespeichert wird sie in Windows-1252.\n";
    case Why::kChecksFailed:
      return "Fehlgeschlagene Pr\xFC"
             "fungen der Anlagendatei: %s (--verbose zeigt sie).";
    case Why::kShowDefaultUsed: return "(nicht gesetzt, es gilt die Standard-Datei %s)";
    case Why::kShowNothingInstalled: return "(nicht gesetzt, ohne Ordner wird nichts installiert)";
    case Why::kShowAvailable: return "  Vorhanden: %s";
    // ---- end of the block.
    // The history of a layout.
    case Why::kHistoryDamaged:
      return "Verlauf %s ist besch\xE4"
             "digt (%s): StartZUVO \xE4ndert die Anlage nicht, solange er so ist.\n";
    case Why::kHistoryKept: return "Vorige Fassung im Verlauf: Fassung %s in %s";
    case Why::kHistoryNone: return "Zu %s gibt es keinen Verlauf.";
    case Why::kHistoryNoVersion: return "Fassung %s gibt es nicht im Verlauf %s!\n";
    case Why::kHistoryNothingToRestore:
      return "Jede Fassung im Verlauf von %s gleicht den heutigen Dateien: nichts wiederherzustellen.\n";
    case Why::kHistoryVersionDamaged:
      return "Fassung %s: %s fehlt oder ist besch\xE4"
             "digt, nichts wiederhergestellt!\n";
    case Why::kRestoreSameFiles: return "Fassung %s gleicht den heutigen Dateien von %s: nichts zu tun.";
    case Why::kRestoreQuestion: return "Fassung %s vom %s (%s) von %s wiederherstellen?";
    case Why::kRestored: return "Fassung %s wiederhergestellt: %s (die Dateien davor: Fassung %s)";
    case Why::kHistoryHint:
      return "Fr\xFChere Fassungen liegen im Verlauf: \"zuvo history %s\" zeigt sie, \"zuvo restore %s\" holt die "
             "neueste andere zur\xFC"
             "ck.";
    case Why::kHistoryLine:
      return "%s  %s  %s  anl %s, danl %s  Gleise %s, Modelle %s, Rollmaterial %s, Kamera Sets %s";
    case Why::kNoTerrainToGenerate: return "Die Einstellungen beschreiben kein Terrain, es wird nichts generiert!\n";
  }
  return "";
}

// The kinds' own words, where the text is not the same for every kind.
const char* KindText(Why why, const std::string& kind) {
  const bool texture = kind == "Bodentextur";
  switch (why) {
    case Why::kDefaultNotSaved:
      return texture ? "Original Bodentextur (Grass.bmp) kann nicht gesichert werden!\n" : nullptr;
    case Why::kChoiceNotInstalled:
      // The tool's own word for the buffer stop in this message.
      return kind == "Prellbock" ? "Pressboch \"%s\" kann nicht installiert werden!\n" : nullptr;
    case Why::kRemovalQuestion:
      return kind == "Rollmaterial" ? "Fehlendes Rollmaterial in der Anlage l\xF6schen?"
             : kind == "GBOs"       ? "Fehlende GBOs in der Anlage l\xF6schen?"
                                    : "Fehlende Immobilien in der Anlage l\xF6schen?";
    case Why::kRemovalDone:
      return kind == "Rollmaterial" ? "Fehlendes Rollmaterial wurde gel\xF6scht!"
             : kind == "GBOs"       ? "Fehlende GBOs wurden gel\xF6scht!"
                                    : "Fehlende Immobilien wurden gel\xF6scht!";
    case Why::kListWritten:
      return kind == "Fehlliste.txt" ? "Fehlliste wurde erstellt!" : "Inventarliste wurde erstellt!";
    default: return nullptr;
  }
}

std::string Fill(const char* text, const std::vector<std::string>& args, std::size_t first) {
  std::string out;
  std::size_t next = first;
  for (const char* p = text; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      if (next < args.size()) out += args[next];
      ++next;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

// "Nach dem abgebrochenen Lauf auf LAYOUT wiederhergestellt:" with the files
// put back, then those left, then the note that the journal stays.
std::string Healed(const std::vector<std::string>& a) {
  const std::string layout = a.size() > 0 ? a[0] : "", back = a.size() > 1 ? a[1] : "", left = a.size() > 2 ? a[2] : "",
                    stays = a.size() > 3 ? a[3] : "";
  std::string text = "Nach dem abgebrochenen Lauf auf " + layout;
  if (back.empty()) {
    text += " nicht wiederhergestellt:\n" + left;
  } else {
    text += " wiederhergestellt:\n" + back;
    if (!left.empty()) text += "Nicht wiederhergestellt:\n" + left;
  }
  return text + stays;
}

// The second line of a file failure: why the system refused.
std::string CauseText(const platform::FileFailure& failure) {
  switch (failure.cause) {
    case platform::FileCause::kNone: return "";
    case platform::FileCause::kNoSuchFile: return "Grund: Die Datei gibt es nicht.\n";
    case platform::FileCause::kNoSuchFolder: return "Grund: Den Ordner " + failure.folder + " gibt es nicht.\n";
    case platform::FileCause::kFileNotPermitted: return "Grund: Keine Berechtigung f\xFCr die Datei.\n";
    case platform::FileCause::kFolderNotPermitted:
      return "Grund: Keine Schreibberechtigung im Ordner " + failure.folder + ".\n";
    case platform::FileCause::kFileReadOnly: return "Grund: Die Datei ist schreibgesch\xFCtzt.\n";
    case platform::FileCause::kIsFolder: return "Grund: Das ist ein Ordner, keine Datei.\n";
    case platform::FileCause::kDiskFull: return "Grund: Der Datentr\xE4ger ist voll.\n";
    case platform::FileCause::kReadOnlyDisk: return "Grund: Der Datentr\xE4ger ist schreibgesch\xFCtzt.\n";
  }
  return "";
}

// The arguments of each reason that are paths, as bits (1 << index).
unsigned PathArguments(Why why) {
  switch (why) {
    case Why::kCannotOpen:
    case Why::kWriteFailed:
    case Why::kFileCannotBeOpened:
    case Why::kFolderCannotBeOpened:
    case Why::kFolderNotCreated:
    case Why::kFormatError:
    case Why::kInstallationAbsent:
    case Why::kInstallationNoFolder:
    case Why::kHostOptionAbsent:
    case Why::kHostOptionNoFolder:
    case Why::kKindFolderMissing:
    case Why::kChoiceFolderMissing:
    case Why::kSimulatorNotStarted:
    case Why::kJournalNotWritten:
    case Why::kJournalNotRead:
    case Why::kJournalNotRemoved:
    case Why::kRunAlive:
    case Why::kRunUnjudged:
    case Why::kRunUnjudgedQuestion:
    case Why::kHealed:
    case Why::kLinePutBack:
    case Why::kLineLost:
    case Why::kLineNotTouched:
    case Why::kJournalStays:
    case Why::kNothingToRepair:
    case Why::kFileWritten:
    case Why::kLayoutSaved:
    case Why::kMapWritten:
    case Why::kHeightType:
    case Why::kColourType:
    case Why::kReadError:
    case Why::kBitmapFormat:
    case Why::kTerragenFormat:
    case Why::kTileDoesNotFit:
    case Why::kPreviewWritten:
    case Why::kTextLineNotCp1252:
    case Why::kTextReadAsUtf8:
    case Why::kHistoryDamaged:
    case Why::kHistoryNone:
    case Why::kHistoryNothingToRestore: return 1u;
    case Why::kLinkOutside:
    case Why::kCannotRename:
    case Why::kLineContentIn:
    case Why::kHistoryHint: return 1u | 2u;
    case Why::kWrongExtension:
    case Why::kChoiceNotAName:
    case Why::kSwapProgram:
    case Why::kSwapFolder:
    case Why::kSwapJournal:
    case Why::kSwapTemporary:
    case Why::kSwapLayout:
    case Why::kSwapBackupExists:
    case Why::kLoaderMissing:
    case Why::kCameraSetUnknown:
    case Why::kCameraSetDeleted:
    case Why::kPixelSizeFromFile:
    case Why::kSwapSubstituteMissing:
    case Why::kSwapNotMadeLine:
    case Why::kCameraSetCaseDiffers:
    case Why::kCameraSetNew:
    case Why::kHistoryKept:
    case Why::kHistoryNoVersion:
    case Why::kHistoryVersionDamaged:
    case Why::kRestoreSameFiles: return 2u;
    case Why::kChoiceMissing:
    case Why::kRemovalCount:
    case Why::kEarlierPlanTiles:
    case Why::kTerrainWritten: return 4u;
    case Why::kRestoreQuestion: return 8u;
    default: return 0u;
  }
}

PathForm& CurrentPathForm() {
  static PathForm form = nullptr;
  return form;
}

std::string WordingAsGiven(const Reason& reason) {
  const std::string cause = CauseText(reason.cause);
  if (!cause.empty()) {
    Reason plain = reason;
    plain.cause = platform::FileFailure();
    std::string text = WordingAsGiven(plain);
    if (!text.empty() && text.back() != '\n') text += '\n';
    return text + cause;
  }
  if (reason.why == Why::kHealed) return Healed(reason.args);
  if ((reason.why == Why::kRunUnjudged || reason.why == Why::kRunUnjudgedQuestion) && reason.args.size() > 2 &&
      reason.args[2].empty()) {
    // A journal that names no computer: the process alone.
    std::string text = TextOf(reason.why);
    const std::size_t computer = text.find(" auf %s)");
    if (computer != std::string::npos) {
      text.replace(computer, 8, ")");
      std::vector<std::string> args = reason.args;
      args.erase(args.begin() + 2);
      return Fill(text.c_str(), args, 0);
    }
  }
  if (reason.why == Why::kFormatError && !reason.args.empty() && !reason.args[0].empty()) {
    return Fill("Formatfehler!\nDatei: %s\n", reason.args, 0);
  }
  if (reason.why == Why::kSizesDiffer && reason.args.size() == 2) {
    return std::string(TextOf(reason.why)) + Fill("H\xF6hen %s, Farben %s Pixel.\n", reason.args, 0);
  }
  if (reason.why == Why::kWrongExtension && reason.args.size() > 2 && reason.args[0].empty()) {
    // Without an extension the first line alone says nothing: the second
    // names what was given.
    const char* what = reason.args[2] == "1" ? "%s ist ein Ordner" : "%s hat keine Endung";
    return "falsche Endung: \n" + Fill(what, {reason.args[1]}, 0) + ", gemeint ist eine Anlage (.anl oder .danl).\n";
  }
  const std::string first = reason.args.empty() ? std::string() : reason.args[0];
  const char* own = KindText(reason.why, first);
  if (own != nullptr) {
    // The removal and list texts name no argument; the kinds' texts put the
    // rest in place.
    const bool named = reason.why == Why::kDefaultNotSaved || reason.why == Why::kChoiceNotInstalled;
    return named ? Fill(own, reason.args, 1) : std::string(own);
  }
  return Fill(TextOf(reason.why), reason.args, 0);
}

}  // namespace

void SetPathForm(PathForm form) { CurrentPathForm() = form; }

std::string ShownPath(const std::string& windowsPath) {
  const PathForm form = CurrentPathForm();
  return form == nullptr || windowsPath.empty() ? windowsPath : form(windowsPath);
}

std::string Wording(const Reason& reason) {
  if (CurrentPathForm() == nullptr) return WordingAsGiven(reason);
  Reason shown = reason;
  const unsigned paths = PathArguments(reason.why);
  for (std::size_t i = 0; i < shown.args.size() && i < 32; ++i) {
    if ((paths >> i) & 1u) shown.args[i] = ShownPath(shown.args[i]);
  }
  shown.cause.folder = ShownPath(shown.cause.folder);
  return WordingAsGiven(shown);
}

}  // namespace host
