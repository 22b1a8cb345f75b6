#include "core/text.h"

#include <climits>

namespace zel {
namespace {

bool IsTrimmed(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsHexDigit(wchar_t c) {
  return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// C0 controls and DEL, plus the C1 range: what iswcntrl reports in the "C" locale.
bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

}  // namespace

std::wstring Trim(const std::wstring& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsTrimmed(text[first])) ++first;
  while (last > first && IsTrimmed(text[last - 1])) --last;
  return text.substr(first, last - first);
}

wchar_t ToLowerChar(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

std::wstring ToLower(const std::wstring& text) {
  std::wstring out(text);
  for (auto& c : out) c = ToLowerChar(c);
  return out;
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToLowerChar(a[i]) != ToLowerChar(b[i])) return false;
  }
  return true;
}

bool ContainsNoCase(const std::vector<std::wstring>& list, const std::wstring& item) {
  for (const auto& element : list) {
    if (EqualsNoCase(element, item)) return true;
  }
  return false;
}

bool ParseInt32(const std::wstring& text, int32_t& value) {
  size_t i = 0;
  // Leading white space as the C library's conversion skips it: blank, tab and the four line breaks.
  while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  if (i >= text.size() || text[i] < L'0' || text[i] > L'9') return false;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - L'0');
    if (magnitude > static_cast<int64_t>(INT32_MAX) + 1) return false;
  }
  const int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > INT32_MAX || signedValue < INT32_MIN) return false;
  value = static_cast<int32_t>(signedValue);
  return true;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    const bool last = end == std::wstring::npos;
    if (last) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    lines.push_back(std::move(line));
    if (last) break;
    start = end + 1;
  }
  return lines;
}

bool ExtractGuid(const std::wstring& text, size_t start, std::wstring& guid) {
  constexpr size_t kLength = 38;
  for (size_t k = text.find(L'{', start); k != std::wstring::npos; k = text.find(L'{', k + 1)) {
    if (k + kLength > text.size() || text[k + kLength - 1] != L'}') continue;
    bool valid = true;
    for (size_t offset = 1; offset < kLength - 1 && valid; ++offset) {
      const wchar_t c = text[k + offset];
      const bool dash = offset == 9 || offset == 14 || offset == 19 || offset == 24;
      valid = dash ? c == L'-' : IsHexDigit(c);
    }
    if (valid) {
      guid = ToLower(text.substr(k, kLength));
      return true;
    }
  }
  return false;
}

std::wstring FirstGuid(const std::wstring& text) {
  std::wstring guid;
  return ExtractGuid(text, 0, guid) ? guid : std::wstring();
}

std::wstring SanitizeDescription(const std::wstring& text) {
  std::wstring out(text);
  for (auto& c : out) {
    if (c == L'"') {
      c = L'\'';
    } else if (IsControl(c)) {
      c = L' ';
    }
  }
  // Blanks and backslashes may alternate at the end ("a \\ \\"): a backslash left
  // before the closing quote would escape it, so both go until neither ends the text.
  while (!out.empty() && (out.back() == L'\\' || IsTrimmed(out.back()))) out.pop_back();
  return Trim(out);
}

std::wstring DrivePrefix(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
  return std::wstring();
}

std::wstring NormalizeDriveRoot(const std::wstring& text) {
  // Separators and blanks may alternate at the end ("e: \\"): both go until neither ends the text.
  std::wstring out(text);
  while (!out.empty() && (out.back() == L'\\' || out.back() == L'/' || IsTrimmed(out.back()))) out.pop_back();
  out = Trim(out);
  if (out.size() == 1 && IsAsciiLetter(out[0])) out.push_back(L':');
  if (out.size() == 2 && out[1] == L':') out[0] = (out[0] >= L'a' && out[0] <= L'z') ? out[0] - 32 : out[0];
  return out;
}

}  // namespace zel
