#pragma once
// A file's version, kept in an ELF note (owner "Qz", type 1) so that it can be read without loading
// the file. A shared object or program records its version once, at namespace scope:
//   QZ_FILE_VERSION("870401-0.00.00");
#include "platform/core/Types.h"
#include <cstdint>

namespace qz {

template <unsigned N> struct alignas(4) TVersionNote {
    std::uint32_t nameSize;
    std::uint32_t descSize;
    std::uint32_t type;
    char name[4];
    char desc[(N + 3) / 4 * 4];
};

// The version recorded in the file; "" when it records none or cannot be read.
AnsiString ReadFileVersion(const AnsiString& fileName);

} // namespace qz

#define QZ_FILE_VERSION(text)                                                                                \
    __attribute__((used, aligned(4),                                                                         \
                   section(".note.qz.version"))) static const ::qz::TVersionNote<sizeof(text)>               \
        qzFileVersionNote = {3, sizeof(text), 1, "Qz", text}
