#include "framework/Streaming.h"

#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <vector>

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

class Reader {
public:
    Reader(const std::string& text, TComponent* root) : s_(text), root_(root) {
        if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    }

    void Run() {
        SkipSpace();
        std::string keyword = Ident("object");
        if (keyword != "object" && keyword != "inherited" && keyword != "inline")
            Fail("'object' expected, found '" + keyword + "'");
        auto [name, className] = Header();
        if (className != root_->ClassName())
            Fail("the description is of class " + className + ", not " + root_->ClassName());
        if (!name.empty() && root_->Name() != name) root_->SetName(name);
        loaded_.push_back(root_);
        Body(root_);
        SkipSpace();
        if (pos_ < s_.size()) Fail("text after the last 'end'");
        for (TComponent* c : loaded_) c->Loaded();
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw EReadError("line " + std::to_string(line_) + ": " + what);
    }
    [[noreturn]] void FailAt(int line, const std::string& where, const std::string& what) const {
        throw EReadError("line " + std::to_string(line) + ": " + where + ": " + what);
    }

    void SkipSpace() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else {
                break;
            }
        }
    }
    char Peek() {
        SkipSpace();
        return pos_ < s_.size() ? s_[pos_] : '\0';
    }
    void Expect(char c) {
        if (Peek() != c) Fail(std::string("'") + c + "' expected");
        ++pos_;
    }
    // A plain identifier; `what` names it in the error.
    std::string Ident(const char* what) {
        SkipSpace();
        if (pos_ >= s_.size() || !IsIdentStart(s_[pos_])) Fail(std::string(what) + " expected");
        std::size_t start = pos_;
        while (pos_ < s_.size() && IsIdentChar(s_[pos_])) ++pos_;
        return s_.substr(start, pos_ - start);
    }
    // Identifier with dots: Font.Name, Items.Strings.
    std::string DottedIdent(const char* what) {
        std::string id = Ident(what);
        while (pos_ + 1 < s_.size() && s_[pos_] == '.' && IsIdentStart(s_[pos_ + 1])) {
            ++pos_;
            id += '.';
            id += Ident(what);
        }
        return id;
    }

    // "Name: TClass" or "TClass" after the keyword.
    std::pair<std::string, std::string> Header() {
        std::string first = Ident("a component name");
        if (Peek() == ':') {
            ++pos_;
            return {first, Ident("a class name")};
        }
        return {std::string(), first};
    }

    bool AtKeyword(const char* keyword) {
        SkipSpace();
        std::size_t n = std::char_traits<char>::length(keyword);
        if (s_.compare(pos_, n, keyword) != 0) return false;
        return pos_ + n >= s_.size() || !IsIdentChar(s_[pos_ + n]);
    }

    // Properties and nested objects up to the block's 'end'.
    void Body(TComponent* obj) {
        for (;;) {
            SkipSpace();
            if (pos_ >= s_.size()) Fail("'end' expected for " + Describe(obj));
            if (AtKeyword("end")) {
                pos_ += 3;
                return;
            }
            if (AtKeyword("object") || AtKeyword("inherited") || AtKeyword("inline")) {
                Ident("object");
                Child(obj);
                continue;
            }
            Property(obj);
        }
    }

    std::string Describe(const TComponent* c) const {
        return c->Name().empty() ? c->ClassName() : c->Name();
    }

    void Child(TComponent* container) {
        int line = line_;
        auto [name, className] = Header();
        TComponent* child = name.empty() ? nullptr : root_->FindComponent(name);
        if (child) {
            if (child->ClassName() != className)
                FailAt(line, name, "exists already as a " + child->ClassName() + ", not a " + className);
        } else {
            const ClassInfo* info = FindClassInfo(className);
            if (!info || !info->create) FailAt(line, name.empty() ? className : name, "unknown class " + className);
            try {
                child = info->create(root_);
            } catch (const std::exception& e) {
                FailAt(line, name.empty() ? className : name, e.what());
            }
            if (!child) FailAt(line, className, "the class cannot be created");
            if (!name.empty()) child->SetName(name);
        }
        try {
            child->SetParentComponent(container);
        } catch (const std::exception& e) {
            FailAt(line, Describe(child), e.what());
        }
        loaded_.push_back(child);
        Body(child);
    }

    // Resolves Font.Name / Items.Strings to the object and row to set.
    struct Target {
        TPersistent* object = nullptr;
        const PropertyInfo* info = nullptr;
    };
    Target Resolve(TPersistent* obj, const std::string& dotted, int line, const std::string& where) {
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (;;) {
            std::size_t dot = dotted.find('.', start);
            parts.push_back(dotted.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
            if (dot == std::string::npos) break;
            start = dot + 1;
        }
        TPersistent* cur = obj;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const PropertyInfo* p = cur->GetClassInfo().FindProperty(parts[i]);
            if (!p) FailAt(line, where, "unknown property");
            bool last = i + 1 == parts.size();
            if (last) return {cur, p};
            if (p->kind == PropKind::StringList && i + 2 == parts.size() && parts[i + 1] == "Strings") return {cur, p};
            if (p->kind != PropKind::Object || !p->object) FailAt(line, where, "unknown property");
            TPersistent* nested = p->object(*cur);
            if (!nested) FailAt(line, where, "the object " + parts[i] + " is not there");
            cur = nested;
        }
        FailAt(line, where, "unknown property");
    }

    void Property(TComponent* obj) {
        int line = line_;
        std::string name = DottedIdent("a property name or 'end'");
        std::string where = Describe(obj) + "." + name;
        Expect('=');
        Target t = Resolve(obj, name, line, where);
        PropValue v;
        v.kind = t.info->kind;
        ReadValue(v, line, where);
        try {
            t.info->set(*t.object, v, root_);
        } catch (const EReadError&) {
            throw;
        } catch (const std::exception& e) {
            FailAt(line, where, e.what());
        }
    }

    std::int64_t Number(int line, const std::string& where) {
        bool negative = false;
        if (s_[pos_] == '-' || s_[pos_] == '+') {
            negative = s_[pos_] == '-';
            ++pos_;
        }
        int base = 10;
        if (pos_ < s_.size() && s_[pos_] == '$') {
            base = 16;
            ++pos_;
        }
        std::size_t start = pos_;
        std::uint64_t v = 0;
        while (pos_ < s_.size() && (base == 16 ? IsHexDigit(s_[pos_]) : IsDigit(s_[pos_]))) {
            char c = s_[pos_++];
            unsigned d = IsDigit(c) ? unsigned(c - '0') : unsigned((c | 0x20) - 'a' + 10);
            if (v > (std::uint64_t(1) << 40)) FailAt(line, where, "number out of range");
            v = v * unsigned(base) + d;
        }
        if (pos_ == start) FailAt(line, where, "number expected");
        if (pos_ < s_.size() && (IsIdentChar(s_[pos_]) || s_[pos_] == '.')) FailAt(line, where, "malformed number");
        return negative ? -std::int64_t(v) : std::int64_t(v);
    }

    // 'abc' pieces and #13 codes, joined when they touch or with '+'. Pieces
    // apart from each other are separate strings (the items of a list).
    std::string String(int line, const std::string& where) {
        std::string out;
        char c = Peek();
        for (;;) {
            if (c == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r')
                        FailAt(line, where, "unterminated string");
                    if (s_[pos_] == '\'') {
                        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
                            out += '\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    out += s_[pos_++];
                }
            } else if (c == '#') {
                ++pos_;
                std::int64_t code = Number(line, where);
                if (code < 0 || code > 0x10FFFF) FailAt(line, where, "character code out of range");
                AppendUtf8(out, std::uint32_t(code));
            } else {
                FailAt(line, where, "a string expected");
            }
            c = pos_ < s_.size() ? s_[pos_] : '\0';
            if (c == '\'' || c == '#') continue;
            std::size_t savedPos = pos_;
            int savedLine = line_;
            if (Peek() != '+') {
                pos_ = savedPos;
                line_ = savedLine;
                return out;
            }
            ++pos_;
            c = Peek();
            if (c != '\'' && c != '#') FailAt(line, where, "string expected after '+'");
        }
    }

    void ReadValue(PropValue& v, int line, const std::string& where) {
        char c = Peek();
        auto expectKind = [&](bool ok, const char* expected) {
            if (!ok) FailAt(line, where, std::string(expected) + " expected");
        };
        switch (v.kind) {
            case PropKind::Integer:
            case PropKind::Color:
                if (IsIdentStart(c)) {
                    v.text = Ident("a value");
                } else {
                    expectKind(IsDigit(c) || c == '-' || c == '+' || c == '$', "a number");
                    v.integer = Number(line, where);
                }
                break;
            case PropKind::Boolean:
                expectKind(IsIdentStart(c), "True or False");
                v.text = Ident("True or False");
                if (EqualsIgnoringCase(v.text, "true")) v.text = "True";
                else if (EqualsIgnoringCase(v.text, "false")) v.text = "False";
                v.integer = v.text == "True";
                break;
            case PropKind::Enum:
            case PropKind::Event:
                expectKind(IsIdentStart(c), "an identifier");
                v.text = Ident("an identifier");
                break;
            case PropKind::String:
                expectKind(c == '\'' || c == '#', "a string");
                v.text = String(line, where);
                break;
            case PropKind::Set:
                expectKind(c == '[', "a set [...]");
                ++pos_;
                if (Peek() != ']') {
                    for (;;) {
                        v.items.push_back(Ident("a set member"));
                        if (Peek() == ',') {
                            ++pos_;
                            continue;
                        }
                        break;
                    }
                }
                Expect(']');
                break;
            case PropKind::StringList:
                expectKind(c == '(', "a list (...)");
                ++pos_;
                while (Peek() != ')') {
                    char d = Peek();
                    if (d != '\'' && d != '#') FailAt(line_, where, "a string or ')' expected");
                    v.items.push_back(String(line_, where));
                }
                ++pos_;
                break;
            case PropKind::Object:
                FailAt(line, where, "a nested object takes its values as " + where + ".Property");
        }
    }

    const std::string& s_;
    TComponent* root_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::vector<TComponent*> loaded_;
};

// ------------------------------------------------------------------- writer

std::string Quote(const std::string& text) {
    if (text.empty()) return "''";
    std::string out;
    bool open = false;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 32 || c == 127) {
            if (open) out += '\'';
            open = false;
            out += '#' + std::to_string(c);
        } else {
            if (!open) out += '\'';
            open = true;
            if (ch == '\'') out += '\'';
            out += ch;
        }
    }
    if (open) out += '\'';
    return out;
}

std::string Format(const PropValue& v) {
    switch (v.kind) {
        case PropKind::Integer:
            return v.text.empty() ? std::to_string(v.integer) : v.text;
        case PropKind::Color:
            // Unnamed values in the 32-bit signed spelling (system colours are negative).
            return v.text.empty() ? std::to_string(std::int32_t(std::uint32_t(v.integer))) : v.text;
        case PropKind::Boolean:
            return !v.text.empty() ? v.text : (v.integer ? "True" : "False");
        case PropKind::Enum:
            return v.text.empty() ? std::to_string(v.integer) : v.text;
        case PropKind::Event:
            return v.text;
        case PropKind::String:
            return Quote(v.text);
        case PropKind::Set: {
            std::string out = "[";
            for (std::size_t i = 0; i < v.items.size(); ++i) {
                if (i) out += ", ";
                out += v.items[i];
            }
            return out + "]";
        }
        case PropKind::StringList:
        case PropKind::Object:
            break;
    }
    return {};
}

void WriteProperties(std::string& out, TPersistent& obj, const std::string& prefix, const std::string& indent) {
    for (const PropertyInfo* p : obj.GetClassInfo().AllProperties()) {
        if (p->isStored && !p->isStored(obj)) continue;
        if (p->kind == PropKind::Object) {
            TPersistent* nested = p->object ? p->object(obj) : nullptr;
            if (nested) WriteProperties(out, *nested, prefix + p->name + ".", indent);
            continue;
        }
        if (!p->get) continue;
        PropValue v = p->get(obj);
        v.kind = p->kind;
        if (p->kind == PropKind::StringList) {
            out += indent + prefix + p->name + ".Strings = (";
            for (const std::string& item : v.items) out += "\n" + indent + "  " + Quote(item);
            out += ")\n";
            continue;
        }
        out += indent + prefix + p->name + " = " + Format(v) + "\n";
    }
}

void WriteObject(std::string& out, TComponent* c, TComponent* root, const std::string& indent) {
    out += indent + "object ";
    if (!c->Name().empty()) out += c->Name() + ": ";
    out += c->ClassName() + "\n";
    WriteProperties(out, *c, "", indent + "  ");
    for (TComponent* child : c->StreamedChildren(root)) WriteObject(out, child, root, indent + "  ");
    out += indent + "end\n";
}

}  // namespace

void ReadComponentText(const std::string& text, TComponent* root) {
    if (!root) throw EReadError("no component to read into");
    Reader(text, root).Run();
}

std::string WriteComponentText(TComponent* root) {
    std::string out;
    if (root) WriteObject(out, root, root, "");
    return out;
}
