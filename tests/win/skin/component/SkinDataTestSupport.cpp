#include "SkinDataTestSupport.h"

#include "FormReader.h"
#include "LzhEncoder.h"
#include "SkinFiles.h"
#include "SkinPacker.h"
#include "SkinTestImages.h"

#include <algorithm>

namespace skindatatest {

std::vector<std::uint8_t> StoredSkinFile() {
    return ReadFileBytes(TW_SKIN_PACKAGE);
}

std::vector<std::uint8_t> SmallSkinFile() {
    const std::string ini = "[Colours]\r\nButtonFace=10 20 30\r\n"
                            "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=3\r\n";
    const std::vector<std::uint8_t> bmp = skintest::BmpFile(4, 2, clRed);
    return LzhEncode(BuildSkinPackage(
        {{"button.bmp", bmp}, {"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())}}));
}

std::vector<std::uint8_t> SkinStreamOf(const std::vector<std::uint8_t>& file) {
    std::vector<std::uint8_t> stream(4 + file.size());
    const auto count = static_cast<std::uint32_t>(file.size());
    for (std::size_t i = 0; i < 4; ++i)
        stream[i] = static_cast<std::uint8_t>(count >> (8 * i));
    std::copy(file.begin(), file.end(), stream.begin() + 4);
    return stream;
}

std::string FormText(const std::string& properties) {
    return "object Root: TComponent\n  object SkinData1: TSkinData\n" + properties + "\n  end\nend\n";
}

TLoadedForm::TLoadedForm(const std::string& properties) : FRoot(new TComponent(nullptr)) {
    ReadComponentText(*FRoot, FormText(properties), "test form");
    FSkinData = dynamic_cast<TSkinData*>(FRoot->FindComponent("SkinData1"));
}

TMessageLog::TMessageLog()
    : FScope([messages = FMessages](const std::string& text) { messages->push_back(text); }) {}

TRecordingWatcherScope::TRecordingWatcherScope()
    : FPrevious(SetSkinWatcherFactory([this] { return std::make_unique<TRecordingWatcher>(Calls); })) {}

TRecordingWatcherScope::~TRecordingWatcherScope() {
    FreeSkinWatcher();
    SetSkinWatcherFactory(std::move(FPrevious));
}

} // namespace skindatatest
