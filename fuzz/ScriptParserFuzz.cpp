// Session scripts come from files and standard input: reading any bytes gives lines or a script
// error, and formatted lines read back the same.
#include "platform/display/ScriptParser.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qz::AnsiString text(reinterpret_cast<const char*>(data), size);
    try {
        auto lines = qz::ParseScript(text);
        qz::AnsiString formatted = qz::FormatScript(lines);
        if (qz::FormatScript(qz::ParseScript(formatted)) != formatted) std::abort();
    } catch (const qz::EScriptError&) {
    }
    return 0;
}
