// Host (Linux) side of the simulated tools' file access, for the developer tools.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "core/utf8.h"
#include "sim/common/file_io.h"

namespace sim {
namespace {

std::filesystem::path HostPath(const std::wstring& path) {
  return std::filesystem::path(zel::WideToUtf8(path));
}

}  // namespace

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(HostPath(path), error)) return false;
  std::ifstream in(HostPath(path), std::ios::binary);
  if (!in) return false;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  bytes = std::move(content);
  return true;
}

bool WriteFileSafely(const std::wstring& path, std::string_view bytes) {
  const std::filesystem::path target = HostPath(path);
  std::filesystem::path temp = target;
  temp += ".zqtmp" + std::to_string(getpid());
  bool ok = false;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    ok = out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good();
  }
  std::error_code error;
  if (ok) {
    std::filesystem::rename(temp, target, error);  // atomic replace on POSIX
    ok = !error;
  }
  if (!ok) std::filesystem::remove(temp, error);
  return ok;
}

bool AppendToFile(const std::wstring& path, std::string_view bytes) {
  std::ofstream out(HostPath(path), std::ios::binary | std::ios::app);
  return out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good();
}

}  // namespace sim
