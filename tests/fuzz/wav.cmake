marrowick_fuzzer(fuzz_wav fuzz_wav.cpp ${PROJECT_SOURCE_DIR}/../shared/testdata/wav)
