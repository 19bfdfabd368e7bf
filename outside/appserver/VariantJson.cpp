#include "outside/appserver/VariantJson.h"

#include "platform/core/CodePages.h"
#include "platform/core/DateTime.h"
#include "platform/core/Strings.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qz {

namespace {

void Text(AnsiString& out, const AnsiString& utf8) {
    out += '"';
    for (char c : utf8) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    out += '"';
}

void Number(AnsiString& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void Date(AnsiString& out, TDateTime v) {
    Word y = 0, m = 0, d = 0, hh = 0, nn = 0, ss = 0, ms = 0;
    if (!TryDecodeDate(v, y, m, d)) {
        out += "{\"date\":null}";
        return;
    }
    DecodeTime(v, hh, nn, ss, ms);
    char buf[48];
    std::snprintf(buf, sizeof buf, "{\"date\":\"%04u-%02u-%02uT%02u:%02u:%02u.%03u\"}", y, m, d, hh, nn, ss,
                  ms);
    out += buf;
}

void Write(AnsiString& out, const Variant& v, int codePage);

void Array(AnsiString& out, const Variant& v, int codePage) {
    int dims = VarArrayDimCount(v);
    if (dims == 1) {
        int lo = VarArrayLowBound(v, 1), hi = VarArrayHighBound(v, 1);
        out += "{\"lo\":" + IntToStr(lo) + ",\"items\":[";
        for (int i = lo; i <= hi; ++i) {
            if (i > lo) out += ',';
            Write(out, v[i], codePage);
        }
        out += "]}";
        return;
    }
    if (dims == 2) {
        int lo1 = VarArrayLowBound(v, 1), hi1 = VarArrayHighBound(v, 1);
        int lo2 = VarArrayLowBound(v, 2), hi2 = VarArrayHighBound(v, 2);
        out += "{\"lo\":[" + IntToStr(lo1) + "," + IntToStr(lo2) + "],\"items\":[";
        for (int i = lo1; i <= hi1; ++i) {
            if (i > lo1) out += ',';
            out += '[';
            for (int j = lo2; j <= hi2; ++j) {
                if (j > lo2) out += ',';
                Write(out, v.GetElement({i, j}), codePage);
            }
            out += ']';
        }
        out += "]}";
        return;
    }
    out += "{\"dims\":" + IntToStr(dims) + "}";
}

void Write(AnsiString& out, const Variant& v, int codePage) {
    if (VarIsArray(v)) {
        Array(out, v, codePage);
        return;
    }
    TVarType type = v.Type() & varTypeMask;
    if (VarTypeIsInteger(type)) {
        out += IntToStr(v.AsInt64());
        return;
    }
    switch (type) {
    case varEmpty: out += "{\"empty\":true}"; break;
    case varNull: out += "null"; break;
    case varBoolean: out += v.AsBoolean() ? "true" : "false"; break;
    case varSingle:
    case varDouble:
    case varCurrency: Number(out, v.AsDouble()); break;
    case varDate: Date(out, v.AsDateTime()); break;
    case varOleStr: Text(out, WideToUtf8(v.AsWideString())); break;
    case varString: Text(out, AnsiToUtf8(v.AsString(), codePage)); break;
    default: Text(out, "(" + VarTypeAsText(v.Type()) + ")"); break;
    }
}

} // namespace

AnsiString VariantToJson(const Variant& value, int codePage) {
    AnsiString out;
    Write(out, value, codePage);
    return out;
}

} // namespace qz
