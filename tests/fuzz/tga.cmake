# The TGA decoder, seeded with the real TGA files.
if(NOT MARROWICK_TESTDATA_DIR)
  set(MARROWICK_TESTDATA_DIR "${PROJECT_SOURCE_DIR}/../shared/testdata")
endif()
marrowick_fuzzer(fuzz_tga fuzz_tga.cpp ${MARROWICK_TESTDATA_DIR}/tga)
