#include "FormDescription.h"

#include <cctype>

namespace {

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Parser {
public:
    Parser(std::string_view text, std::string_view source) : FText(text), FSource(source) {
        if (FText.substr(0, 3) == "\xEF\xBB\xBF")
            FPos = 3; // a UTF-8 byte-order mark is not content
    }

    TFormObject ParseRoot() {
        TFormObject root = ParseObject();
        SkipBlanks();
        if (FPos < FText.size())
            Fail("text after the final 'end'");
        return root;
    }

private:
    [[noreturn]] void Fail(std::string_view what) const {
        throw EParserError(
            FormatMsg("Error in form description %s, line %s: %s", {FSource, IntToStr(FLine), what}));
    }

    void SkipBlanks() {
        while (FPos < FText.size()) {
            const char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++FPos;
            } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
                while (FPos < FText.size() && FText[FPos] != '\n')
                    ++FPos;
            } else {
                break;
            }
        }
    }

    char Peek() {
        SkipBlanks();
        return FPos < FText.size() ? FText[FPos] : '\0';
    }

    void Expect(char c) {
        if (Peek() != c)
            Fail(FormatMsg("'%s' expected", {std::string(1, c)}));
        ++FPos;
    }

    std::string Ident() {
        if (!IsIdentStart(Peek()))
            Fail("identifier expected");
        const size_t start = FPos;
        while (FPos < FText.size() && IsIdentChar(FText[FPos]))
            ++FPos;
        return std::string(FText.substr(start, FPos - start));
    }

    bool AtKeyword(std::string_view word) {
        if (!IsIdentStart(Peek()))
            return false;
        size_t end = FPos;
        while (end < FText.size() && IsIdentChar(FText[end]))
            ++end;
        return SameText(FText.substr(FPos, end - FPos), word);
    }

    TFormObject ParseObject() {
        if (!AtKeyword("object") && !AtKeyword("inherited") && !AtKeyword("inline"))
            Fail("'object' expected");
        TFormObject obj;
        obj.Line = FLine;
        Ident();
        std::string first = Ident();
        if (Peek() == ':') {
            ++FPos;
            obj.Name = std::move(first);
            obj.ClassName = Ident();
        } else {
            obj.ClassName = std::move(first);
        }
        while (true) {
            if (Peek() == '\0')
                Fail(FormatMsg("'end' expected for %s", {obj.Name.empty() ? obj.ClassName : obj.Name}));
            if (AtKeyword("end")) {
                Ident();
                return obj;
            }
            if (AtKeyword("object") || AtKeyword("inherited") || AtKeyword("inline")) {
                obj.Children.push_back(ParseObject());
                continue;
            }
            if (!obj.Children.empty())
                Fail("properties must come before the nested objects");
            obj.Props.push_back(ParseProperty());
        }
    }

    TFormProperty ParseProperty() {
        TFormProperty prop;
        prop.Line = FLine;
        prop.Path = Ident();
        while (Peek() == '.') {
            ++FPos;
            prop.Path += '.';
            prop.Path += Ident();
        }
        Expect('=');
        prop.Value = ParseValue();
        return prop;
    }

    TFormValue ParseValue() {
        TFormValue v;
        const char c = Peek();
        v.Line = FLine;
        if (c == '\'' || c == '#') {
            v.Type = TFormValue::vaString;
            v.Str = ParseString();
        } else if (c == '-' || c == '+' || c == '$' || IsDigit(c)) {
            v.Type = TFormValue::vaInteger;
            v.Int = ParseInteger();
        } else if (IsIdentStart(c)) {
            v.Type = TFormValue::vaIdent;
            v.Ident = Ident();
            while (Peek() == '.') { // qualified references: Form2.Button1
                ++FPos;
                v.Ident += '.';
                v.Ident += Ident();
            }
        } else if (c == '[') {
            ++FPos;
            v.Type = TFormValue::vaSet;
            if (Peek() != ']') {
                v.Members.push_back(Ident());
                while (Peek() == ',') {
                    ++FPos;
                    v.Members.push_back(Ident());
                }
            }
            Expect(']');
        } else if (c == '(') {
            ++FPos;
            v.Type = TFormValue::vaList;
            while (Peek() != ')') {
                if (Peek() == '\0')
                    Fail("')' expected");
                v.List.push_back(ParseValue());
            }
            ++FPos;
        } else if (c == '<') {
            ++FPos;
            v.Type = TFormValue::vaCollection;
            while (Peek() != '>') {
                if (!AtKeyword("item"))
                    Fail("'item' or '>' expected");
                v.Items.push_back(ParseItem());
            }
            ++FPos;
        } else if (c == '{') {
            ++FPos;
            v.Type = TFormValue::vaBinary;
            v.Bytes = ParseHex();
        } else {
            Fail("property value expected");
        }
        return v;
    }

    TFormItem ParseItem() {
        TFormItem item;
        item.Line = FLine;
        Ident();             // "item"
        if (Peek() == '[') { // an explicit order index is accepted and ignored
            ++FPos;
            ParseInteger();
            Expect(']');
        }
        while (!AtKeyword("end")) {
            if (Peek() == '\0')
                Fail("'end' expected for a collection item");
            item.Props.push_back(ParseProperty());
        }
        Ident();
        return item;
    }

    int64_t ParseInteger() {
        const size_t start = FPos;
        if (FText[FPos] == '-' || FText[FPos] == '+')
            ++FPos;
        if (FPos < FText.size() && FText[FPos] == '$') {
            ++FPos;
            while (FPos < FText.size() && HexValue(FText[FPos]) >= 0)
                ++FPos;
        } else {
            while (FPos < FText.size() && IsDigit(FText[FPos]))
                ++FPos;
            if (FPos < FText.size() && (FText[FPos] == '.' || FText[FPos] == 'e' || FText[FPos] == 'E'))
                Fail("floating-point values are not supported");
        }
        int64_t value = 0;
        if (!TryStrToInt64(FText.substr(start, FPos - start), value))
            Fail(FormatMsg("invalid integer '%s'", {FText.substr(start, FPos - start)}));
        return value;
    }

    std::wstring ParseString() {
        std::wstring out;
        while (true) {
            SkipBlanks();
            if (FPos < FText.size() && FText[FPos] == '\'') {
                out += ParseQuoted();
            } else if (FPos < FText.size() && FText[FPos] == '#') {
                ++FPos;
                out += CodePoint(ParseCharCode());
            } else {
                Fail("string expected");
            }
            // Pieces follow each other directly, or after a '+' (possibly on the next line).
            if (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#'))
                continue;
            if (Peek() == '+') {
                ++FPos;
                continue;
            }
            return out;
        }
    }

    int64_t ParseCharCode() {
        const size_t start = FPos;
        const bool hex = FPos < FText.size() && FText[FPos] == '$';
        if (hex)
            ++FPos;
        while (FPos < FText.size() && (hex ? HexValue(FText[FPos]) >= 0 : IsDigit(FText[FPos])))
            ++FPos;
        int64_t code = 0;
        if (!TryStrToInt64(FText.substr(start, FPos - start), code) || code < 0 || code > 0x10FFFF)
            Fail("invalid character code");
        return code;
    }

    static std::wstring CodePoint(int64_t code) {
        if (code < 0x10000)
            return std::wstring(1, static_cast<wchar_t>(code));
        std::string utf8;
        utf8 += static_cast<char>(0xF0 | (code >> 18));
        utf8 += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
        return Utf8ToWide(utf8);
    }

    std::wstring ParseQuoted() {
        ++FPos; // opening quote
        std::string utf8;
        while (true) {
            if (FPos >= FText.size() || FText[FPos] == '\n')
                Fail("unterminated string");
            if (FText[FPos] == '\'') {
                if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
                    utf8 += '\'';
                    FPos += 2;
                    continue;
                }
                ++FPos;
                return Utf8ToWide(utf8);
            }
            utf8 += FText[FPos++];
        }
    }

    std::vector<uint8_t> ParseHex() {
        std::vector<uint8_t> bytes;
        int high = -1;
        while (true) {
            if (FPos >= FText.size())
                Fail("'}' expected");
            const char c = FText[FPos++];
            if (c == '}')
                break;
            if (c == '\n') {
                ++FLine;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r')
                continue;
            const int v = HexValue(c);
            if (v < 0)
                Fail("hexadecimal digit expected in binary data");
            if (high < 0) {
                high = v;
            } else {
                bytes.push_back(static_cast<uint8_t>(high << 4 | v));
                high = -1;
            }
        }
        if (high >= 0)
            Fail("odd number of hexadecimal digits in binary data");
        return bytes;
    }

    std::string_view FText;
    std::string_view FSource;
    size_t FPos = 0;
    int FLine = 1;
};

// ---- writer --------------------------------------------------------------------------------

std::string Indent(int depth) {
    return std::string(static_cast<size_t>(depth) * 2, ' ');
}

std::string QuoteString(const std::wstring& s) {
    std::string out;
    bool open = false;
    for (wchar_t ch : s) {
        const auto code = static_cast<uint32_t>(ch);
        if (code >= 32 && code < 127) {
            if (!open) {
                out += '\'';
                open = true;
            }
            if (ch == L'\'')
                out += '\'';
            out += static_cast<char>(ch);
        } else if (code >= 127 && code != 0xFFFE && code != 0xFFFF && !(code >= 0xD800 && code < 0xE000)) {
            if (!open) {
                out += '\'';
                open = true;
            }
            out += WideToUtf8(std::wstring(1, ch));
        } else {
            if (open) {
                out += '\'';
                open = false;
            }
            out += '#' + IntToStr(code);
        }
    }
    if (open)
        out += '\'';
    return out.empty() ? "''" : out;
}

void WriteValue(std::string& out, const TFormValue& v, int depth);

void WriteProps(std::string& out, const std::vector<TFormProperty>& props, int depth) {
    for (const TFormProperty& p : props) {
        out += Indent(depth) + p.Path + " = ";
        WriteValue(out, p.Value, depth);
        out += '\n';
    }
}

void WriteValue(std::string& out, const TFormValue& v, int depth) {
    switch (v.Type) {
    case TFormValue::vaInteger:
        out += IntToStr(v.Int);
        break;
    case TFormValue::vaString:
        out += QuoteString(v.Str);
        break;
    case TFormValue::vaIdent:
        out += v.Ident;
        break;
    case TFormValue::vaSet:
        out += '[';
        for (size_t i = 0; i < v.Members.size(); ++i)
            out += (i ? ", " : "") + v.Members[i];
        out += ']';
        break;
    case TFormValue::vaList:
        out += '(';
        for (const TFormValue& item : v.List) {
            out += '\n' + Indent(depth + 1);
            WriteValue(out, item, depth + 1);
        }
        out += ')';
        break;
    case TFormValue::vaCollection:
        out += '<';
        for (const TFormItem& item : v.Items) {
            out += '\n' + Indent(depth + 1) + "item\n";
            WriteProps(out, item.Props, depth + 2);
            out += Indent(depth + 1) + "end";
        }
        out += '>';
        break;
    case TFormValue::vaBinary: {
        out += '{';
        for (size_t i = 0; i < v.Bytes.size(); ++i) {
            if (i % 32 == 0)
                out += '\n' + Indent(depth + 1);
            out += IntToHex(v.Bytes[i], 2);
        }
        out += '}';
        break;
    }
    }
}

void WriteObject(std::string& out, const TFormObject& obj, int depth) {
    out += Indent(depth) + "object " + (obj.Name.empty() ? "" : obj.Name + ": ") + obj.ClassName + '\n';
    WriteProps(out, obj.Props, depth + 1);
    for (const TFormObject& child : obj.Children)
        WriteObject(out, child, depth + 1);
    out += Indent(depth) + "end\n";
}

} // namespace

TFormObject ParseFormDescription(std::string_view text, std::string_view sourceName) {
    return Parser(text, sourceName).ParseRoot();
}

std::string WriteFormDescription(const TFormObject& root) {
    std::string out;
    WriteObject(out, root, 0);
    return out;
}
