# The puzzle file's and the piece-image cache's libFuzzer targets, included by engine/ when
# configured with -DVELMORA_FUZZ=ON in a clang build (with -DVELMORA_SANITIZE=address for ASan
# and UBSan). Run, for example:
#   velmora_pzl_fuzzer -runs=10000000 <work dir> tests/fuzz/corpus/pzl
#   velmora_cash_fuzzer -runs=10000000 <work dir> tests/fuzz/corpus/cash
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VELMORA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
endif()

# Coverage for the code under test, without libFuzzer's main.
target_compile_options(velmora_engine PRIVATE -fsanitize=fuzzer-no-link)

foreach(_fuzzer pzl:PuzzleFileFuzzer cash:PieceCacheFuzzer)
  string(REPLACE ":" ";" _parts ${_fuzzer})
  list(GET _parts 0 _kind)
  list(GET _parts 1 _source)
  add_executable(velmora_${_kind}_fuzzer ${CMAKE_SOURCE_DIR}/tests/fuzz/${_source}.cpp ${CMAKE_SOURCE_DIR}/tests/fuzz/PuzzleFileExercise.h)
  target_compile_options(velmora_${_kind}_fuzzer PRIVATE -fsanitize=fuzzer)
  target_link_options(velmora_${_kind}_fuzzer PRIVATE -fsanitize=fuzzer)
  target_link_libraries(velmora_${_kind}_fuzzer PRIVATE velmora_engine velmora_log Qt6::Gui)
  target_compile_definitions(velmora_${_kind}_fuzzer PRIVATE VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endforeach()
