# The TGA decoder, seeded with the real TGA files.
marrowick_fuzzer(fuzz_tga fuzz_tga.cpp ${MARROWICK_TESTDATA_DIR}/tga)
