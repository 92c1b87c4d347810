// Exceptions with messages and the small text helpers the toolkit shares.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

// Base of every error the toolkit raises; the message is what the user sees in the
// application's error box.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define TW_DECLARE_EXCEPTION(Name, Base)                                                                     \
    class Name : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
    }

TW_DECLARE_EXCEPTION(EConvertError, Exception);
TW_DECLARE_EXCEPTION(EListError, Exception);
TW_DECLARE_EXCEPTION(EStringListError, EListError);
TW_DECLARE_EXCEPTION(EStreamError, Exception);
TW_DECLARE_EXCEPTION(EReadError, EStreamError);
TW_DECLARE_EXCEPTION(EWriteError, EStreamError);
TW_DECLARE_EXCEPTION(EFOpenError, EStreamError);
TW_DECLARE_EXCEPTION(EFCreateError, EStreamError);
TW_DECLARE_EXCEPTION(EResNotFound, Exception);
TW_DECLARE_EXCEPTION(EClassNotFound, Exception);
TW_DECLARE_EXCEPTION(EPropertyError, Exception);
TW_DECLARE_EXCEPTION(EComponentError, Exception);
TW_DECLARE_EXCEPTION(EInvalidOperation, Exception);
TW_DECLARE_EXCEPTION(EOutOfResources, Exception);
TW_DECLARE_EXCEPTION(EAbort, Exception);

// Replaces each "%s" in order by the next argument ("%%" is a literal percent sign); the
// messages of the toolkit use nothing else.
std::string FormatMsg(std::string_view pattern, std::initializer_list<std::string_view> args);

// ASCII-only case mapping and comparison: identifiers, property names and class names.
char LowerChar(char c);
std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool IsValidIdent(std::string_view s);

std::string IntToStr(int64_t value);
std::string IntToHex(uint64_t value, int digits);
// Decimal or "$"/"0x" hexadecimal with an optional sign; raises EConvertError otherwise.
int64_t StrToInt64(std::string_view s);
int32_t StrToInt(std::string_view s);
bool TryStrToInt64(std::string_view s, int64_t& value);

// Text conversion between the system's 8-bit code page and UTF-16. On Windows the code page
// is the process's ANSI code page; elsewhere 8-bit text is UTF-8.
std::wstring AnsiToWide(std::string_view s);
std::string WideToAnsi(std::wstring_view s);
std::wstring Utf8ToWide(std::string_view s);
std::string WideToUtf8(std::wstring_view s);
// Case-insensitive comparison of 8-bit text in the system's code page (string lists).
int AnsiCompareText(std::string_view a, std::string_view b);
int AnsiCompareStr(std::string_view a, std::string_view b);
