marrowick_fuzzer(fuzz_tilefile fuzz_tilefile.cpp ${CMAKE_CURRENT_SOURCE_DIR}/seeds/tilefile)
