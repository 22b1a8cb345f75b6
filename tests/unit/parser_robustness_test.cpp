// The parser must survive any text: truncated, binary, huge, localized. These
// cases run under the sanitizers on the host, so an out-of-range read fails loudly.
#include <gtest/gtest.h>

#include <random>

#include "core/bcd_parser.h"
#include "tests/support/listings.h"

namespace zel {
namespace {

BcdSnapshot Parse(const std::wstring& text) {
  BcdSnapshot s;
  ParseListing(text, s);
  return s;
}

TEST(ParserRobustness, EveryTruncationOfARealListing) {
  const std::wstring& full = test::kUefiListing;
  size_t previous = 0;
  for (size_t length = 0; length <= full.size(); ++length) {
    const BcdSnapshot s = Parse(full.substr(0, length));
    // Entries only ever appear as text grows past identifier lines; never more than the whole.
    EXPECT_LE(s.entries.size(), 4u);
    for (const auto& e : s.entries) EXPECT_EQ(e.identifier.size(), 38u);
    previous = std::max(previous, s.entries.size());
  }
  EXPECT_EQ(previous, 4u);
}

TEST(ParserRobustness, RandomMutationsAndBinaryNoise) {
  std::mt19937 random(20261206);
  const std::wstring alphabet = L"-{}\r\n \t0123456789abcdefABCDEF\\=[],:xyz\x00e9\x1ea1\xfffd";
  for (int round = 0; round < 400; ++round) {
    std::wstring text = test::kUefiListing;
    const int edits = 1 + static_cast<int>(random() % 40);
    for (int e = 0; e < edits; ++e) {
      const size_t at = random() % (text.size() + 1);
      switch (random() % 3) {
        case 0:
          text.insert(at, 1, alphabet[random() % alphabet.size()]);
          break;
        case 1:
          if (at < text.size()) text.erase(at, 1 + random() % 8);
          break;
        default:
          if (at < text.size()) text[at] = static_cast<wchar_t>(random() % 0xD7FF);
      }
    }
    const BcdSnapshot s = Parse(text);
    for (const auto& e : s.entries) {
      ASSERT_EQ(e.identifier.size(), 38u);
      ASSERT_EQ(e.inDisplayOrder, e.displayOrderIndex > 0);
    }
  }
  std::wstring noise(1 << 16, L'\0');
  for (auto& c : noise) c = static_cast<wchar_t>(random() % 0x100);
  EXPECT_TRUE(Parse(noise).entries.empty());  // no dash line followed by a GUID in this noise
}

TEST(ParserRobustness, PathologicalShapesStayFast) {
  // One enormous line, a wall of dash lines, and a display order listing the same GUID many times.
  const std::wstring guid = L"{11111111-1111-1111-1111-111111111111}";
  EXPECT_TRUE(Parse(std::wstring(4 << 20, L'{')).entries.empty());
  std::wstring dashes;
  for (int i = 0; i < 20000; ++i) dashes += L"-----\r\n";
  EXPECT_TRUE(Parse(dashes).entries.empty());
  std::wstring repeated = L"x\r\n-----\r\nidentifier {9dea862c-5cdd-4e70-acc1-f32b344d4795}\r\ndisplayorder " + guid + L"\r\n";
  for (int i = 0; i < 50000; ++i) repeated += L"  " + guid + L"\r\n";
  EXPECT_EQ(Parse(repeated).displayOrder.size(), 1u);
}

}  // namespace
}  // namespace zel
