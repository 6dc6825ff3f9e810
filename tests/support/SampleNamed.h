#pragma once

#include <QtGlobal>
#include <algorithm>
#include <string>
#include <vector>

#include "samples/Catalogue.h"

namespace tamsel::testing {

// Every sample of the catalogue, made once.
inline const std::vector<samples::Sample>& AllSamples() {
    static const std::vector<samples::Sample> catalogue = samples::Catalogue();
    return catalogue;
}

// The sample of that name; the test program stops when there is none.
inline const samples::Sample& SampleNamed(const std::string& name) {
    const auto& all = AllSamples();
    const auto found =
        std::find_if(all.begin(), all.end(), [&](const samples::Sample& s) { return s.name == name; });
    if (found == all.end()) {
        qFatal("no sample %s", name.c_str());
    }
    return *found;
}

}  // namespace tamsel::testing
