// Qzlanguage: converts GB (code page 936) text to BIG5 (code page 950) and back, turning simplified
// characters into their traditional forms and the reverse. Each entry returns a zero-terminated text
// in a buffer of the calling thread, valid until that thread's next call of either entry.
#include "platform/core/CodePages.h"

#include <memory>
#include <opencc/opencc.h>
#include <string>

using namespace qz;

namespace {

// One converter per configuration and thread; opened on first use.
class Converter {
public:
    explicit Converter(const char* config) : handle_(opencc_open(config)) {}
    ~Converter() {
        if (ok()) opencc_close(handle_);
    }
    bool ok() const { return handle_ != reinterpret_cast<opencc_t>(-1); }
    std::string Convert(const std::string& utf8) const {
        if (!ok() || utf8.empty()) return utf8;
        char* out = opencc_convert_utf8(handle_, utf8.data(), utf8.size());
        if (!out) return utf8;
        std::string r(out);
        opencc_convert_utf8_free(out);
        return r;
    }

private:
    opencc_t handle_;
};

const char* Convert(const char* text, int from, int to, const char* config) {
    thread_local std::string buffer;
    thread_local std::unique_ptr<Converter> s2tw, tw2s;
    std::unique_ptr<Converter>& converter = to == CP_BIG5 ? s2tw : tw2s;
    if (!converter) converter = std::make_unique<Converter>(config);
    std::string utf8 = ConvertCodePage(text ? text : "", from, CP_UTF8);
    buffer = ConvertCodePage(converter->Convert(utf8), CP_UTF8, to);
    return buffer.c_str();
}

} // namespace

extern "C" __attribute__((visibility("default"))) const char* GBtoBIG5(const char* text) {
    return Convert(text, CP_GB, CP_BIG5, "s2tw.json");
}

extern "C" __attribute__((visibility("default"))) const char* BIG5toGB(const char* text) {
    return Convert(text, CP_BIG5, CP_GB, "tw2s.json");
}
