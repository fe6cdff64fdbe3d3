// Cue-point names from a WAV file's associated-data list. libsndfile finds
// the cue positions but misses names that real editors write: it stops at
// the first `ltxt` between labels and does not know the lower-case `list`
// chunk some tools use. This small RIFF walk reads them all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

// Maps cue id to its `labl` text, from every `LIST`/`list` chunk of type
// `adtl` at the top level of a RIFF WAVE file. Tolerates chunk sizes that run
// past the end of the data (as truncated or carelessly written files have)
// and a missing pad byte; anything that is not RIFF WAVE gives no labels.
// When a cue id is labelled twice, the first label wins.
std::map<std::uint32_t, std::string> readCueLabels(const unsigned char* data, std::size_t size);
