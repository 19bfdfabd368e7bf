#include "platform/display/ScriptParser.h"

#include "platform/core/CodePages.h"
#include "platform/core/Strings.h"

#include <cstring>

namespace qz {

namespace {

struct TVerbShape {
    const char* Verb;
    int MinArgs;
    int MaxArgs; // -1: any number
};

constexpr TVerbShape kVerbs[] = {
    {"focus", 1, 1},   {"type", 1, 1},   {"key", 1, 1}, {"click", 1, 1}, {"set", 2, 2},  {"expect", 2, 2},
    {"answer", 1, -1}, {"dialog", 0, 0}, {"end", 0, 0}, {"shot", 1, 1},  {"wait", 1, 1},
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted text from the opening quote at text[at]; at ends after the closing quote. Escaped bytes
// (\xNN) are kept as they are; the rest is UTF-8 turned into the process code page.
AnsiString QuotedText(const AnsiString& text, size_t& at, int line) {
    AnsiString bytes;
    AnsiString utf8;
    auto flush = [&] {
        if (utf8.empty()) return;
        bytes += Utf8ToAnsi(utf8);
        utf8.clear();
    };
    for (++at; at < text.size(); ++at) {
        char c = text[at];
        if (c == '"') {
            ++at;
            flush();
            return bytes;
        }
        if (c != '\\') {
            utf8 += c;
            continue;
        }
        if (++at >= text.size()) break;
        switch (text[at]) {
        case '"': utf8 += '"'; break;
        case '\\': utf8 += '\\'; break;
        case 't': utf8 += '\t'; break;
        case 'x': {
            int hi = at + 1 < text.size() ? HexDigit(text[at + 1]) : -1;
            int lo = at + 2 < text.size() ? HexDigit(text[at + 2]) : -1;
            if (hi < 0 || lo < 0) throw EScriptError(line, "\\x needs two hexadecimal digits");
            flush();
            bytes += static_cast<char>(hi * 16 + lo);
            at += 2;
            break;
        }
        default: throw EScriptError(line, AnsiString("unknown escape \\") + text[at]);
        }
    }
    throw EScriptError(line, "the quoted text is not closed");
}

TScriptLine ParseLine(const AnsiString& text, int number) {
    TScriptLine line;
    line.Number = number;
    size_t at = 0;
    bool first = true;
    while (true) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r')) ++at;
        if (at >= text.size() || text[at] == '#') break;
        TScriptArg arg;
        if (text[at] == '"') {
            arg.Quoted = true;
            arg.Text = QuotedText(text, at, number);
            if (at < text.size() && text[at] != ' ' && text[at] != '\t' && text[at] != '\r' &&
                text[at] != '#')
                throw EScriptError(number, "a blank must follow the quoted text");
        } else {
            size_t from = at;
            while (at < text.size() && text[at] != ' ' && text[at] != '\t' && text[at] != '\r' &&
                   text[at] != '"')
                ++at;
            arg.Text = text.substr(from, at - from);
            if (at < text.size() && text[at] == '"')
                throw EScriptError(number, "a quote inside " + arg.Text + "; put a blank before it");
        }
        if (first && !arg.Quoted && arg.Text.size() > 1 && arg.Text[0] == '@' &&
            arg.Text.find_first_not_of("0123456789", 1) == AnsiString::npos) {
            line.Number = StrToIntDef(arg.Text.substr(1), number);
            continue;
        }
        if (first) {
            if (arg.Quoted) throw EScriptError(number, "a line starts with a verb, not a quoted text");
            line.Verb = LowerCase(arg.Text);
            first = false;
        } else {
            line.Args.push_back(std::move(arg));
        }
    }
    return line;
}

void CheckShape(const TScriptLine& line) {
    for (const TVerbShape& shape : kVerbs) {
        if (line.Verb != shape.Verb) continue;
        int n = static_cast<int>(line.Args.size());
        if (n < shape.MinArgs || (shape.MaxArgs >= 0 && n > shape.MaxArgs)) {
            AnsiString wanted = shape.MaxArgs < 0    ? "at least " + IntToStr(shape.MinArgs)
                                : shape.MaxArgs == 0 ? AnsiString("no")
                                                     : IntToStr(shape.MinArgs);
            bool one = shape.MinArgs == 1 && shape.MaxArgs != 0 && shape.MaxArgs <= 1;
            throw EScriptError(line.Number, line.Verb + " takes " + wanted + " argument" + (one ? "" : "s") +
                                                ", not " + IntToStr(n));
        }
        return;
    }
    throw EScriptError(line.Number, "unknown verb " + line.Verb);
}

} // namespace

std::vector<TScriptLine> ParseScript(const AnsiString& text) {
    if (std::memchr(text.data(), 0, text.size())) {
        int line = 1;
        for (char c : text.substr(0, text.find('\0')))
            if (c == '\n') ++line;
        throw EScriptError(line, "a NUL byte in the script");
    }
    std::vector<TScriptLine> top;
    // The open blocks: where their lines go, and the line that opened each.
    std::vector<std::vector<TScriptLine>*> target{&top};
    std::vector<int> opened;
    size_t from = 0;
    for (int number = 1; from <= text.size(); ++number) {
        size_t end = text.find('\n', from);
        if (end == AnsiString::npos) end = text.size();
        TScriptLine line = ParseLine(text.substr(from, end - from), number);
        from = end + 1;
        if (line.Verb.empty()) continue;
        number = line.Number;
        CheckShape(line);
        if (line.Verb == "end") {
            if (opened.empty()) throw EScriptError(number, "end without dialog");
            target.pop_back();
            opened.pop_back();
            continue;
        }
        target.back()->push_back(std::move(line));
        if (target.back()->back().Verb == "dialog") {
            opened.push_back(number);
            target.push_back(&target.back()->back().Block);
        }
    }
    if (!opened.empty()) throw EScriptError(opened.back(), "dialog without end");
    return top;
}

namespace {

void FormatLines(AnsiString& out, const std::vector<TScriptLine>& lines) {
    for (const TScriptLine& line : lines) {
        out += "@" + IntToStr(line.Number) + " " + line.Verb;
        for (const TScriptArg& arg : line.Args) {
            out += ' ';
            if (!arg.Quoted) {
                out += arg.Text;
                continue;
            }
            out += '"';
            for (char c : arg.Text) {
                unsigned char u = static_cast<unsigned char>(c);
                if (c == '"' || c == '\\') {
                    out += '\\';
                    out += c;
                } else if (u < 0x20 || u >= 0x7F) {
                    static const char hex[] = "0123456789ABCDEF";
                    out += "\\x";
                    out += hex[u >> 4];
                    out += hex[u & 15];
                } else {
                    out += c;
                }
            }
            out += '"';
        }
        out += '\n';
        if (line.Verb == "dialog") {
            FormatLines(out, line.Block);
            out += "end\n";
        }
    }
}

} // namespace

AnsiString FormatScript(const std::vector<TScriptLine>& lines) {
    AnsiString out;
    FormatLines(out, lines);
    return out;
}

} // namespace qz
