// Byte streams: memory, files and (on Windows) read-only resources.
#pragma once

#include "Object.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Read and Write move up to count bytes and return how many they moved.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size();
    virtual void SetSize(int64_t size) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    // Exactly count bytes or EReadError / EWriteError.
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from source's position; count 0 copies all of source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);

    // Fixed-width little-endian values, as stored in files.
    uint32_t ReadUInt32LE();
    int32_t ReadInt32LE() { return static_cast<int32_t>(ReadUInt32LE()); }
    void WriteUInt32LE(uint32_t value);
    void WriteInt32LE(int32_t value) { WriteUInt32LE(static_cast<uint32_t>(value)); }
};

// A stream over memory it does not own (resources, caller buffers); read-only.
class TCustomMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }
    void SetSize(int64_t size) override;
    const void* Memory() const { return FMemory; }
    void SaveToStream(TStream& stream);
    void SaveToFile(const std::string& fileName);

protected:
    void SetPointer(const void* memory, int64_t size);
    int64_t FPosition = 0;

private:
    const void* FMemory = nullptr;
    int64_t FSize = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
    TMemoryStream() = default;
    int64_t Write(const void* buffer, int64_t count) override;
    void SetSize(int64_t size) override;
    void Clear();
    void* Memory() { return FData.data(); }
    const std::vector<uint8_t>& Bytes() const { return FData; }
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);

private:
    void Sync() { SetPointer(FData.data(), static_cast<int64_t>(FData.size())); }
    std::vector<uint8_t> FData;
};

// Open modes. fmCreate makes a new file (or empties an existing one) for reading and writing.
enum : uint16_t { fmOpenRead = 0x0000, fmOpenWrite = 0x0001, fmOpenReadWrite = 0x0002, fmCreate = 0xFF00 };

class TFileStream : public TStream {
public:
    // Raises EFOpenError / EFCreateError with the file name and the system's reason.
    TFileStream(const std::string& fileName, uint16_t mode);
    ~TFileStream() override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    std::FILE* FFile = nullptr;
};

#ifdef _WIN32
// A resource of a module (RT_RCDATA by default) as a read-only stream; raises EResNotFound.
class TResourceStream : public TCustomMemoryStream {
public:
    TResourceStream(void* instance, const std::string& name, const char* type = nullptr);
    static bool Exists(void* instance, const std::string& name, const char* type = nullptr);
};
#endif
