// "zuvo_test_child OUTPUT CODE [ARG...]" writes every argument after its own name to OUTPUT
// as a line "[argument]", so blanks and quotes show, and exits with CODE.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  std::FILE* out = argc < 3 ? nullptr : std::fopen(argv[1], "wb");
  if (out == nullptr) return 100;
  for (int i = 1; i < argc; ++i) std::fprintf(out, "[%s]\n", argv[i]);
  return std::fclose(out) != 0 ? 101 : std::atoi(argv[2]);
}
