#include "undo_test_fixtures.h"

#include <windows.h>


#include "platform/zip_archive.h"
#include "support/test_support.h"

namespace undo_fixtures {

using testing_support::ReadFileBytes;
using testing_support::Utf8;
using testing_support::WriteFileBytes;

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

removal::UndoPlace MakePlace(const std::wstring& dir)
{
    const std::wstring folder = dir + L"prog\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return {folder, L"撤销20090312"};
}

removal::UndoWriter WriterFor(const removal::UndoPlace& place)
{
    removal::UndoWriter writer;
    writer.place = place;
    return writer;
}

std::vector<std::wstring> EntryPaths(const std::wstring& archivePath)
{
    std::vector<std::wstring> paths;
    if (!testing_support::FileExists(archivePath))
        return paths;
    for (const platform::ZipEntryInfo& entry : platform::ZipArchive(archivePath).Entries())
        paths.push_back(entry.Path());
    return paths;
}

std::string EntryBytes(const std::wstring& archivePath, const std::wstring& path, const std::wstring& scratchDir)
{
    testing_support::RemoveTree(scratchDir);
    platform::ZipArchive(archivePath).Extract({path}, {scratchDir, true});
    return ReadFileBytes(scratchDir + path.substr(0, 1) + path.substr(2));
}

void AddToArchive(const std::wstring& archivePath, const std::wstring& sourcePath, const std::string& bytes)
{
    WriteFileBytes(sourcePath, bytes);
    platform::ZipArchive(archivePath).Add(sourcePath, sourcePath);
    DeleteFileW(sourcePath.c_str());
}

void WritePythonManifest(const std::wstring& folder, const std::vector<ExpectedEntry>& expected)
{
    std::string manifest;
    int copy = 0;
    for (const ExpectedEntry& entry : expected) {
        const std::string copyName = "copy" + std::to_string(copy++) + ".bin";
        WriteFileBytes(folder + L"python\\" + testing_support::Wide(copyName), entry.bytes);
        std::wstring name = entry.path;
        for (wchar_t& c : name) {
            if (c == L'\\')
                c = L'/';
        }
        manifest += Utf8(entry.archive) + "\t" + Utf8(name) + "\t" + copyName + "\n";
    }
    WriteFileBytes(folder + L"python\\undo-check.txt", manifest);
}

}  // namespace undo_fixtures
