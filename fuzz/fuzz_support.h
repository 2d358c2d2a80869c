// Shared by the fuzz targets: a scratch folder that lives as long as the
// process, silenced message and diagnostic sinks, and a check that stops the
// run loudly when an expectation does not hold (a finding, like a crash).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The libFuzzer entry points; the replay main calls them as well.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

// A fresh folder under /tmp named after `purpose`, removed with its contents
// when the process ends normally. Aborts when it cannot be made.
const std::string& ScratchFolder(const char* purpose);

// Writes a file below the scratch folder (parents created). Aborts on failure.
void WriteScratchFile(const std::string& unixPath, const std::string& bytes);

// Messages and diagnostic lines are counted, not printed.
void SilenceReports();
int MessagesShown();
int DiagnosticsWritten();
void ResetReportCounts();

// Stops the run with the failed condition and where it was checked.
[[noreturn]] void Fail(const char* condition, const char* file, int line);

}  // namespace fuzz

#define FUZZ_CHECK(condition) ((condition) ? static_cast<void>(0) : fuzz::Fail(#condition, __FILE__, __LINE__))
