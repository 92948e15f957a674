// TStrings: an ordered list of 8-bit text lines, copied with Assign.
#pragma once

#include <string>
#include <vector>

#include "rtl/Persistent.h"

namespace mlt {

class TStrings : public TPersistent {
public:
    std::string ClassName() const override { return "TStrings"; }
    void Assign(const TPersistent& source) override;

    int Count() const { return static_cast<int>(Lines.size()); }
    const std::string& operator[](int index) const { return Lines.at(static_cast<std::size_t>(index)); }
    void Add(std::string line) { Lines.push_back(std::move(line)); }
    void Clear() { Lines.clear(); }

    std::vector<std::string> Lines;
};

}  // namespace mlt
