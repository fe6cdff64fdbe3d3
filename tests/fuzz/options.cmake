# The command-line parser, seeded with command lines of every kind of option.
marrowick_fuzzer(fuzz_options fuzz_options.cpp ${CMAKE_CURRENT_SOURCE_DIR}/seeds/options)
