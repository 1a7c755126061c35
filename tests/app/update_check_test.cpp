// The check for updates against a local web server: the version file is downloaded into
// the program's folder, its version found and compared, and the user asked.
#include <gtest/gtest.h>

#include "app/update_check.h"
#include "support/http_test_server.h"
#include "support/test_support.h"

#include <string>
#include <vector>

using testing_support::HttpTestServer;
using testing_support::TestDir;

namespace {

constexpr wchar_t kOwnVersion[] = L"v.1.01.65  12/20/2008";

// Records what the check showed and answers its questions from a list.
class TRecordedUi : public app::IUpdateCheckUi {
public:
    explicit TRecordedUi(std::vector<bool> answers = {}) : answers_(std::move(answers)) {}

    void ShowMessage(const std::wstring& text) override { events.push_back(L"message: " + text); }
    bool AskYesNo(const std::wstring& text, const std::wstring& caption) override
    {
        events.push_back(L"ask " + caption + L": " + text);
        return next_ < answers_.size() && answers_[next_++];
    }
    void OpenPage(const std::wstring& address) override { events.push_back(L"open: " + address); }
    void EndProgram() override { events.push_back(L"end"); }

    std::vector<std::wstring> events;

private:
    std::vector<bool> answers_;
    size_t next_ = 0;
};

std::string Pad(const std::string& versionLines)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<XML_DIZ_INFO>\r\n<Program_Info>\r\n"
           "<Program_Name>Kelvo Tidymate</Program_Name>\r\n" + versionLines +
           "\r\n<Program_Release_Month>12</Program_Release_Month>\r\n</Program_Info>\r\n</XML_DIZ_INFO>\r\n";
}

const std::wstring kDownloadQuestion = std::wstring(L"ask 发现更新: ") + app::kDownloadQuestionText;
const std::wstring kCloseQuestion = std::wstring(L"ask 关闭 Kelvo: ") + app::kCloseQuestionText;

}  // namespace

TEST(UpdateCheck, OnlineVersionDecidesWhatTheUserIsTold)
{
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::wstring> events;  // the user answers No
    };
    const std::wstring upToDate = std::wstring(L"message: ") + app::kUpToDateText;
    const std::wstring cannotParse = std::wstring(L"message: ") + app::kCannotParseText;
    const Case cases[] = {
        {"same version", Pad("<Program_Version>1.01.65</Program_Version>"), {upToDate}},
        {"last part larger", Pad("<Program_Version>1.01.66</Program_Version>"), {kDownloadQuestion}},
        {"older", Pad("<Program_Version>1.00.99</Program_Version>"), {upToDate}},
        {"first part decides", Pad("<Program_Version>2.0.0</Program_Version>"), {kDownloadQuestion}},
        {"parts compared as numbers", Pad("<Program_Version>1.1.100</Program_Version>"), {kDownloadQuestion}},
        {"two parts", Pad("<Program_Version>1.1</Program_Version>"), {cannotParse}},
        {"four parts", Pad("<Program_Version>1.01.65.1</Program_Version>"), {cannotParse}},
        {"not a number", Pad("<Program_Version>1.0x.66</Program_Version>"), {cannotParse}},
        {"empty part", Pad("<Program_Version>1..66</Program_Version>"), {cannotParse}},
        {"no tags", Pad("<Program_Ver>1.01.66</Program_Ver>"), {cannotParse}},
        {"no closing tag", Pad("<Program_Version>1.01.66"), {cannotParse}},
        {"tags over two lines", Pad("<PROGRAM_VERSION>1.01.\r\n66</PROGRAM_VERSION>"), {kDownloadQuestion}},
        {"tags over three lines", Pad("<program_version>\r\n1.01.66\r\n</program_version>"), {kDownloadQuestion}},
    };
    HttpTestServer server;
    const std::wstring dir = TestDir();
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = "/case" + std::to_string(++n) + "/pad.xml";
        server.Serve(path, c.file);
        app::TUpdateAddresses addresses;
        addresses.VersionFile = server.Url(path);
        TRecordedUi ui;
        app::CheckForUpdates(addresses, dir, kOwnVersion, ui);
        EXPECT_EQ(ui.events, c.events);
        EXPECT_EQ(server.Requests(path), 1);
        EXPECT_EQ(testing_support::ReadFileBytes(dir + app::kVersionFileName), c.file) << "left in the program folder";
    }
}

TEST(UpdateCheck, AnswersLeadToTheDownloadPageAndToClosingTheProgram)
{
    struct Case {
        std::vector<bool> answers;
        app::TUpdateOutcome outcome;
        std::vector<std::wstring> events;
    };
    const std::wstring openPage = L"open: http://example.test/download.htm";
    const Case cases[] = {
        {{false}, app::TUpdateOutcome::Declined, {kDownloadQuestion}},
        {{true, false}, app::TUpdateOutcome::PageOpened, {kDownloadQuestion, openPage, kCloseQuestion}},
        {{true, true}, app::TUpdateOutcome::EndProgram, {kDownloadQuestion, openPage, kCloseQuestion, L"end"}},
    };
    HttpTestServer server;
    server.Serve("/pad.xml", Pad("<Program_Version>1.01.66</Program_Version>"));
    app::TUpdateAddresses addresses;
    addresses.VersionFile = server.Url("/pad.xml");
    addresses.DownloadPage = L"http://example.test/download.htm";
    for (const Case& c : cases) {
        TRecordedUi ui(c.answers);
        EXPECT_EQ(app::CheckForUpdates(addresses, TestDir(), kOwnVersion, ui), c.outcome);
        EXPECT_EQ(ui.events, c.events);
    }
}

TEST(UpdateCheck, NoServerMeansNoOnlineVersionInformation)
{
    app::TUpdateAddresses addresses;
    addresses.VersionFile = HttpTestServer::UnservedUrl("/pad.xml");
    TRecordedUi ui;
    EXPECT_EQ(app::CheckForUpdates(addresses, TestDir(), kOwnVersion, ui), app::TUpdateOutcome::CannotDownload);
    EXPECT_EQ(ui.events, std::vector<std::wstring>{std::wstring(L"message: ") + app::kCannotDownloadText});
}

TEST(UpdateCheck, ANewerFileAtTheSameAddressIsSeenOnTheNextCheck)
{
    HttpTestServer server;
    app::TUpdateAddresses addresses;
    addresses.VersionFile = server.Url("/pad.xml");
    const std::wstring dir = TestDir();
    server.Serve("/pad.xml", Pad("<Program_Version>1.01.65</Program_Version>"));
    TRecordedUi first;
    EXPECT_EQ(app::CheckForUpdates(addresses, dir, kOwnVersion, first), app::TUpdateOutcome::UpToDate);
    server.Serve("/pad.xml", Pad("<Program_Version>1.01.66</Program_Version>"));
    TRecordedUi second;
    EXPECT_EQ(app::CheckForUpdates(addresses, dir, kOwnVersion, second), app::TUpdateOutcome::Declined)
        << "an old copy from the cache was used";
    EXPECT_EQ(server.Requests("/pad.xml"), 2);
}

TEST(UpdateCheck, OwnVersionComesFromTheAboutText)
{
    struct Case {
        const wchar_t* aboutText;
        const wchar_t* version;
        bool parses;
    };
    const Case cases[] = {
        {L"v.1.01.65  12/20/2008", L"1.01.65", true},
        {L"v.2.0.1", L"2.0.1", true},
        {L"v.1.1 12/20/2008", L"1.1", false},
        {L"1.01.65  12/20/2008", L"", false},
        {L"", L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing_support::Utf8(c.aboutText));
        EXPECT_EQ(app::VersionOfAboutText(c.aboutText), c.version);
        EXPECT_EQ(app::ParseVersion(app::VersionOfAboutText(c.aboutText)).has_value(), c.parses);
    }
    EXPECT_EQ(app::ParseVersion(L"1.01.65"), (app::TVersion{1, 1, 65}));
    EXPECT_FALSE(app::ParseVersion(L"1.01.99999999999").has_value()) << "a number too large for a version part";
}
