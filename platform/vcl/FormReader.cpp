#include "platform/vcl/FormReader.h"
#include "platform/core/CodePages.h"
#include "platform/core/StringList.h"
#include "platform/core/Strings.h"
#include <cctype>
#include <map>

namespace qz {

namespace {

// ---- parsed form ----

struct Prop;

struct Value {
    enum Kind { kInt, kFloat, kString, kIdent, kSet, kList, kBinary, kCollection } kind = kInt;
    long long i = 0;
    double f = 0;
    AnsiString s;                         // string, identifier
    std::vector<AnsiString> names;        // set
    std::vector<Value> list;              // list
    std::vector<Byte> bytes;              // binary
    std::vector<std::vector<Prop>> items; // collection
};

struct Prop {
    AnsiString name;
    Value value;
    int line = 0;
};

struct Node {
    bool inherited = false;
    AnsiString name, className;
    std::vector<Prop> props;
    std::vector<Node> children;
    int line = 0;
};

class Parser {
public:
    explicit Parser(const AnsiString& text) : t_(text) {}

    Node ParseRoot() {
        Skip();
        Node n = ParseObject();
        Skip();
        if (p_ < t_.size()) Fail("Unexpected text after the last end");
        return n;
    }

private:
    [[noreturn]] void Fail(const AnsiString& what) const {
        throw EReadError("Form resource, line " + IntToStr(Line()) + ": " + what);
    }
    int Line() const {
        int line = 1;
        for (size_t i = 0; i < p_ && i < t_.size(); ++i)
            if (t_[i] == '\n') ++line;
        return line;
    }
    void Skip() {
        while (p_ < t_.size()) {
            unsigned char c = t_[p_];
            if (c <= ' ')
                ++p_;
            else if (c == '/' && p_ + 1 < t_.size() && t_[p_ + 1] == '/') {
                while (p_ < t_.size() && t_[p_] != '\n') ++p_;
            } else
                break;
        }
    }
    bool Peek(char c) {
        Skip();
        return p_ < t_.size() && t_[p_] == c;
    }
    void Expect(char c) {
        if (!Peek(c)) Fail(AnsiString("'") + c + "' expected");
        ++p_;
    }
    AnsiString Ident() {
        Skip();
        size_t start = p_;
        while (p_ < t_.size() &&
               (std::isalnum(static_cast<unsigned char>(t_[p_])) || t_[p_] == '_' || t_[p_] == '.'))
            ++p_;
        if (start == p_) Fail("Identifier expected");
        return t_.substr(start, p_ - start);
    }
    bool IsWord(const char* w) {
        Skip();
        size_t n = std::strlen(w);
        if (t_.compare(p_, n, w) != 0 && !SameText(t_.substr(p_, n), w)) return false;
        return p_ + n >= t_.size() ||
               !(std::isalnum(static_cast<unsigned char>(t_[p_ + n])) || t_[p_ + n] == '_');
    }

    Node ParseObject() {
        Node n;
        n.line = Line();
        if (IsWord("object"))
            p_ += 6;
        else if (IsWord("inherited")) {
            p_ += 9;
            n.inherited = true;
        } else if (IsWord("inline")) {
            p_ += 6;
            n.inherited = true;
        } else
            Fail("object expected");
        n.name = Ident();
        if (Peek(':')) {
            ++p_;
            n.className = Ident();
        } else {
            n.className = n.name;
            n.name.clear();
        }
        for (;;) {
            Skip();
            if (p_ >= t_.size()) Fail("end expected");
            if (IsWord("end")) {
                p_ += 3;
                return n;
            }
            if (IsWord("object") || IsWord("inherited") || IsWord("inline")) {
                n.children.push_back(ParseObject());
                continue;
            }
            n.props.push_back(ParseProp());
        }
    }

    Prop ParseProp() {
        Prop pr;
        pr.line = Line();
        pr.name = Ident();
        Expect('=');
        pr.value = ParseValue();
        return pr;
    }

    Value ParseValue() {
        Skip();
        if (p_ >= t_.size()) Fail("Value expected");
        char c = t_[p_];
        Value v;
        if (c == '\'' || c == '#') {
            v.kind = Value::kString;
            v.s = ParseString();
            // Strings continued on the next line with "+".
            while (Peek('+')) {
                ++p_;
                v.s += ParseString();
            }
        } else if (c == '[') {
            ++p_;
            v.kind = Value::kSet;
            while (!Peek(']')) {
                v.names.push_back(Ident());
                if (Peek(','))
                    ++p_;
                else if (!Peek(']'))
                    Fail("',' or ']' expected");
            }
            ++p_;
        } else if (c == '(') {
            ++p_;
            v.kind = Value::kList;
            while (!Peek(')')) v.list.push_back(ParseValue());
            ++p_;
        } else if (c == '{') {
            ++p_;
            v.kind = Value::kBinary;
            int nibble = -1;
            while (p_ < t_.size() && t_[p_] != '}') {
                unsigned char h = t_[p_++];
                if (h <= ' ') continue;
                if (!std::isxdigit(h)) Fail("Hexadecimal digit expected");
                int d = std::isdigit(h) ? h - '0' : std::toupper(h) - 'A' + 10;
                if (nibble < 0)
                    nibble = d;
                else {
                    v.bytes.push_back(static_cast<Byte>(nibble * 16 + d));
                    nibble = -1;
                }
            }
            Expect('}');
        } else if (c == '<') {
            ++p_;
            v.kind = Value::kCollection;
            while (!Peek('>')) {
                if (!IsWord("item")) Fail("item expected");
                p_ += 4;
                std::vector<Prop> item;
                while (!IsWord("end")) item.push_back(ParseProp());
                p_ += 3;
                v.items.push_back(std::move(item));
            }
            ++p_;
        } else if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
            size_t start = p_++;
            while (p_ < t_.size() &&
                   (std::isxdigit(static_cast<unsigned char>(t_[p_])) || t_[p_] == '.' || t_[p_] == 'e' ||
                    t_[p_] == 'E' ||
                    ((t_[p_] == '-' || t_[p_] == '+') && (t_[p_ - 1] == 'e' || t_[p_ - 1] == 'E'))))
                ++p_;
            AnsiString num = t_.substr(start, p_ - start);
            if (num[0] != '$' && num.find_first_of(".eE") != AnsiString::npos) {
                v.kind = Value::kFloat;
                if (!TryStrToFloat(num, v.f)) Fail("Invalid number " + num);
            } else {
                v.kind = Value::kInt;
                if (!TryStrToInt64(num, v.i)) Fail("Invalid number " + num);
            }
        } else {
            v.kind = Value::kIdent;
            v.s = Ident();
        }
        return v;
    }

    // 'text' parts ('' is a quote) and #nnn codes, without blanks between them.
    AnsiString ParseString() {
        Skip();
        AnsiString out;
        bool any = false;
        while (p_ < t_.size()) {
            if (t_[p_] == '\'') {
                ++p_;
                AnsiString part;
                for (;;) {
                    if (p_ >= t_.size() || t_[p_] == '\n') Fail("Unterminated string");
                    if (t_[p_] == '\'') {
                        if (p_ + 1 < t_.size() && t_[p_ + 1] == '\'') {
                            part += '\'';
                            p_ += 2;
                            continue;
                        }
                        ++p_;
                        break;
                    }
                    part += t_[p_++];
                }
                out += QuotedToGB(part);
                any = true;
            } else if (t_[p_] == '#') {
                ++p_;
                size_t start = p_;
                while (p_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_]))) ++p_;
                if (start == p_) Fail("Character code expected");
                long code = std::stol(t_.substr(start, p_ - start));
                if (code < 256)
                    out += static_cast<char>(code);
                else
                    out += CodePointToGB(code);
                any = true;
            } else
                break;
        }
        if (!any) Fail("String expected");
        return out;
    }

    static AnsiString QuotedToGB(const AnsiString& part) {
        bool high = false;
        for (unsigned char c : part)
            if (c >= 0x80) high = true;
        if (!high) return part;
        AnsiString gb;
        return TryConvertCodePage(part, CP_UTF8, CP_GB, gb) ? gb : part;
    }

    static AnsiString CodePointToGB(long cp) {
        WideString w;
        if (cp <= 0xFFFF) w.push_back(static_cast<char16_t>(cp));
        return WideToAnsi(w, CP_GB);
    }

    const AnsiString& t_;
    size_t p_ = 0;
};

// ---- applying ----

struct Fixup {
    TObject* instance;
    const TPropInfo* prop;
    AnsiString name;
    AnsiString where;
};

class Reader {
public:
    explicit Reader(TComponent* root) : root_(root) {}

    void Read(const AnsiString& text) {
        Node n = Parser(text).ParseRoot();
        if (!n.name.empty() && !SameText(n.name, root_->Name())) SetRootName(n.name);
        Apply(root_, n, root_->Name().empty() ? n.name : root_->Name());
    }

    void Finish() {
        for (const Fixup& f : fixups_) {
            TComponent* c = SameText(f.name, root_->Name()) ? root_ : root_->FindComponent(f.name);
            if (!c) throw EReadError("Error reading " + f.where + ": invalid reference " + f.name);
            try {
                f.prop->SetObj(f.instance, c);
            } catch (const Exception& e) {
                throw EReadError("Error reading " + f.where + ": " + e.Message());
            }
        }
        fixups_.clear();
    }

    std::vector<TComponent*> loaded;

private:
    void SetRootName(const AnsiString& name) {
        AnsiString unique = name;
        TComponent* owner = root_->Owner();
        for (int i = 1; owner && owner->FindComponent(unique); ++i) unique = name + "_" + IntToStr(i);
        root_->SetName(unique);
    }

    void Apply(TComponent* instance, const Node& node, const AnsiString& path) {
        for (const Prop& p : node.props) SetProperty(instance, p, path);
        for (const Node& child : node.children) {
            AnsiString where = path + "." + child.name;
            TComponent* c = nullptr;
            if (child.inherited) {
                c = root_->FindComponent(child.name);
                if (!c) throw EReadError("Error reading " + where + ": ancestor component not found");
            } else {
                const TMetaClass* mc = GetClass(child.className);
                if (!mc)
                    throw EReadError("Error reading " + where + ": class " + child.className + " not found");
                TObject* o = mc->Create(root_);
                c = dynamic_cast<TComponent*>(o);
                if (!c) {
                    delete o;
                    throw EReadError("Error reading " + where + ": " + child.className +
                                     " is not a component");
                }
                c->BeginLoading();
                loaded.push_back(c);
                try {
                    c->SetName(child.name);
                } catch (const Exception& e) {
                    throw EReadError("Error reading " + where + ": " + e.Message());
                }
                c->SetParentComponent(instance);
            }
            Apply(c, child, where);
        }
    }

    void SetProperty(TObject* instance, const Prop& p, const AnsiString& path) {
        AnsiString where = path + "." + p.name;
        try {
            Assign(instance, p, where);
        } catch (const EReadError&) {
            throw;
        } catch (const std::exception& e) {
            throw EReadError("Error reading " + where + ": " + e.what());
        }
    }

    void Assign(TObject* instance, const Prop& p, const AnsiString& where) {
        if (p.value.kind == Value::kBinary) {
            auto* per = dynamic_cast<TPersistent*>(instance);
            if (!per || !per->ReadBinaryProperty(p.name, p.value.bytes))
                throw EReadError("Error reading " + where + ": property does not exist");
            return;
        }
        // Walk the class-typed properties of a dotted name.
        TObject* obj = instance;
        AnsiString rest = p.name;
        size_t dot;
        while ((dot = rest.find('.')) != AnsiString::npos) {
            AnsiString part = rest.substr(0, dot);
            const TPropInfo* pi = GetPropInfo(obj, part);
            if (!pi || pi->Kind() != tkClass || !pi->GetObj(obj))
                throw EReadError("Error reading " + where + ": property " + part + " does not exist");
            obj = pi->GetObj(obj);
            rest = rest.substr(dot + 1);
        }
        // "Strings" of a string list.
        if (auto* strings = dynamic_cast<TStrings*>(obj); strings && SameText(rest, "Strings")) {
            AssignStrings(*strings, p.value);
            return;
        }
        const TPropInfo* pi = GetPropInfo(obj, rest);
        if (!pi) throw EReadError("Error reading " + where + ": property " + rest + " does not exist");
        const Value& v = p.value;
        switch (v.kind) {
        case Value::kInt: SetPropNumber(obj, pi, static_cast<double>(v.i)); break;
        case Value::kFloat: SetPropNumber(obj, pi, v.f); break;
        case Value::kString:
            if (pi->Kind() == tkString) {
                if (!pi->SetStr) throw EPropertyError("property is read-only");
                pi->SetStr(obj, v.s);
            } else
                SetPropText(obj, pi, v.s, root_);
            break;
        case Value::kIdent:
            if (pi->Kind() == tkClass) {
                if (!pi->SetObj) throw EPropertyError("property is read-only");
                if (SameText(v.s, "nil"))
                    pi->SetObj(obj, nullptr);
                else
                    fixups_.push_back(Fixup{obj, pi, v.s, where});
            } else
                SetPropText(obj, pi, v.s, root_);
            break;
        case Value::kSet: {
            AnsiString text;
            for (const auto& n : v.names) text += (text.empty() ? "" : ",") + n;
            if (pi->Kind() != tkSet)
                throw EPropertyConvertError("set value for a property that is not a set");
            SetPropText(obj, pi, "[" + text + "]", root_);
            break;
        }
        case Value::kList: {
            auto* strings = pi->Kind() == tkClass ? dynamic_cast<TStrings*>(pi->GetObj(obj)) : nullptr;
            if (!strings) throw EPropertyConvertError("list value for a property that is not a string list");
            AssignStrings(*strings, v);
            break;
        }
        case Value::kCollection: {
            auto* coll = pi->Kind() == tkClass ? dynamic_cast<TCollection*>(pi->GetObj(obj)) : nullptr;
            if (!coll) throw EPropertyConvertError("item list for a property that is not a collection");
            coll->BeginUpdate();
            try {
                coll->Clear();
                for (const auto& item : v.items) {
                    TCollectionItem* it = coll->Add();
                    for (const Prop& ip : item) SetProperty(it, ip, where);
                }
            } catch (...) {
                coll->EndUpdate();
                throw;
            }
            coll->EndUpdate();
            break;
        }
        default: break;
        }
    }

    static void AssignStrings(TStrings& strings, const Value& v) {
        if (v.kind != Value::kList) throw EPropertyConvertError("list of strings expected");
        strings.BeginUpdate();
        strings.Clear();
        for (const Value& item : v.list) {
            if (item.kind == Value::kString || item.kind == Value::kIdent)
                strings.Add(item.s);
            else if (item.kind == Value::kInt)
                strings.Add(IntToStr(item.i));
            else if (item.kind == Value::kFloat)
                strings.Add(FloatToStr(item.f));
            else
                throw EPropertyConvertError("list of strings expected");
        }
        strings.EndUpdate();
    }

    TComponent* root_;
    std::vector<Fixup> fixups_;
};

std::map<AnsiString, const char*>& Resources() {
    static std::map<AnsiString, const char*> r;
    return r;
}

void LoadAll(TComponent* root, Reader& reader, bool rootWasLoading) {
    // The root first, then the components in the order they were created.
    if (!rootWasLoading) root->Loaded();
    for (TComponent* c : reader.loaded) c->Loaded();
}

} // namespace

void RegisterFormResource(const AnsiString& className, const char* text) {
    Resources()[UpperCase(className)] = text;
}

const char* FindFormResource(const AnsiString& className) {
    if (const TMetaClass* mc = GetClass(className); mc && mc->Resource()) return mc->Resource();
    auto it = Resources().find(UpperCase(className));
    return it == Resources().end() ? nullptr : it->second;
}

bool InitInheritedComponent(TComponent* instance, const TMetaClass* rootAncestor) {
    RegisterVclClasses();
    std::vector<const TMetaClass*> chain;
    for (const TMetaClass* c = ClassOf(instance); c && c != rootAncestor; c = c->ClassParent())
        chain.insert(chain.begin(), c);
    std::vector<const char*> texts;
    for (const TMetaClass* c : chain) {
        const char* text = c->Resource();
        if (!text) {
            auto it = Resources().find(UpperCase(c->ClassName()));
            if (it != Resources().end()) text = it->second;
        }
        if (text) texts.push_back(text);
    }
    if (texts.empty()) return false;
    bool wasLoading = instance->IsLoading();
    instance->BeginLoading();
    Reader reader(instance);
    for (const char* text : texts) reader.Read(text);
    reader.Finish();
    instance->EndReading();
    for (TComponent* c : reader.loaded) c->EndReading();
    LoadAll(instance, reader, wasLoading);
    return true;
}

void ReadComponentResText(TComponent* root, const AnsiString& text) {
    RegisterVclClasses();
    bool wasLoading = root->IsLoading();
    root->BeginLoading();
    Reader reader(root);
    reader.Read(text);
    reader.Finish();
    root->EndReading();
    for (TComponent* c : reader.loaded) c->EndReading();
    LoadAll(root, reader, wasLoading);
}

} // namespace qz
