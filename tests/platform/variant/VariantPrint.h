#pragma once
// Readable Variants in test failures.
#include "platform/variant/Variant.h"

#include <ostream>

namespace qz {

inline void PrintTo(const Variant& v, std::ostream* os) {
    *os << VarTypeAsText(VarType(v));
    if (VarIsNull(v) || VarIsEmpty(v)) return;
    if (VarIsArray(v)) {
        *os << "[" << v.ElementCount() << " elements]";
        return;
    }
    try {
        *os << " '" << VarToStr(v) << "'";
    } catch (...) {
        *os << " (object)";
    }
}

} // namespace qz
