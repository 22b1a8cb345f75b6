#include "core/text.h"

#include <gtest/gtest.h>

#include "core/utf8.h"

namespace zel {
namespace {

TEST(Text, TrimRemovesOnlyBlanksTabsAndLineEnds) {
  EXPECT_EQ(Trim(L"\tx \r\n"), L"x");
  EXPECT_EQ(Trim(L" \t\r\n "), L"");
  EXPECT_EQ(Trim(L"\va b\f"), L"\va b\f");  // other controls are content
}

// Identifiers compared without case (suspect entries, moves, backups, policies) check the ASCII folding.
TEST(Text, CaseFoldingIsAsciiOnly) {
  EXPECT_EQ(ToLower(L"ĐÂY"), L"ĐÂy");  // non-ASCII unchanged: both builds must agree
}

TEST(Text, SplitLinesFollowsLineByLineReading) {
  EXPECT_EQ(SplitLines(L""), std::vector<std::wstring>{});
  EXPECT_EQ(SplitLines(L"a\r\nb\r\n"), (std::vector<std::wstring>{L"a", L"b"}));
  EXPECT_EQ(SplitLines(L"a\n\nb"), (std::vector<std::wstring>{L"a", L"", L"b"}));
  EXPECT_EQ(SplitLines(L"a\r\r\n"), (std::vector<std::wstring>{L"a\r"}));  // only one CR goes
  EXPECT_EQ(SplitLines(L"\n"), (std::vector<std::wstring>{L""}));
}

TEST(Text, ExtractGuidTakesOnlyWellFormedGuids) {
  std::wstring guid;
  EXPECT_TRUE(ExtractGuid(L"default {default} {3C7A8B2E-1111-4A4A-9B9B-0123456789AB}", 0, guid));
  EXPECT_EQ(guid, L"{3c7a8b2e-1111-4a4a-9b9b-0123456789ab}");
  EXPECT_FALSE(ExtractGuid(L"{3c7a8b2e-1111-4a4a-9b9b-0123456789ab", 0, guid));   // no closing brace
  EXPECT_FALSE(ExtractGuid(L"{3c7a8b2e-1111-4a4a-9b9b-0123456789a}", 0, guid));   // 11 digits
  EXPECT_FALSE(ExtractGuid(L"{3c7a8b2e-1111-4a4a-9b9b-0123456789ag}", 0, guid));  // not hex
  EXPECT_FALSE(ExtractGuid(L"{3c7a8b2e11111-4a4a-9b9b-0123456789ab}", 0, guid));  // dash missing
  EXPECT_FALSE(ExtractGuid(L"abc", 3, guid));
  EXPECT_FALSE(ExtractGuid(L"abc", 99, guid));

  const std::wstring two = L"{11111111-1111-1111-1111-111111111111},{22222222-2222-2222-2222-222222222222}";
  ASSERT_TRUE(ExtractGuid(two, 1, guid));
  EXPECT_EQ(guid, L"{22222222-2222-2222-2222-222222222222}");
  // A brace inside a broken candidate must not hide a GUID that starts right after it.
  EXPECT_EQ(FirstGuid(L"{{11111111-1111-1111-1111-111111111111}"), L"{11111111-1111-1111-1111-111111111111}");
  EXPECT_EQ(FirstGuid(L"nothing here"), L"");
}

TEST(Text, SanitizeDescriptionMakesQuotedArgumentsSafe) {
  EXPECT_EQ(SanitizeDescription(L"Tools \\\\ \\"), L"Tools");  // backslashes and blanks in turn
  EXPECT_EQ(SanitizeDescription(L"a\tb\r\nc\x7f"), L"a b  c");
  EXPECT_EQ(SanitizeDescription(L"   \t "), L"");
  EXPECT_EQ(SanitizeDescription(L"C:\\Tools\\PE"), L"C:\\Tools\\PE");  // inner backslashes stay
  EXPECT_EQ(SanitizeDescription(L"Windows 11 – Tiếng Việt"), L"Windows 11 – Tiếng Việt");
}

// DrivePrefix is checked through its callers: a store's device (partition=S:), a bare store name
// with no device, and an image without a drive letter refused.
TEST(Text, NormalizeDriveRoot) {
  EXPECT_EQ(NormalizeDriveRoot(L"e"), L"E:");
  EXPECT_EQ(NormalizeDriveRoot(L"  d:/ "), L"D:");
  EXPECT_EQ(NormalizeDriveRoot(L"e: \\"), L"E:");  // separators go before the blanks are trimmed
  EXPECT_EQ(NormalizeDriveRoot(L"1"), L"1");
  EXPECT_EQ(NormalizeDriveRoot(L"D:\\Boot\\\\"), L"D:\\Boot");
  EXPECT_EQ(NormalizeDriveRoot(L"\\\\"), L"");
}

TEST(Utf8, RoundTripsAndReplacesInvalidBytes) {
  const std::wstring text = L"Khởi động – Đ";
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
  EXPECT_EQ(Utf8ToWide("a\xff" "b"), L"a\xfffd" L"b");
  EXPECT_EQ(Utf8ToWide("\xe1\xbb"), L"\xfffd");        // truncated at the end
  EXPECT_EQ(Utf8ToWide("\xc0\xaf"), L"\xfffd");        // overlong slash
  EXPECT_EQ(Utf8ToWide("\xe2\x28\xa1"), L"\xfffd(\xfffd");
}

}  // namespace
}  // namespace zel
