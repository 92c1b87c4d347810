// Form descriptions: the text a form and its components are stored as (one file per form,
// compiled into the program as a resource). The text is UTF-8:
//
//   object main: Tmain                       root: instance name and class
//     Caption = 'Tarnwick'#20248'x'          strings: quoted ('' is a quote), #N is the
//     Left = -8                                character with code point N, pieces joined
//     Color = clWhite                          directly or with '+' (also across lines)
//     BorderIcons = [biSystemMenu, biMinimize]
//     Font.Height = -11                      dotted paths reach sub-objects
//     Menu = MainMenu1                       references to components by name, nil allowed
//     OnCreate = FormCreate                  events bound to the root's published methods
//     Items.Strings = ('one' 'two')          string lists
//     Panels = <                             collections
//       item
//         Width = 150
//       end>
//     SkinStream = {0A000000 48656C6C6F}      binary data in hex, blanks ignored
//     object Panel1: TPanel                  owned components, nested by parent
//       ...
//     end
//   end
//
// Properties come before the nested objects of an object; both keep their written order.
// "//" starts a comment that runs to the end of the line.
#pragma once

#include "SysUtils.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

TW_DECLARE_EXCEPTION(EParserError, Exception);

struct TFormProperty;

struct TFormItem {
    int Line = 0;
    std::vector<TFormProperty> Props;
};

struct TFormValue {
    enum Kind { vaInteger, vaString, vaIdent, vaSet, vaList, vaCollection, vaBinary };
    Kind Type = vaInteger;
    int Line = 0;
    int64_t Int = 0;
    std::wstring Str;                 // vaString
    std::string Ident;                // vaIdent
    std::vector<std::string> Members; // vaSet
    std::vector<TFormValue> List;     // vaList
    std::vector<TFormItem> Items;     // vaCollection
    std::vector<uint8_t> Bytes;       // vaBinary
};

struct TFormProperty {
    int Line = 0;
    std::string Path; // "Caption", "Font.Height"
    TFormValue Value;
};

struct TFormObject {
    int Line = 0;
    std::string Name;
    std::string ClassName;
    std::vector<TFormProperty> Props;
    std::vector<TFormObject> Children;
};

// Parses one description; errors raise EParserError naming the source and the line.
TFormObject ParseFormDescription(std::string_view text, std::string_view sourceName);

// Writes a description in the format above (the parser reads it back unchanged).
std::string WriteFormDescription(const TFormObject& root);
