// The generators of the data pack, in the order they run.
#pragma once

#include <vector>

struct PackContext;

struct Generator {
    const char* name;
    void (*write)(const PackContext& pack);
};

const std::vector<Generator>& generators();
