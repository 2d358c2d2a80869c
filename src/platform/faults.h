// Test-only fault injection: makes the Nth operation of a kind fail, so tests
// can prove that every save leaves the old files whole.
//
// Inactive unless a test plans a fault or the environment variable ZUVO_FAULTS
// is set when the program starts (read by LoadFaultPlanFromEnvironment), for
// example ZUVO_FAULTS="write:2" or "rename:1,close:3". Counting starts at 1 for
// each kind separately and counts every attempt of that kind from the moment
// the plan is made.
//
// ZUVO_KILL_AT, in the same form ("rename:3"), ends the program at once, as a
// SIGKILL would, at that attempt instead of failing it: tests learn what an
// interrupted command leaves.
#pragma once

#include <string>

namespace platform {

enum FaultKind {
  kFaultCreate,  // opening a file for writing (a temporary file included)
  kFaultWrite,   // one write call
  kFaultClose,   // closing a file that was written
  kFaultRename,  // a rename or the final move of a safe replacement
  kFaultChdir,   // a change of the current directory
  kFaultMkdir,   // creating a directory
  kFaultRemove,  // deleting a file
  kFaultKindCount
};

// Plans the `nth` attempt of `kind` to fail (0 clears that kind).
void PlanFault(FaultKind kind, int nth);

// Plans an interrupt (platform/interrupt.h) at the `nth` attempt of `kind`:
// the flag is set as Ctrl-C would set it, and that attempt goes ahead.
void PlanInterrupt(FaultKind kind, int nth);

// Clears every plan and every counter.
void ClearFaults();

// Parses "kind:n[,kind:n...]" (kinds: create, write, close, rename, chdir,
// mkdir, remove). Returns 0 for text it cannot parse, planning nothing.
int PlanFaultsFromText(const std::string& text);

// Reads ZUVO_FAULTS and ZUVO_KILL_AT when they are set. Returns 0 when one is
// set but malformed.
// When ZUVO_FAULT_COUNTS names a file as well (a native path), the attempts
// counted for each planned kind are written to it when the program ends, in
// the same "kind:n,..." form, so tests learn how many steps a command takes.
int LoadFaultPlanFromEnvironment();

// The attempts counted so far, "create:n,...,mkdir:n,remove:n".
std::string FaultAttemptsText();

// Called by the implementations before each operation of `kind`: counts the
// attempt and returns true when this one is planned to fail.
bool ShouldFail(FaultKind kind);

// How many attempts of `kind` were counted since its plan was made (only a
// planned kind is counted: plan a number never reached to count without
// failing).
int FaultAttempts(FaultKind kind);

// True while any fault is planned. Code that runs file operations on several
// threads then runs them one at a time, in order, so the counts stay exact.
bool FaultsPlanned();

}  // namespace platform
