#include "platform/os/FileVersion.h"

#include <bit>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <vector>

namespace qz {

namespace {

constexpr std::uint64_t kMaxNotes = 1 << 20; // bytes of one note section read at most

bool ReadAt(std::ifstream& in, std::uint64_t offset, void* data, std::uint64_t size) {
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    return static_cast<std::uint64_t>(in.gcount()) == size;
}

// The "Qz" note of type 1 among the notes of one section.
AnsiString VersionIn(const std::vector<char>& notes) {
    size_t at = 0;
    while (at + 12 <= notes.size()) {
        std::uint32_t head[3];
        std::memcpy(head, notes.data() + at, sizeof head);
        size_t name = at + 12, desc = name + (head[0] + 3ull) / 4 * 4;
        size_t next = desc + (head[1] + 3ull) / 4 * 4;
        if (next > notes.size() || next <= at) break;
        if (head[2] == 1 && head[0] == 3 && std::memcmp(notes.data() + name, "Qz", 3) == 0)
            return AnsiString(notes.data() + desc, strnlen(notes.data() + desc, head[1]));
        at = next;
    }
    return "";
}

template <class Ehdr, class Shdr> AnsiString VersionOf(std::ifstream& in) {
    Ehdr header;
    if (!ReadAt(in, 0, &header, sizeof header) || header.e_shentsize != sizeof(Shdr)) return "";
    for (unsigned i = 0; i < header.e_shnum; ++i) {
        Shdr section;
        if (!ReadAt(in, header.e_shoff + std::uint64_t(i) * sizeof(Shdr), &section, sizeof section))
            return "";
        if (section.sh_type != SHT_NOTE || section.sh_size > kMaxNotes) continue;
        std::vector<char> notes(section.sh_size);
        if (!ReadAt(in, section.sh_offset, notes.data(), notes.size())) continue;
        AnsiString version = VersionIn(notes);
        if (!version.empty()) return version;
    }
    return "";
}

} // namespace

AnsiString ReadFileVersion(const AnsiString& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    unsigned char ident[EI_NIDENT];
    if (!in || !ReadAt(in, 0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0) return "";
    const unsigned char native = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;
    if (ident[EI_DATA] != native) return "";
    if (ident[EI_CLASS] == ELFCLASS64) return VersionOf<Elf64_Ehdr, Elf64_Shdr>(in);
    if (ident[EI_CLASS] == ELFCLASS32) return VersionOf<Elf32_Ehdr, Elf32_Shdr>(in);
    return "";
}

} // namespace qz
