# Seeded with the real WAV files others wrote (honours -DMARROWICK_TESTDATA_DIR).
if(NOT MARROWICK_TESTDATA_DIR)
  set(MARROWICK_TESTDATA_DIR "${PROJECT_SOURCE_DIR}/../shared/testdata")
endif()
marrowick_fuzzer(fuzz_wav fuzz_wav.cpp ${MARROWICK_TESTDATA_DIR}/wav)
