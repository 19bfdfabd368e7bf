#pragma once
// Session scripts: one action a line ("click btnOk", "type \"月报\""), "#" comments, arguments separated
// by blanks, texts in double quotes (UTF-8 in the file, process code page once read, with \", \\, \t
// and \xNN escapes), and "dialog" ... "end" blocks kept for the next modal dialog.
#include "platform/core/Exceptions.h"

#include <vector>

namespace qz {

// A line that cannot be read: Line is its number in the file, from 1.
class EScriptError : public Exception {
public:
    EScriptError(int line, const AnsiString& why) : Exception(why), Line(line) {}
    int Line;
};

struct TScriptArg {
    AnsiString Text;
    bool Quoted = false;
};

struct TScriptLine {
    int Number = 0;
    AnsiString Verb; // lower case
    std::vector<TScriptArg> Args;
    std::vector<TScriptLine> Block; // the lines of a "dialog" block
};

// The lines of a script; raises EScriptError for an open quote, a bad escape, an unknown verb, a
// wrong number of arguments or an unbalanced block. A line may start with "@N": it then counts as line N
// (the form in which lines travel between the host and the module).
std::vector<TScriptLine> ParseScript(const AnsiString& utf8Text);
// Lines as script text that reads back the same, each with its "@N"; texts are written with escapes
// only, so that their bytes come back as they are.
AnsiString FormatScript(const std::vector<TScriptLine>& lines);

} // namespace qz
