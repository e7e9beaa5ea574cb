# The skin loader's libFuzzer target, included by skin/ when configured with -DVELMORA_FUZZ=ON
# in a clang build (with -DVELMORA_SANITIZE=address for ASan and UBSan). Run, for example:
#   LSAN_OPTIONS=suppressions=tests/lsan.supp QT_QPA_PLATFORM=offscreen \
#   FONTCONFIG_FILE=tests/fuzz/fonts.conf \
#     velmora_skin_fuzzer -dict=tests/fuzz/skin.dict -timeout=30 <work dir> tests/fuzz/corpus/skin
# For a long run on every core, fork mode goes on past the slow inputs: a skin whose items
# reference each other in a doubling chain reaches the 65,536 items a tree may hold, and drawing
# and hit-testing 16 such trees under the sanitizers can pass the timeout without hanging.
#     velmora_skin_fuzzer -fork=2 -ignore_timeouts=1 -dict=tests/fuzz/skin.dict -timeout=30 \
#       -rss_limit_mb=4096 -artifact_prefix=<crash dir>/ <work dir> tests/fuzz/corpus/skin
# Every crash or hang it finds goes into tests/fuzz/corpus/skin, which runs as an ordinary test.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VELMORA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
endif()

# Coverage for the code under test, without libFuzzer's main.
target_compile_options(velmora_skin PRIVATE -fsanitize=fuzzer-no-link)

add_executable(velmora_skin_fuzzer ${CMAKE_CURRENT_LIST_DIR}/SkinLoadFuzzer.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinExercise.h)
target_compile_options(velmora_skin_fuzzer PRIVATE -fsanitize=fuzzer)
target_link_options(velmora_skin_fuzzer PRIVATE -fsanitize=fuzzer)
target_link_libraries(velmora_skin_fuzzer PRIVATE velmora_skin Qt6::Gui)
target_compile_definitions(velmora_skin_fuzzer PRIVATE VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
