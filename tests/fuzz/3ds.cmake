# The 3DS load path, seeded with the real 3DS files (honours -DMARROWICK_TESTDATA_DIR).
if(NOT MARROWICK_TESTDATA_DIR)
  set(MARROWICK_TESTDATA_DIR "${PROJECT_SOURCE_DIR}/../shared/testdata")
endif()
marrowick_fuzzer(fuzz_3ds fuzz_3ds.cpp ${MARROWICK_TESTDATA_DIR}/3ds)
