# The 3DS load path, seeded with the real 3DS files (honours -DMARROWICK_TESTDATA_DIR).
marrowick_fuzzer(fuzz_3ds fuzz_3ds.cpp ${MARROWICK_TESTDATA_DIR}/3ds)
