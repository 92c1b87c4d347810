#include "Streams.h"

#include "SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#define TW_FSEEK _fseeki64
#define TW_FTELL _ftelli64
#else
#include <unistd.h>
#define TW_FSEEK fseeko
#define TW_FTELL ftello
#endif

// ---- TStream -------------------------------------------------------------------------------

int64_t TStream::Size() {
    const int64_t pos = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 64 * 1024)));
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

uint32_t TStream::ReadUInt32LE() {
    uint8_t b[4];
    ReadBuffer(b, 4);
    return uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
}

void TStream::WriteUInt32LE(uint32_t value) {
    const uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    WriteBuffer(b, 4);
}

// ---- TCustomMemoryStream -------------------------------------------------------------------

void TCustomMemoryStream::SetPointer(const void* memory, int64_t size) {
    FMemory = memory;
    FSize = size;
}

int64_t TCustomMemoryStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || FPosition >= FSize)
        return 0;
    const int64_t n = std::min(count, FSize - FPosition);
    std::memcpy(buffer, static_cast<const uint8_t*>(FMemory) + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TCustomMemoryStream::Write(const void*, int64_t) {
    throw EStreamError("Stream write error: the stream is read-only");
}

void TCustomMemoryStream::SetSize(int64_t) {
    throw EStreamError("Stream is read-only");
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : FSize;
    const int64_t target = base + offset;
    if (target < 0)
        throw EStreamError("Invalid stream position");
    FPosition = target;
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
    stream.WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const std::string& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TMemoryStream -------------------------------------------------------------------------

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0)
        return 0;
    const int64_t end = FPosition + count;
    if (end > static_cast<int64_t>(FData.size()))
        FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    Sync();
    return count;
}

void TMemoryStream::SetSize(int64_t size) {
    if (size < 0)
        throw EStreamError("Invalid stream size");
    FData.resize(static_cast<size_t>(size));
    Sync();
    if (FPosition > size)
        FPosition = size;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
    Sync();
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    const int64_t size = stream.Size();
    SetSize(size);
    stream.ReadBuffer(FData.data(), size);
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(file);
}

// ---- TFileStream ---------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : FFileName(fileName) {
    const char* how = mode == fmCreate ? "w+b" : (mode & 3) == fmOpenRead ? "rb" : "r+b";
    FFile = std::fopen(fileName.c_str(), how);
    if (!FFile) {
        const std::string reason = std::strerror(errno);
        if (mode == fmCreate)
            throw EFCreateError(FormatMsg("Cannot create file \"%s\". %s", {fileName, reason}));
        throw EFOpenError(FormatMsg("Cannot open file \"%s\". %s", {fileName, reason}));
    }
}

TFileStream::~TFileStream() {
    if (FFile)
        std::fclose(FFile);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    if (count <= 0)
        return 0;
    return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    if (count <= 0)
        return 0;
    return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    if (TW_FSEEK(FFile, offset, whence) != 0)
        throw EStreamError(FormatMsg("Cannot seek in file \"%s\"", {FFileName}));
    return static_cast<int64_t>(TW_FTELL(FFile));
}

void TFileStream::SetSize(int64_t size) {
    std::fflush(FFile);
#ifdef _WIN32
    const int rc = _chsize_s(_fileno(FFile), size);
#else
    const int rc = ftruncate(fileno(FFile), static_cast<off_t>(size));
#endif
    if (rc != 0)
        throw EStreamError(FormatMsg("Cannot change the size of file \"%s\"", {FFileName}));
    if (Position() > size)
        Seek(size, soBeginning);
}
