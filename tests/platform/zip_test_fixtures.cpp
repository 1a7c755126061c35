#include "zip_test_fixtures.h"

#include "support/test_support.h"

namespace zip_fixtures {

namespace {

void Put16(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::string NoiseBytes(size_t size, uint32_t seed)
{
    std::string out(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& c : out) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = static_cast<char>(state >> 24);
    }
    return out;
}

std::string TextBytes(size_t size, uint32_t seed)
{
    std::string out;
    while (out.size() < size)
        out += "line " + std::to_string(seed) + " " + std::to_string(out.size()) + "\r\n";
    out.resize(size);
    return out;
}

std::wstring EntryNameFor(const std::wstring& path)
{
    std::wstring name = path;
    for (wchar_t& c : name) {
        if (c == L'\\')
            c = L'/';
    }
    return name;
}

uint32_t Crc32(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::string HandMadeZip(const std::vector<RawEntry>& entries)
{
    std::string body;
    std::string directory;
    for (const RawEntry& entry : entries) {
        const uint32_t offset = static_cast<uint32_t>(body.size());
        const uint32_t crc = Crc32(entry.data);
        const uint32_t size = static_cast<uint32_t>(entry.data.size());
        Put32(body, 0x04034b50);
        Put16(body, 10);                      // version needed
        Put16(body, entry.flags);
        Put16(body, 0);                       // stored
        Put16(body, (10 << 11) | (20 << 5));  // 10:20:00
        Put16(body, (29 << 9) | (3 << 5) | 12);  // 2009-03-12
        Put32(body, crc);
        Put32(body, size);
        Put32(body, size);
        Put16(body, static_cast<uint32_t>(entry.name.size()));
        Put16(body, 0);
        body += entry.name + entry.data;

        Put32(directory, 0x02014b50);
        Put16(directory, 10);  // made by MS-DOS, version 1.0
        Put16(directory, 10);
        Put16(directory, entry.flags);
        Put16(directory, 0);
        Put16(directory, (10 << 11) | (20 << 5));
        Put16(directory, (29 << 9) | (3 << 5) | 12);
        Put32(directory, crc);
        Put32(directory, size);
        Put32(directory, size);
        Put16(directory, static_cast<uint32_t>(entry.name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0x20);  // archive attribute
        Put32(directory, offset);
        directory += entry.name;
    }
    std::string end;
    Put32(end, 0x06054b50);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<uint32_t>(entries.size()));
    Put16(end, static_cast<uint32_t>(entries.size()));
    Put32(end, static_cast<uint32_t>(directory.size()));
    Put32(end, static_cast<uint32_t>(body.size()));
    Put16(end, 0);
    return body + directory + end;
}

void WritePythonManifest(const std::wstring& folder, const std::wstring& archiveFileName,
                         const std::vector<std::pair<std::wstring, std::string>>& expected)
{
    using testing_support::Utf8;
    std::string manifest = Utf8(archiveFileName) + "\n";
    for (size_t i = 0; i < expected.size(); ++i) {
        const std::string copy = "expected-" + std::to_string(i) + ".bin";
        testing_support::WriteFileBytes(folder + L"python\\" + testing_support::Wide(copy), expected[i].second);
        manifest += Utf8(expected[i].first) + "\t" + copy + "\n";
    }
    testing_support::WriteFileBytes(folder + L"python\\python-check.txt", manifest);
}

}  // namespace zip_fixtures
