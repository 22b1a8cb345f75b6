#pragma once
// Whole files as bytes, for tests that put files where a tool finds them and read back what it left.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zel::test {

// Makes the missing folders too.
inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

// Empty when the file cannot be read.
inline std::string ReadBytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace zel::test
