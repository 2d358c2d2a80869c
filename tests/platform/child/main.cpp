// A stand-in program for the tests of platform::RunAndWait.
//
//   zuvo_test_child OUTPUT CODE [ARG...]
//
// Writes every argument after its own name to the file OUTPUT, one per line
// between square brackets (so blanks and quotes show), and exits with CODE.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 100;
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 101;
  for (int i = 1; i < argc; ++i) std::fprintf(out, "[%s]\n", argv[i]);
  if (std::fclose(out) != 0) return 102;
  return std::atoi(argv[2]);
}
