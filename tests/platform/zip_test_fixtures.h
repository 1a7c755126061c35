// Fixtures for the zip archive tests: sample file contents, zip files written byte by byte
// (independent of the archive code), and the manifest that check_zip.py reads on the host.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zip_fixtures {

// Deterministic bytes: random-looking (deflate cannot shrink them) or repetitive text.
std::string NoiseBytes(size_t size, uint32_t seed);
std::string TextBytes(size_t size, uint32_t seed);

// "C:\A\B.TXT" -> "C:/A/B.TXT", the entry name callers store.
std::wstring EntryNameFor(const std::wstring& path);

// One stored (uncompressed) entry of a hand-made archive; the name is raw bytes.
struct RawEntry {
    std::string name;
    std::string data;
    uint16_t flags = 0;
};

// A zip file with stored entries, laid out by hand from the file format description.
std::string HandMadeZip(const std::vector<RawEntry>& entries);

// Writes `folder`\python-check.txt and copies of the expected contents, for check_zip.py:
// the archive must hold exactly these entries (name, bytes), each with the UTF-8 flag.
void WritePythonManifest(const std::wstring& folder, const std::wstring& archiveFileName,
                         const std::vector<std::pair<std::wstring, std::string>>& expected);

// CRC-32 of bytes, computed here bit by bit.
uint32_t Crc32(const std::string& bytes);

}  // namespace zip_fixtures
