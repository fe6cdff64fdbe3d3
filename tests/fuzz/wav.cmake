# Seeded with the real WAV files others wrote (honours -DMARROWICK_TESTDATA_DIR).
marrowick_fuzzer(fuzz_wav fuzz_wav.cpp ${MARROWICK_TESTDATA_DIR}/wav)
