// State probes: GL calls and the state and errors they leave, as text, run
// by Mesa and by the layer and compared line by line.
#pragma once

#include <string>

// One line per query, "probe.query: values".
std::string runProbes();
