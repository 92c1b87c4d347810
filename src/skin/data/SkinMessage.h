#pragma once
// Where the skin reader's messages to the user go. The Windows program shows them in a modal
// message box; the portable default writes them to stderr. Tests and tools install their own.
#include <functional>
#include <string>

using TSkinMessageSink = std::function<void(const std::string& text)>;

// Shows text through the current sink. Lines are separated by a single CR, as in a message box.
void ShowSkinMessage(const std::string& text);

// Installs sink and returns the previous one; an empty sink restores the platform default.
TSkinMessageSink SetSkinMessageSink(TSkinMessageSink sink);

// The platform default: a modal message box on Windows, a line on stderr elsewhere.
void DefaultSkinMessageSink(const std::string& text);

// Installs a sink for the lifetime of the scope and puts the previous one back.
class TSkinMessageSinkScope {
public:
    explicit TSkinMessageSinkScope(TSkinMessageSink sink) : FPrevious(SetSkinMessageSink(std::move(sink))) {}
    ~TSkinMessageSinkScope() { SetSkinMessageSink(std::move(FPrevious)); }
    TSkinMessageSinkScope(const TSkinMessageSinkScope&) = delete;
    TSkinMessageSinkScope& operator=(const TSkinMessageSinkScope&) = delete;

private:
    TSkinMessageSink FPrevious;
};
