#include "SkinMessage.h"

namespace {

TSkinMessageSink& CurrentSink() {
    static TSkinMessageSink sink;
    return sink;
}

} // namespace

void ShowSkinMessage(const std::string& text) {
    const TSkinMessageSink& sink = CurrentSink();
    if (sink)
        sink(text);
    else
        DefaultSkinMessageSink(text);
}

TSkinMessageSink SetSkinMessageSink(TSkinMessageSink sink) {
    TSkinMessageSink previous = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
    return previous;
}
