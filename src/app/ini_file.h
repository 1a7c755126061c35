// The settings file format: INI text in code page 936 with CR LF line ends.
// Section and key names ignore letter case; spaces around names and values are ignored;
// blank lines and lines starting with ';' carry nothing. Booleans are written "1"/"0" and
// read as integers; integers are written in decimal and read in decimal or hexadecimal
// ("0x" or "$"); a value that does not parse gives the caller's default.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace app {

// Parses a decimal or hexadecimal ("0x1F", "$1F") integer; empty when the text is not one.
std::optional<int> ParseIniInteger(const std::wstring& text);

// Whole-file style: the file is loaded when the object is made, reads and writes work on
// the loaded copy, and Save replaces the whole file with it.
class TMemIniFile {
public:
    // Loads the file; a missing file is an empty one. Throws platform::AppError when the
    // file exists but cannot be read, so a later save cannot overwrite it with defaults.
    explicit TMemIniFile(std::wstring path);

    const std::wstring& FileName() const { return path_; }

    std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& def) const;
    int ReadInteger(const std::wstring& section, const std::wstring& key, int def) const;
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool def) const;

    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
    void WriteBool(const std::wstring& section, const std::wstring& key, bool value);

    // Section names in file order, then those this object created.
    std::vector<std::wstring> ReadSections() const;
    // Key names of a section in order; empty when the section is absent.
    std::vector<std::wstring> ReadSection(const std::wstring& section) const;
    // Key names with their values, in order.
    std::vector<std::pair<std::wstring, std::wstring>> ReadSectionValues(const std::wstring& section) const;
    bool SectionExists(const std::wstring& section) const;
    bool ValueExists(const std::wstring& section, const std::wstring& key) const;
    void EraseSection(const std::wstring& section);
    void DeleteKey(const std::wstring& section, const std::wstring& key);

    // Replaces the file: each section as [name], its key lines and one empty line.
    // Throws platform::AppError when the file cannot be written; the copy is kept.
    void Save() const;

private:
    struct Entry {
        std::wstring key;
        std::wstring upperKey;
        std::wstring value;
    };
    struct Section {
        std::wstring name;
        std::wstring upperName;
        std::vector<Entry> entries;
    };

    const Section* FindSection(const std::wstring& name) const;
    Section* FindSection(const std::wstring& name);
    const Entry* FindEntry(const std::wstring& section, const std::wstring& key) const;

    std::wstring path_;
    std::vector<Section> sections_;
};

// Write-through style: every read looks at the file, every write changes only the line
// concerned and reaches the file at once. Used by program start-up.
class TIniFile {
public:
    explicit TIniFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& FileName() const { return path_; }

    std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& def) const;
    int ReadInteger(const std::wstring& section, const std::wstring& key, int def) const;
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool def) const;
    bool ValueExists(const std::wstring& section, const std::wstring& key) const;

    // Each throws platform::AppError when the file cannot be written.
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
    void WriteBool(const std::wstring& section, const std::wstring& key, bool value);

private:
    std::optional<std::wstring> Find(const std::wstring& section, const std::wstring& key) const;

    std::wstring path_;
};

}  // namespace app
