// What a command tells the user, as a value: a reason and its arguments.
//
// Code that fails or notices something says why with a Reason; the German
// text is made from it in one place, the catalogue (host/wording.h), which the
// dialog, the console and the tests all use. So nothing ever has to read a
// sentence back to learn what happened: a caller looks at `why`, a front end
// attaches its hints to a reason, and every text stays in one table.
//
// Each reason's arguments, in order, are given in its comment; all are text
// (code page 1252), numbers as decimal text.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/file_failure.h"

namespace host {

enum class Why {
  // Files.
  kCannotOpen,            // path: "Can't open ...!"
  kWriteFailed,           // path
  kFileCannotBeOpened,    // file
  kFolderCannotBeOpened,  // folder
  kFolderNotCreated,      // folder
  kWrongExtension,        // extension[, path, "1" for a folder]
  kLinkOutside,           // path, the folder it must stay in
  kCannotRename,          // from, to
  // The layout file.
  kUnknownTrackType,    // name, type
  kFormatError,         // the file (empty: bytes held in memory)
  kTrackFaulty,         // id
  kModelFaulty,         // id
  kDllModelUnusable,    // unit name
  kRollingStockFaulty,  // id
  kPropertiesFaulty,    //
  kFileTooLong,         //
  kLayoutNotOk,         //
  // The installation.
  kUnknownInstallation,   //
  kInstallationAbsent,    // folder ("Installationsordner ... gibt es nicht")
  kInstallationNoFolder,  // folder
  kHostOptionAbsent,      // folder (--host)
  kHostOptionNoFolder,    // folder
  kKindFolderMissing,     // folder
  kDefaultNotSaved,       // kind name
  kChoiceNotInstalled,    // kind name, file
  kChoiceMissing,         // option, file, folder, what the folder holds
  kChoiceNotAName,        // option, folder, file, what the folder holds
  kChoiceFolderMissing,   // folder (as "what the folder holds")
  kChoiceNone,            // (as "what the folder holds")
  // Swaps of "[Copy]".
  kSwapOutside,          // entry
  kSwapProgram,          // entry, side
  kSwapFolder,           // entry, side
  kSwapJournal,          // entry, side
  kSwapTemporary,        // entry, side
  kSwapLayout,           // entry, side
  kSwapTwice,            // entry, earlier entry
  kSwapBackupExists,     // entry, backup
  kSimulatorNotStarted,  // program
  kLoaderMissing,        // loader (wine), program
  // The run journal.
  kJournalNotWritten,      // path
  kJournalNotRead,         // path
  kJournalNotRemoved,      // path
  kRunAlive,               // layout, pid, computer
  kRunUnjudged,            // layout, pid, computer, why (one of the next four, worded)
  kRunUnjudgedQuestion,    // layout, pid, computer, why
  kUnjudgedNoComputer,     //
  kUnjudgedOtherComputer,  //
  kUnjudgedProcess,        // pid
  kUnjudgedSimulator,      // pid
  kHealed,                 // layout, lines put back, lines left, the note that the journal stays (or "")
  kNotRestoredAfterRun,    // lines left, the note that the journal stays (or "")
  kLinePutBack,            // path
  kLineContentIn,          // path, where its content is
  kLineLost,               // path
  kLineNotTouched,         // path
  kJournalStays,           // path
  kNothingToRepair,        // folder
  kSimulatorEndedWith,     // status
  kSimulatorCrashed,       // signal
  kSimulatorStopped,       // signal
  // Camera sets and the other buttons.
  kDeleteCameraSetQuestion,  // name
  kCameraSetUnknown,         // name, settings file
  kCameraSetDeleted,         // name, settings file
  kRemovalQuestion,          // kind label (Rollmaterial, GBOs, Immobilien)
  kRemovalDone,              // kind label
  kRemovalCount,             // kind label, count, layout file
  kRemovalPlanned,           // kind label, count
  kListWritten,              // list file name
  kFileWritten,              // path ("Geschrieben: ...")
  kLayoutSaved,              // path
  kMapWritten,               // path
  kInstalled,                // kind name, file
  kNothingInstalled,         //
  kDeclined,                 //
  kTextNotCp1252,            //
  kPathProblem,              // the path converter's own sentence (a Unix path on Linux)
  // Terrain.
  kNoHeightFile,          // section
  kNoColourFile,          // section
  kHeightType,            // file
  kNoPixelSize,           //
  kPixelSizeNotPositive,  // section
  kPixelSizeTooLarge,     // section
  kColourType,            // file
  kNoName,                // section
  kNameOutside,           // section
  kReadError,             // file
  kBitmapFormat,          // file
  kTerragenKeyword,       //
  kTerrainKeyword,        //
  kTerragenFormat,        // file
  kSpacingNotPositive,    // section
  kSizeNotPositive,       // section
  kSpacingBelowPixel,     // section
  kSizesDiffer,           // [height cells "W x H", colour pixels "W x H"]
  kPixelSizeFromFile,     // section, file
  kTilesTooLarge,         // section, largest fitting size in metres
  kTileDoesNotFit,        // path
  kEarlierPlanTiles,      // section, count, folder
  kTerrainInterrupted,    // section, done, total
  kTerrainDone,           //
  kTerrainWritten,        // section, tiles, folder
  kPreviewName,           // section
  kPreviewWritten,        // path
  kNoTerrain,             //
  // ---- What a user meets around a start and on the command line.
  kSwapSubstituteMissing,  // entry ("KEY=VALUE"), the missing file: the swap is not made
  kSwapNotMadeLine,        // entry, the missing file: one line of the next
  kSwapsNotMadeNotice,     // the kSwapNotMadeLine lines, after the run
  kCameraSetCaseDiffers,   // name given, settings file, the existing set's name
  kCameraSetNew,           // name, settings file
  kSwapMade,               // entry ("KEY=VALUE")
  kSimulatorRunning,       // pid
  kSimulatorRunningFor,    // the time it has run ("0:05", "1:02:03")
  kTextLineNotCp1252,      // file, line: UTF-8 with a character code page 1252 lacks
  kTextReadAsUtf8,         // file
  kChecksFailed,           // count: the layout reader's failed checks, not shown
  kShowDefaultUsed,        // default file: an unset choice, as show tells it
  kShowNothingInstalled,   // an unset choice without its kind folder
  kShowAvailable,          // what the kind folder holds (see kChoiceMissing)
  // ---- end of the block.
  // The history of a layout: the versions of its pair kept before a file of
  // it is replaced, and bringing one back.
  kHistoryDamaged,           // index file, where in it ("[Fassung 3] AnlGroesse")
  kHistoryKept,              // version number, history folder
  kHistoryNone,              // layout
  kHistoryNoVersion,         // version number, index file
  kHistoryNothingToRestore,  // layout
  kHistoryVersionDamaged,    // version number, its file (missing, cut short or changed)
  kRestoreQuestion,          // version number, time, command, layout
  kRestored,                 // version number, the files put back, the version holding the files before
  kRestoreSameFiles,         // version number, layout
  kHistoryHint,              // layout, layout again
  kHistoryLine,              // number, time, command, .anl size, .danl size, tracks, models, rolling stock, camera sets
  kNoTerrainToGenerate,      //
};

struct Reason {
  Why why = Why::kFormatError;
  std::vector<std::string> args;
  // For a file that could not be opened, written or renamed: why, when the
  // system said so (Report attaches it); worded as a second line.
  platform::FileFailure cause;
};

// A reason with its arguments; numbers are turned into decimal text.
inline std::string ArgumentText(const std::string& text) { return text; }
inline std::string ArgumentText(const char* text) { return text != nullptr ? text : ""; }
inline std::string ArgumentText(int number) { return std::to_string(number); }
inline std::string ArgumentText(long number) { return std::to_string(number); }
inline std::string ArgumentText(long long number) { return std::to_string(number); }
template <typename... Args>
Reason Because(Why why, const Args&... args) {
  return Reason{why, {ArgumentText(args)...}, {}};
}

}  // namespace host
