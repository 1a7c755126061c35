// Fixtures for the undo archive tests: file contents, a program folder with today's stem,
// reading archives back, and the manifest that check_undo.py reads on the host.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "removal/undo_archive.h"
#include "removal/undo_names.h"

namespace undo_fixtures {

// Deterministic bytes: random-looking (deflate cannot shrink them) or repetitive text.
std::string NoiseBytes(size_t size, uint32_t seed);
std::string TextBytes(size_t size, uint32_t seed);

// `dir`prog\ (created) as the program folder, with the stem of 12 March 2009.
removal::UndoPlace MakePlace(const std::wstring& dir);

// A writer for `place` with no pump, no notice and plain deletion.
removal::UndoWriter WriterFor(const removal::UndoPlace& place);

// The entries' paths ("C:\A\B.TXT") in archive order; empty when there is no archive.
std::vector<std::wstring> EntryPaths(const std::wstring& archivePath);

// The bytes of the entry for `path`, extracted below `scratchDir`.
std::string EntryBytes(const std::wstring& archivePath, const std::wstring& path, const std::wstring& scratchDir);

// Adds a file with these bytes to an archive directly (a set written on an earlier day).
void AddToArchive(const std::wstring& archivePath, const std::wstring& sourcePath, const std::string& bytes);

// One expected entry for check_undo.py: the archive (file name in `folder`), entry path, bytes.
struct ExpectedEntry {
    std::wstring archive;
    std::wstring path;
    std::string bytes;
};

// Writes `folder`python\undo-check.txt and copies of the expected bytes: each archive named
// there must hold exactly these entries with these bytes.
void WritePythonManifest(const std::wstring& folder, const std::vector<ExpectedEntry>& expected);

}  // namespace undo_fixtures
