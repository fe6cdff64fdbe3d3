#include "Generators.h"

#include "PackContext.h"
#include "models/Models.h"

// Each part of the pack lives in its own folder beside this file and adds
// one line here.
const std::vector<Generator>& generators() {
    static const std::vector<Generator> all = {
        {"models", writeModels},
    };
    return all;
}
