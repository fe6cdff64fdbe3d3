# The player's commands in random order over the whole short show: every
# frame reached must be the frame a straight run draws there.
marrowick_fuzzer(fuzz_player fuzz_player.cpp ${CMAKE_CURRENT_SOURCE_DIR}/seeds/player)
target_include_directories(fuzz_player PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_compile_definitions(fuzz_player PRIVATE MARROWICK_PACK_DIR="${PROJECT_BINARY_DIR}/data-short")
set_tests_properties(fuzz_player.smoke PROPERTIES FIXTURES_REQUIRED short_pack)
