#include "platform/core/CodePages.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <mutex>
#include <unordered_map>

namespace qz {

namespace {

std::atomic<int> g_systemCodePage{0};

int ReadSystemCodePage() {
    const char* env = std::getenv("QZ_SYSTEM_CODEPAGE");
    if (env) {
        AnsiString v(env);
        if (v == "950") return CP_BIG5;
        if (v == "1252" || v == "437") return CP_LATIN1;
    }
    return CP_GB;
}

const char* IconvName(int codePage) {
    switch (codePage) {
    case CP_US: return "CP437";
    case CP_GB: return "CP936";
    case CP_BIG5: return "CP950";
    case CP_LATIN1: return "CP1252";
    case CP_UTF8: return "UTF-8";
    case CP_UTF16: return "UTF-16LE";
    default: return nullptr;
    }
}

int Resolve(int codePage) {
    return codePage == 0 ? SystemCodePage() : codePage;
}

// Converts with iconv; on a character the target lacks or an invalid input sequence, either fails
// (strict) or writes the replacement in the target encoding and skips one input unit.
bool IconvConvert(const char* in, size_t inLen, int from, int to, bool strict, std::string& out) {
    const char* fromName = IconvName(from);
    const char* toName = IconvName(to);
    if (!fromName || !toName) return false;
    iconv_t cd = iconv_open(toName, fromName);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string replacement = (to == CP_UTF16) ? std::string("?\0", 2) : std::string("?");
    size_t unit = (from == CP_UTF16) ? 2 : 1;
    out.clear();
    char buf[4096];
    char* src = const_cast<char*>(in);
    size_t left = inLen;
    bool ok = true;
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, dst - buf);
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: an unconvertible or incomplete sequence.
        if (strict) {
            ok = false;
            break;
        }
        out += replacement;
        size_t skip = unit;
        // A double-byte source character counts as one.
        if ((from == CP_GB || from == CP_BIG5) && left >= 2 && static_cast<unsigned char>(*src) >= 0x81)
            skip = 2;
        if (from == CP_UTF8) {
            unsigned char c = static_cast<unsigned char>(*src);
            size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            skip = n <= left ? n : left;
        }
        if (from == CP_UTF16 && left >= 4) {
            unsigned hi = static_cast<unsigned char>(src[1]);
            if (hi >= 0xD8 && hi <= 0xDB) skip = 4;
        }
        if (skip > left) skip = left;
        src += skip;
        left -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    if (ok) {
        char* dst = buf;
        size_t room = sizeof buf;
        iconv(cd, nullptr, nullptr, &dst, &room);
        out.append(buf, dst - buf);
    }
    iconv_close(cd);
    return ok;
}

std::string WideBytes(const WideString& w) {
    std::string bytes;
    bytes.reserve(w.size() * 2);
    for (char16_t c : w) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

WideString BytesToWide(const std::string& bytes) {
    WideString w;
    w.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        w.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return w;
}

} // namespace

int SystemCodePage() {
    int cp = g_systemCodePage.load();
    if (cp == 0) {
        cp = ReadSystemCodePage();
        g_systemCodePage.store(cp);
    }
    return cp;
}

AnsiString SystemCodePageText() {
    switch (SystemCodePage()) {
    case CP_GB: return "936";
    case CP_BIG5: return "950";
    default: return "437";
    }
}

void SetSystemCodePage(int codePage) {
    g_systemCodePage.store(codePage == 0 ? ReadSystemCodePage() : codePage);
}

AnsiString ConvertCodePage(const AnsiString& text, int fromCodePage, int toCodePage) {
    int from = Resolve(fromCodePage), to = Resolve(toCodePage);
    if (from == to || text.empty()) return text;
    AnsiString out;
    IconvConvert(text.data(), text.size(), from, to, false, out);
    return out;
}

bool TryConvertCodePage(const AnsiString& text, int fromCodePage, int toCodePage, AnsiString& out) {
    int from = Resolve(fromCodePage), to = Resolve(toCodePage);
    if (from == to || text.empty()) {
        out = text;
        return true;
    }
    return IconvConvert(text.data(), text.size(), from, to, true, out);
}

AnsiString AnsiToUtf8(const AnsiString& text, int codePage) {
    return ConvertCodePage(text, codePage, CP_UTF8);
}
AnsiString Utf8ToAnsi(const AnsiString& utf8, int codePage) {
    return ConvertCodePage(utf8, CP_UTF8, codePage);
}

WideString AnsiToWide(const AnsiString& text, int codePage) {
    return BytesToWide(ConvertCodePage(text, codePage, CP_UTF16));
}

AnsiString WideToAnsi(const WideString& text, int codePage) {
    std::string bytes = WideBytes(text);
    AnsiString out;
    IconvConvert(bytes.data(), bytes.size(), CP_UTF16, Resolve(codePage), false, out);
    return out;
}

WideString Utf8ToWide(const AnsiString& utf8) {
    return AnsiToWide(utf8, CP_UTF8);
}
AnsiString WideToUtf8(const WideString& text) {
    return WideToAnsi(text, CP_UTF8);
}

bool IsDBCSLeadByte(unsigned char byte, int codePage) {
    int cp = Resolve(codePage);
    return (cp == CP_GB || cp == CP_BIG5) && byte >= 0x81 && byte <= 0xFE;
}

const AnsiString& GB(const char* utf8) {
    static std::mutex mutex;
    static std::unordered_map<std::string, AnsiString> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(utf8);
    if (it == cache.end()) it = cache.emplace(utf8, ConvertCodePage(utf8, CP_UTF8, CP_GB)).first;
    return it->second;
}

} // namespace qz
