# The sources as clang-format lays them out (.clang-format at the root): every
# C++ file of the tool, its tests, benchmarks, fuzz targets and tools.
format_clean() {
  local files bad=0
  files=$(cd "$ZUVO_ROOT" && git ls-files '*.cpp' '*.h' 2>/dev/null) ||
    files=$(cd "$ZUVO_ROOT" && find src tests bench fuzz tools -name '*.cpp' -o -name '*.h')
  for file in $files; do
    clang-format --dry-run --Werror "$ZUVO_ROOT/$file" >/dev/null 2>&1 || {
      echo "   not formatted: $file"
      bad=1
    }
  done
  return "$bad"
}
record_check "clang-format" format_clean
return 0
