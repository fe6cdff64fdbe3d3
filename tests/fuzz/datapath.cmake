# The data-path lookup against a small tree of mixed-case names it builds itself.
marrowick_fuzzer(fuzz_datapath fuzz_datapath.cpp ${CMAKE_CURRENT_SOURCE_DIR}/seeds/datapath)
