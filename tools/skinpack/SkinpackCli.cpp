#include "SkinpackCli.h"

#include "Lzh.h"
#include "LzhEncoder.h"
#include "SkinFiles.h"
#include "SkinMessage.h"
#include "SkinPacker.h"
#include "SkinRead.h"
#include "SkinText.h"
#include "WinSkinIni.h"

#include <algorithm>
#include <functional>
#include <iomanip>
#include <map>
#include <ostream>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

constexpr const char* Usage = R"(Usage: skinpack COMMAND ARGUMENTS

Commands:
  pack DIR OUT.skn          pack the INI and the bitmaps of DIR into a skin file
  list SKIN                 list the entries of a skin file with their sizes
  extract SKIN NAME OUT     copy the entry NAME (any case) of a skin file to OUT
  info SKIN                 version, entries, INI sections, and the bitmaps the INI
                            names that the skin lacks (and the reverse)
  lzh-encode IN OUT         compress IN into the skin file compression format
  lzh-decode IN OUT         decompress a file in that format
  --help                    show this text

Exit codes: 0 success, 1 bad input or a file that cannot be read or written, 2 wrong usage.
)";

struct TCommand {
    std::size_t Arguments;
    std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)> Run;
};

std::string Joined(const std::vector<std::string>& items) {
    if (items.empty())
        return "none";
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

// Loads a skin file with the reader the program uses; its rejection message becomes the error.
TSkinReader LoadSkin(const std::string& path) {
    const std::vector<std::uint8_t> file = ReadFileBytes(path);
    if (file.size() < 4)
        throw ESkinpackError(path + " is not a skin file: it is shorter than its 4-byte length field");
    std::string message;
    TSkinMessageSinkScope sink([&message](const std::string& text) { message = text; });
    TSkinReader reader;
    bool loaded = false;
    try {
        loaded = reader.LoadPackage(file);
    } catch (const ElzhException& error) {
        throw ESkinpackError(path + " cannot be decompressed: " + error.what());
    }
    if (!loaded) {
        std::replace(message.begin(), message.end(), '\r', ' ');
        throw ESkinpackError(path + " is rejected (version " + std::to_string(reader.Version()) +
                             "): " + message);
    }
    return reader;
}

int Pack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const TPackedSkin skin = PackSkinFolder(args[0]);
    for (const std::string& warning : skin.Warnings)
        err << "skinpack: warning: " << warning << '\n';
    WriteFileBytes(args[1], skin.File);
    out << "packed " << skin.Names.size() << " entries into " << args[1] << " (" << skin.File.size()
        << " bytes)\n";
    return ExitOk;
}

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    const TSkinReader reader = LoadSkin(args[0]);
    for (std::size_t i = 0; i < reader.Names().size(); ++i)
        out << std::setw(10) << reader.Size(i) << "  " << reader.Names()[i] << '\n';
    return ExitOk;
}

int Extract(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    const TSkinReader reader = LoadSkin(args[0]);
    const std::string wanted = SkinText::LowerCase(args[1]);
    const auto& names = reader.Names();
    if (std::find(names.begin(), names.end(), wanted) == names.end())
        throw ESkinpackError(args[0] + " has no entry named " + args[1]);
    std::vector<std::uint8_t> entry;
    reader.ExtractEntry(args[1], entry);
    WriteFileBytes(args[2], entry);
    out << "extracted " << wanted << " (" << entry.size() << " bytes) to " << args[2] << '\n';
    return ExitOk;
}

int Info(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    const TSkinReader reader = LoadSkin(args[0]);
    out << "version " << reader.Version() << '\n'
        << "entries " << reader.Count() << " (names " << reader.NamesLength() << " bytes, reserved "
        << reader.Reserved1() << ' ' << reader.Reserved2() << ")\n";
    for (std::size_t i = 0; i < reader.Names().size(); ++i)
        out << "  " << std::setw(10) << reader.Size(i) << "  " << reader.Names()[i] << '\n';

    std::vector<std::uint8_t> iniBytes;
    std::string iniName;
    reader.ExtractFirstMatch(".ini", iniBytes, iniName);
    if (iniName.empty()) {
        out << "INI: none (the program would find no skin settings)\n";
        return ExitOk;
    }
    const std::string_view iniText(reinterpret_cast<const char*>(iniBytes.data()), iniBytes.size());
    TQuickIni ini;
    ini.LoadFromText(iniText);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    out << "INI " << iniName << ": " << sections.size() << " sections: " << Joined(sections) << '\n';
    const TSkinCrossCheck check = CrossCheckSkin(iniText, reader.Names());
    out << "bitmaps the INI names that the skin lacks: " << Joined(check.Missing) << '\n'
        << "bitmaps in the skin that the INI does not name: " << Joined(check.Unused) << '\n';
    if (!check.Ignored.empty())
        out << "INI images the program ignores (extension not exactly .bmp): " << Joined(check.Ignored)
            << '\n';
    return ExitOk;
}

int Encode(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    const std::vector<std::uint8_t> data = ReadFileBytes(args[0]);
    if (data.size() > 0x7FFFFFFFu)
        throw ESkinpackError(args[0] + " is larger than the format's 2 GB limit");
    const std::vector<std::uint8_t> encoded = LzhEncode(data);
    WriteFileBytes(args[1], encoded);
    out << "encoded " << data.size() << " bytes into " << encoded.size() << " bytes\n";
    return ExitOk;
}

int Decode(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    const std::vector<std::uint8_t> file = ReadFileBytes(args[0]);
    if (file.size() < 4)
        throw ESkinpackError(args[0] + " is shorter than its 4-byte length field");
    std::uint32_t length = 0;
    for (int i = 3; i >= 0; --i)
        length = (length << 8) | file[static_cast<std::size_t>(i)];
    const auto size = static_cast<std::int32_t>(length);
    if (size < 0)
        throw ESkinpackError(args[0] + " declares a negative length (" + std::to_string(size) + ")");
    std::vector<std::uint8_t> data;
    try {
        data = TSkinReader::Decompress(file);
    } catch (const ElzhException& error) {
        throw ESkinpackError(args[0] + " cannot be decompressed: " + error.what());
    }
    WriteFileBytes(args[1], data);
    out << "decoded " << data.size() << " bytes\n";
    return ExitOk;
}

const std::map<std::string, TCommand>& Commands() {
    static const std::map<std::string, TCommand> commands = {
        {"pack", {2, Pack}}, {"list", {1, List}},         {"extract", {3, Extract}},
        {"info", {1, Info}}, {"lzh-encode", {2, Encode}}, {"lzh-decode", {2, Decode}},
    };
    return commands;
}

} // namespace

int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        out << Usage;
        return ExitOk;
    }
    if (args.empty()) {
        err << Usage;
        return ExitUsage;
    }
    const auto command = Commands().find(args[0]);
    if (command == Commands().end()) {
        err << "skinpack: unknown command \"" << args[0] << "\" (see skinpack --help)\n";
        return ExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (rest.size() != command->second.Arguments) {
        err << "skinpack: " << args[0] << " takes " << command->second.Arguments << " argument"
            << (command->second.Arguments == 1 ? "" : "s") << ", got " << rest.size()
            << " (see skinpack --help)\n";
        return ExitUsage;
    }
    try {
        return command->second.Run(rest, out, err);
    } catch (const ESkinpackError& error) {
        err << "skinpack: " << error.what() << '\n';
    } catch (const std::exception& error) {
        err << "skinpack: " << args[0] << " failed: " << error.what() << '\n';
    }
    return ExitFailure;
}
