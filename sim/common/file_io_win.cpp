#include <windows.h>

#include <string>

#include "core/win_handle.h"
#include "sim/common/file_io.h"

namespace sim {
namespace {

using zel::UniqueHandle;

// WriteFile takes a 32-bit count; loop so that any size goes through.
bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  // Share everything: a test may hold the store open while a tool reads it.
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < content.size()) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), content.data() + done, static_cast<DWORD>(content.size() - done), &got,
                  nullptr)) {
      return false;
    }
    if (got == 0) break;  // the file shrank under us: keep what was there
    done += got;
  }
  content.resize(done);
  bytes = std::move(content);
  return true;
}

bool WriteFileSafely(const std::wstring& path, std::string_view bytes) {
  // Beside the target, so the rename stays on one volume and cannot become a copy.
  const std::wstring temp = path + L".zqtmp" + std::to_wstring(GetCurrentProcessId());
  bool ok = false;
  {
    UniqueHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ok = file.Valid() && WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
  }  // closed before the rename: an open handle would make MoveFileExW fail
  if (ok) {
    ok = MoveFileExW(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

bool AppendToFile(const std::wstring& path, std::string_view bytes) {
  // FILE_APPEND_DATA alone makes every write land at the current end, even
  // when another process appends between our open and our write.
  UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Valid() && WriteAll(file.Get(), bytes);
}

}  // namespace sim
