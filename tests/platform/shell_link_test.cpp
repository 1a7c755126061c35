#include <gtest/gtest.h>
#include <windows.h>

#include <objidl.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <functional>
#include <optional>
#include <vector>

#include "app/shortcuts.h"
#include "platform/path_util.h"
#include "platform/shell_link.h"
#include "support/test_support.h"

using namespace platform;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::Wide;
using testing_support::WriteFileBytes;

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Writes a link straight through the shell's link object, independent of TPBShellLink.
void WriteRawLink(const std::wstring& path, const std::wstring& target, int showCommand,
                  const std::wstring& arguments = L"")
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))));
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    link->SetShowCmd(showCommand);
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Save(path.c_str(), TRUE)));
    file->Release();
    link->Release();
    CoUninitialize();
}

// The fields a read replaces, for comparing a link before and after a failed operation.
struct LinkFields {
    std::wstring fileName, target, workingDir, description, arguments;
    int showCommand;
    WORD hotKey;
    friend bool operator==(const LinkFields&, const LinkFields&) = default;
};

LinkFields FieldsOf(const TPBShellLink& link)
{
    return {link.FileName(),  link.Target(),      link.WorkingDir(), link.Description(),
            link.Arguments(), link.ShowCommand(), link.RawHotKey()};
}

TPBShellLink FilledLink(const std::wstring& fileName)
{
    TPBShellLink link;
    link.SetFileName(fileName);
    link.SetTarget(L"C:\\Apps\\old.exe");
    link.SetWorkingDir(L"C:\\Apps\\");
    link.SetDescription(L"old");
    link.SetArguments(L"-old");
    link.SetWindowState(wsMaximized);
    link.SetHotKey({VK_F2, true, false, false});
    return link;
}

std::wstring MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EPBShellLink& error) {
        return error.message();
    }
    return L"(no error)";
}

// Replaces one value of the user's Shell Folders key for a test and puts the old one back.
class ShellFolderValueGuard {
public:
    explicit ShellFolderValueGuard(const wchar_t* name) : name_(name)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD bytes = 0;
        if (RegQueryValueExW(key_, name_, nullptr, &type_, nullptr, &bytes) == ERROR_SUCCESS) {
            old_.resize(bytes);
            RegQueryValueExW(key_, name_, nullptr, &type_, old_.data(), &bytes);
            hadValue_ = true;
        }
    }
    ~ShellFolderValueGuard()
    {
        if (hadValue_)
            RegSetValueExW(key_, name_, 0, type_, old_.data(), static_cast<DWORD>(old_.size()));
        else
            RegDeleteValueW(key_, name_);
        RegCloseKey(key_);
    }
    void Set(const std::wstring& path)
    {
        RegSetValueExW(key_, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }
    void Remove() { RegDeleteValueW(key_, name_); }

private:
    const wchar_t* name_;
    HKEY key_ = nullptr;
    DWORD type_ = REG_SZ;
    std::vector<BYTE> old_;
    bool hadValue_ = false;
};

}  // namespace

TEST(ShellLink, WrittenLinkReadsBackEveryField)
{
    const std::wstring dir = TestDir();
    const std::wstring target = dir + Wide("程序\\清理.exe");
    TPBShellLink written;
    written.SetFileName(dir + Wide("快捷方式.lnk"));
    written.SetTarget(target);
    written.SetWorkingDir(dir + Wide("程序\\"));
    written.SetDescription(Wide("凯尔沃 清理"));
    written.SetArguments(L"bootup /quiet");
    written.SetWindowState(wsMaximized);
    written.SetHotKey({VK_F5, false, true, true});
    EXPECT_EQ(written.RawHotKey(), MAKEWORD(VK_F5, 6));
    written.WriteLink();

    TPBShellLink read;
    read.SetFileName(written.FileName());
    read.ReadLink();
    EXPECT_EQ(read.Target(), target);
    EXPECT_EQ(read.WorkingDir(), written.WorkingDir());
    EXPECT_EQ(read.Description(), written.Description());
    EXPECT_EQ(read.Arguments(), L"bootup /quiet");
    EXPECT_EQ(read.ShowCommand(), SW_SHOWMAXIMIZED);
    EXPECT_EQ(read.WindowState(), wsMaximized);
    EXPECT_EQ(read.RawHotKey(), MAKEWORD(VK_F5, 6));
    EXPECT_EQ(read.HotKey(), (TShortCut{VK_F5, false, true, true}));
}

TEST(ShellLink, WindowStateWritesItsShowCommandAndReadsBack)
{
    const std::wstring dir = TestDir();
    const struct {
        TWindowState state;
        int showCommand;
    } cases[] = {{wsNormal, SW_SHOWNORMAL}, {wsMinimized, SW_SHOWMINNOACTIVE}, {wsMaximized, SW_SHOWMAXIMIZED}};
    for (const auto& c : cases) {
        TPBShellLink link;
        link.SetFileName(dir + L"state" + std::to_wstring(c.showCommand) + L".lnk");
        link.SetTarget(L"C:\\windows\\notepad.exe");
        link.SetWindowState(c.state);
        link.WriteLink();
        TPBShellLink read;
        read.SetWindowState(c.state == wsNormal ? wsMaximized : wsNormal);
        read.LoadFromFile(link.FileName());
        EXPECT_EQ(read.ShowCommand(), c.showCommand);
        EXPECT_EQ(read.WindowState(), c.state);
    }
}

TEST(ShellLink, OnlyShowCommandsThreeAndSevenReadAsMaximizedAndMinimized)
{
    const std::wstring dir = TestDir();
    const struct {
        int showCommand;
        TWindowState state;
    } cases[] = {{SW_SHOWNORMAL, wsNormal},      {SW_SHOWMINIMIZED, wsNormal},       {SW_SHOWMAXIMIZED, wsMaximized},
                 {SW_SHOWMINNOACTIVE, wsMinimized}, {SW_MINIMIZE, wsNormal}};
    for (const auto& c : cases) {
        const std::wstring path = dir + L"raw" + std::to_wstring(c.showCommand) + L".lnk";
        WriteRawLink(path, L"C:\\windows\\notepad.exe", c.showCommand);
        TPBShellLink link;
        link.LoadFromFile(path);
        EXPECT_EQ(link.ShowCommand(), c.showCommand);
        EXPECT_EQ(link.WindowState(), c.state) << "show command " << c.showCommand;
    }
}

TEST(ShellLink, HotKeyWordHoldsKeyAndModifierBits)
{
    const struct {
        TShortCut hotKey;
        WORD raw;
    } cases[] = {
        {{VK_F5, false, true, true}, 0x0674},
        {{'A', true, false, false}, 0x0141},
        {{VK_HOME, true, true, true}, 0x0724},
        {{0, false, false, false}, 0x0000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HotKeyWord(c.hotKey), c.raw);
        EXPECT_EQ(ShortCutFromWord(c.raw), c.hotKey);
    }
    // The extended-key bit has no place in the shortcut value.
    EXPECT_EQ(ShortCutFromWord(0x0E41), (TShortCut{'A', false, true, true}));
}

TEST(ShellLink, CheckTargetTellsMissingUnreadableAndGoodLinks)
{
    const std::wstring dir = TestDir();
    WriteFileBytes(dir + L"text.lnk", "this is not a shortcut");
    WriteFileBytes(dir + L"empty.lnk", "");
    CreateDirectoryW((dir + L"folder.lnk").c_str(), nullptr);
    WriteRawLink(dir + L"good.lnk", L"C:\\windows\\notepad.exe", SW_SHOWNORMAL);

    const struct {
        const wchar_t* name;
        std::wstring expected;
    } cases[] = {
        {L"missing.lnk", L""},
        {L"folder.lnk", L""},
        {L"text.lnk", Wide("错误")},
        {L"empty.lnk", Wide("错误")},
        {L"good.lnk", L"C:\\windows\\notepad.exe"},
    };
    for (const auto& c : cases) {
        TPBShellLink link;
        EXPECT_EQ(app::CheckTarget(link, dir + c.name), c.expected) << Utf8(c.name);
    }
}

TEST(ShellLink, MakeShortcutModifyingKeepsTheFieldsNotGiven)
{
    const std::wstring path = TestDir() + L"keep.lnk";
    TPBShellLink link;
    link.SetHotKey({VK_F7, false, true, false});
    app::MakeShortcut(link, L"C:\\Apps\\tool.exe", L"-first", L"first", path, false);

    TPBShellLink form;
    app::MakeShortcut(form, std::nullopt, std::nullopt, L"second", path, true);
    TPBShellLink read;
    read.SetFileName(path);
    read.ReadLink();
    EXPECT_EQ(read.Target(), L"C:\\Apps\\tool.exe");
    EXPECT_EQ(read.WorkingDir(), L"C:\\Apps\\");
    EXPECT_EQ(read.Arguments(), L"-first");
    EXPECT_EQ(read.Description(), L"second");
    EXPECT_EQ(read.HotKey(), (TShortCut{VK_F7, false, true, false}));

    app::MakeShortcut(form, L"D:\\Other\\new.exe", std::nullopt, std::nullopt, path, true);
    read.ReadLink();
    EXPECT_EQ(read.Target(), L"D:\\Other\\new.exe");
    EXPECT_EQ(read.WorkingDir(), L"D:\\Other\\");
    EXPECT_EQ(read.Arguments(), L"-first");
    EXPECT_EQ(read.Description(), L"second");

    // Without modify-existing, fields not given are empty.
    app::MakeShortcut(form, L"C:\\Apps\\tool.exe", std::nullopt, std::nullopt, path, false);
    read.ReadLink();
    EXPECT_EQ(read.Arguments(), L"");
    EXPECT_EQ(read.Description(), L"");
}

TEST(ShellLink, MakeShortcutCreatesAMissingLinkEvenWhenModifying)
{
    const std::wstring path = TestDir() + L"new.lnk";
    TPBShellLink link;
    app::MakeShortcut(link, L"C:\\Apps\\tool.exe", L"bootup", std::nullopt, path, true);
    EXPECT_EQ(app::CheckTarget(link, path), L"C:\\Apps\\tool.exe");
    EXPECT_EQ(link.Arguments(), L"bootup");
    EXPECT_EQ(link.WorkingDir(), L"C:\\Apps\\");
}

TEST(ShellLink, ShellFolderPlacesTheFileNameInTheFolderFromTheRegistry)
{
    ShellFolderValueGuard startup(L"Startup");
    const std::wstring folder = RemoveSlash(TestDir());
    startup.Set(folder);

    TPBShellLink link;
    link.SetShellFolder(sfStartup);
    link.SetFileName(L"C:\\elsewhere\\a.lnk");
    EXPECT_EQ(link.FileName(), folder + L"\\a.lnk");
    link.SetShellFolder(sfNone);
    EXPECT_EQ(link.FileName(), folder + L"\\a.lnk");
    link.SetFileName(L"C:\\elsewhere\\b.lnk");
    EXPECT_EQ(link.FileName(), L"C:\\elsewhere\\b.lnk");

    // Choosing the folder moves the current file name into it.
    link.SetShellFolder(sfStartup);
    EXPECT_EQ(link.FileName(), folder + L"\\b.lnk");
    link.SetTarget(L"C:\\windows\\notepad.exe");
    link.WriteLink();
    EXPECT_TRUE(testing_support::FileExists(folder + L"\\b.lnk"));
}

TEST(ShellLink, MissingShellFolderValueIsReportedAndChangesNothing)
{
    // Another value than the test above, so the two can run side by side.
    ShellFolderValueGuard templates(L"Templates");
    templates.Remove();
    const std::wstring message = Wide("无法读取系统文件夹 \"Templates\".");

    TPBShellLink link;
    link.SetFileName(L"C:\\elsewhere\\a.lnk");
    EXPECT_EQ(MessageOf([&] { link.SetShellFolder(sfTemplates); }), message);
    EXPECT_EQ(link.ShellFolder(), sfNone);
    EXPECT_EQ(link.FileName(), L"C:\\elsewhere\\a.lnk");
}

TEST(ShellLink, TextsLongerThanTheLimitAreRejectedAndFieldsKept)
{
    const std::wstring dir = TestDir();
    const std::wstring tooLongMessage = Wide("快捷方式的文本过长 (最多 259 个字符).");
    const std::wstring longest = L"C:\\" + std::wstring(kMaxLinkText - 3, L'x');
    const std::wstring tooLong = longest + L"y";

    using Setter = void (TPBShellLink::*)(const std::wstring&);
    const Setter setters[] = {&TPBShellLink::SetFileName, &TPBShellLink::SetTarget, &TPBShellLink::SetWorkingDir,
                              &TPBShellLink::SetDescription, &TPBShellLink::SetArguments};
    for (Setter setter : setters) {
        TPBShellLink link = FilledLink(dir + L"long.lnk");
        const LinkFields before = FieldsOf(link);
        EXPECT_EQ(MessageOf([&] { (link.*setter)(tooLong); }), tooLongMessage);
        EXPECT_EQ(FieldsOf(link), before);
        (link.*setter)(longest);
    }

    // A link written elsewhere with longer arguments is refused as a whole, not cut short.
    WriteRawLink(dir + L"longargs.lnk", L"C:\\windows\\notepad.exe", SW_SHOWNORMAL, std::wstring(300, L'a'));
    TPBShellLink link = FilledLink(dir + L"longargs.lnk");
    const LinkFields before = FieldsOf(link);
    EXPECT_EQ(MessageOf([&] { link.ReadLink(); }), tooLongMessage);
    EXPECT_EQ(FieldsOf(link), before);
    EXPECT_EQ(app::CheckTarget(link, dir + L"longargs.lnk"), Wide("错误"));
}

TEST(ShellLink, FailedReadsAndWritesRaiseTheirMessageAndKeepFields)
{
    const std::wstring dir = TestDir();
    WriteFileBytes(dir + L"text.lnk", "this is not a shortcut");
    const struct {
        const wchar_t* name;
        bool write;
        const char* message;
    } cases[] = {
        {L"no such folder\\a.lnk", true, "写入错误."},
        {L"missing.lnk", false, "链接未找到."},
        {L"text.lnk", false, "读取错误."},
    };
    for (const auto& c : cases) {
        TPBShellLink link = FilledLink(dir + c.name);
        const LinkFields before = FieldsOf(link);
        EXPECT_EQ(MessageOf([&] {
                      if (c.write)
                          link.WriteLink();
                      else
                          link.ReadLink();
                  }),
                  Wide(c.message))
            << Utf8(c.name);
        EXPECT_EQ(FieldsOf(link), before);
    }
    EXPECT_FALSE(testing_support::FileExists(dir + L"no such folder\\a.lnk"));
}
