#include "scan/scan_context.h"

#include "platform/path_util.h"
#include "platform/text.h"

namespace scan {

namespace {

std::wstring UpperMarker(const std::wstring& folder)
{
    return L"<<" + platform::Upper(platform::RemoveSlash(folder)) + L">>";
}

}  // namespace

void THandledFolders::Add(const std::wstring& folder) { upperText_ += UpperMarker(folder); }

bool THandledFolders::Contains(const std::wstring& folder) const
{
    return upperText_.find(UpperMarker(folder)) != std::wstring::npos;
}

bool THandledFolders::ContainsMarker(const std::wstring& marker) const
{
    return upperText_.find(platform::Upper(marker)) != std::wstring::npos;
}

}  // namespace scan
