#include "sim/tar/tar_command.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/text.h"
#include "core/utf8.h"
#include "sim/tar/zip.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

constexpr std::wstring_view kUsage =
    L"Usage:\r\n"
    L"  List:    tar -tf <archive-filename>\r\n"
    L"  Extract: tar -xf <archive-filename>\r\n"
    L"  Create:  tar -cf <archive-filename> [filenames...]\r\n"
    L"  Help:    tar --help\r\n";

constexpr std::wstring_view kDelayedErrors = L"tar: Error exit delayed from previous errors.\r\n";

struct TarRequest {
  wchar_t mode = 0;  // c, t or x
  bool autoFormat = false;
  std::wstring archive;
  std::wstring directory;  // -C; empty: the current folder
  std::vector<std::wstring> operands;
};

Outcome Fail(std::wstring message) { return {1, L"tar: " + message + L"\r\n"}; }

Outcome UsageFailure(const std::wstring& message) { return {1, L"tar: " + message + L"\r\n" + std::wstring(kUsage)}; }

bool EndsWithNoCase(const std::wstring& text, const std::wstring& suffix) {
  return text.size() >= suffix.size() && zel::EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

fs::path NativePath(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }
fs::path NativePath(const std::wstring& path) { return NativePath(zel::WideToUtf8(path)); }

// Short options may be bundled ("-cf x.zip"); -f and -C take the rest of the
// bundle or else the next argument, as getopt does.
bool ParseArguments(const std::vector<std::wstring>& args, TarRequest& request, std::wstring& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg.size() < 2 || arg[0] != L'-' || arg[1] == L'-') {
      request.operands.push_back(arg);
      continue;
    }
    for (size_t k = 1; k < arg.size(); ++k) {
      const wchar_t option = arg[k];
      if (option == L'c' || option == L't' || option == L'x') {
        if (request.mode != 0 && request.mode != option) {
          return error = std::wstring(L"Can't specify both -") + request.mode + L" and -" + option, false;
        }
        request.mode = option;
      } else if (option == L'a') {
        request.autoFormat = true;
      } else if (option == L'f' || option == L'C') {
        std::wstring value = arg.substr(k + 1);
        if (value.empty()) {
          if (++i == args.size()) return error = std::wstring(L"Option -") + option + L" requires an argument", false;
          value = args[i];
        }
        (option == L'f' ? request.archive : request.directory) = value;
        break;
      } else {
        return error = std::wstring(L"Option -") + option + L" is not supported", false;
      }
    }
  }
  if (request.mode == 0) return error = L"Must specify one of -c, -r, -t, -u, -x", false;
  if (request.archive.empty()) return error = L"Option -f requires an archive name", false;
  return true;
}

zip::DosTime ModifiedTime(const fs::path& path) {
  std::error_code error;
  const fs::file_time_type written = fs::last_write_time(path, error);
  if (error) return {};
  const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
      std::chrono::file_clock::to_sys(written));
  const std::time_t seconds = std::chrono::system_clock::to_time_t(system);
  const std::tm* local = std::localtime(&seconds);  // one thread: the static result is ours
  if (local == nullptr) return {};
  return zip::MakeDosTime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min,
                          local->tm_sec);
}

bool ReadFileBytes(const fs::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFileBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good();
}

// Collects the members for one path: a folder as "name/" and then its content,
// sorted by name so that an archive of the same files is always the same.
class Packer {
 public:
  std::wstring errors;

  void AddTree(const fs::path& path, const std::string& name) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
      if (!name.empty()) Add(path, name + "/", {});
      std::vector<fs::path> children;
      for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
        children.push_back(it->path());
      }
      if (error) return Report(name, L"Couldn't visit directory");
      std::sort(children.begin(), children.end());
      for (const auto& child : children) {
        const std::u8string step = child.filename().u8string();
        AddTree(child, (name.empty() ? std::string() : name + "/") + std::string(step.begin(), step.end()));
      }
    } else if (fs::exists(path, error)) {
      std::string bytes;
      if (!ReadFileBytes(path, bytes)) return Report(name, L"Couldn't open file");
      Add(path, name, std::move(bytes));
    } else {
      Report(name, L"Cannot stat: No such file or directory");
    }
  }

  std::string Finish() const { return writer_.Finish(); }

 private:
  void Add(const fs::path& path, const std::string& name, std::string bytes) {
    if (!writer_.Add({name, std::move(bytes), ModifiedTime(path)})) {
      Report(name, L"Archive too large for ZIP without ZIP64");
    }
  }

  void Report(const std::string& name, std::wstring_view problem) {
    errors += L"tar: " + zel::Utf8ToWide(name.empty() ? "." : name) + L": " + std::wstring(problem) + L"\r\n";
  }

  zip::Writer writer_;
};

// The folder that -C names, or the current one; false when it is not a folder.
bool BaseFolder(const TarRequest& request, fs::path& base) {
  std::error_code error;
  base = request.directory.empty() ? fs::current_path(error) : NativePath(request.directory);
  return !error && fs::is_directory(base, error);
}

// An operand as a member name: separators become '/', and "." or "./x" lose the dot step.
std::string MemberNameOf(const std::wstring& operand) {
  std::string name = zel::WideToUtf8(operand);
  std::replace(name.begin(), name.end(), '\\', '/');
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  while (name.rfind("./", 0) == 0) name.erase(0, 2);
  return name == "." ? std::string() : name;
}

Outcome Create(const TarRequest& request) {
  if (!request.autoFormat || !EndsWithNoCase(request.archive, L".zip")) {
    return Fail(L"The simulated tar writes only ZIP archives: use -a and a name ending in .zip");
  }
  if (request.operands.empty()) return Fail(L"no files or directories specified");
  fs::path base;
  if (!BaseFolder(request, base)) return Fail(L"could not chdir to '" + request.directory + L"'");
  Packer packer;
  for (const auto& operand : request.operands) {
    packer.AddTree(base / NativePath(zel::WideToUtf8(operand)), MemberNameOf(operand));
  }
  // Nothing is written when a file could not be read: a partial backup would look whole.
  if (!packer.errors.empty()) return {1, packer.errors + std::wstring(kDelayedErrors)};
  if (!WriteFileBytes(NativePath(request.archive), packer.Finish())) {
    return Fail(L"Failed to open '" + request.archive + L"'");
  }
  return {0, L""};
}

bool OpenArchive(const TarRequest& request, std::vector<zip::Entry>& entries, Outcome& failure) {
  std::string bytes;
  std::error_code error;
  const fs::path path = NativePath(request.archive);
  if (!fs::is_regular_file(path, error) || !ReadFileBytes(path, bytes)) {
    failure = Fail(L"Error opening archive: Failed to open '" + request.archive + L"'");
    return false;
  }
  std::string reason;
  if (!zip::Read(bytes, entries, reason)) {
    failure = Fail(L"Error opening archive: " + zel::Utf8ToWide(reason));
    return false;
  }
  return true;
}

Outcome List(const TarRequest& request) {
  std::vector<zip::Entry> entries;
  Outcome failure;
  if (!OpenArchive(request, entries, failure)) return failure;
  Outcome listing;
  for (const auto& entry : entries) listing.output += zel::Utf8ToWide(entry.name) + L"\r\n";
  return listing;
}

bool ExtractEntry(const fs::path& base, const zip::Entry& entry) {
  const fs::path target = base / NativePath(entry.name);
  std::error_code error;
  if (entry.IsFolder()) {
    fs::create_directories(target, error);
    return fs::is_directory(target, error);
  }
  fs::create_directories(target.parent_path(), error);
  return WriteFileBytes(target, entry.data);
}

// Like the real tool, a refused or failed member does not stop the others;
// the run still ends in failure.
Outcome Extract(const TarRequest& request) {
  std::vector<zip::Entry> entries;
  Outcome failure;
  if (!OpenArchive(request, entries, failure)) return failure;
  fs::path base;
  if (!BaseFolder(request, base)) return Fail(L"could not chdir to '" + request.directory + L"'");
  std::wstring errors;
  for (const auto& entry : entries) {
    const std::wstring name = zel::Utf8ToWide(entry.name);
    const std::string_view unsafe = UnsafeMemberReason(entry.name);
    if (!unsafe.empty()) {
      errors += L"tar: " + name + L": " + zel::Utf8ToWide(unsafe) + L"\r\n";
    } else if (!ExtractEntry(base, entry)) {
      errors += L"tar: " + name + L": Can't create '" + name + L"'\r\n";
    }
  }
  if (errors.empty()) return {0, L""};
  return {1, errors + std::wstring(kDelayedErrors)};
}

bool IsParentStep(std::string_view step) {
  return step.find_first_not_of(". ") == std::string_view::npos && std::count(step.begin(), step.end(), '.') >= 2;
}

}  // namespace

std::string_view UnsafeMemberReason(std::string_view name) {
  if (name.empty()) return "Invalid empty pathname";
  if (name[0] == '/' || name[0] == '\\' || (name.size() >= 2 && name[1] == ':')) return "Path is absolute";
  // Elsewhere a colon would name an alternate data stream of the file before it.
  if (name.find(':') != std::string_view::npos) return "Path contains ':'";
  size_t start = 0;
  while (start <= name.size()) {
    const size_t end = std::min(name.find_first_of("/\\", start), name.size());
    if (IsParentStep(name.substr(start, end - start))) return "Path contains '..'";
    start = end + 1;
  }
  return {};
}

Outcome ExecuteTar(const std::vector<std::wstring>& args) {
  TarRequest request;
  std::wstring error;
  if (!ParseArguments(args, request, error)) return UsageFailure(error);
  if (request.mode == L'c') return Create(request);
  if (!request.operands.empty()) return Fail(L"The simulated tar lists and extracts whole archives only");
  return request.mode == L't' ? List(request) : Extract(request);
}

}  // namespace sim
