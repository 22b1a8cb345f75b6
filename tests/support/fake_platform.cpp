#include "tests/support/fake_platform.h"

#include <algorithm>

#include "core/command_runner.h"
#include "core/text.h"

namespace zel::test {
namespace {

std::wstring ParentOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

FakePlatform::FakePlatform() : installed_(std::make_unique<ScopedPlatform>(*this)) {}

std::vector<std::wstring> FakePlatform::Arguments() const {
  std::vector<std::wstring> list;
  for (const auto& run : runs) list.push_back(run.arguments);
  return list;
}

CommandResult FakePlatform::RunProcess(const std::wstring& program, const std::wstring& arguments, uint32_t timeoutMs) {
  const RunCall call{program, arguments, timeoutMs};
  {
    const std::lock_guard<std::mutex> lock(runMutex_);  // the store's enumerations run at once
    runs.push_back(call);
  }
  if (onRun) onRun(call);
  const std::lock_guard<std::mutex> lock(runMutex_);
  CommandResult result{-1, false, L"no scripted reply"};
  const auto rule = std::find_if(rules_.begin(), rules_.end(),
                                 [&](const Rule& r) { return arguments.find(r.needle) != std::wstring::npos; });
  if (rule != rules_.end()) {
    result = rule->result;
  } else if (!queue_.empty()) {
    result = queue_.front();
    queue_.pop_front();
  }
  result.commandLine = DisplayCommandLine(program, arguments);
  return result;
}

std::wstring FakePlatform::SystemErrorMessage(uint32_t code) {
  const auto found = errorMessages.find(code);
  return found == errorMessages.end() ? std::wstring() : found->second;
}

void FakePlatform::AddFile(const std::wstring& path, const std::wstring& content, uint32_t attributes,
                           uint64_t created) {
  files_[ToLower(path)] = FakeFile{path, attributes, created, content};
}

const FakeFile* FakePlatform::Find(const std::wstring& path) const {
  const auto found = files_.find(ToLower(path));
  return found == files_.end() ? nullptr : &found->second;
}

FakeFile* FakePlatform::FindMutable(const std::wstring& path) { return const_cast<FakeFile*>(Find(path)); }

uint32_t FakePlatform::FileAttributes(const std::wstring& path) {
  const FakeFile* file = Find(path);
  return file ? file->attributes : kInvalidFileAttributes;
}

bool FakePlatform::CreateFolders(const std::wstring& path) {
  if (path.empty()) return false;
  const FakeFile* existing = Find(path);
  if (existing) return (existing->attributes & kAttributeDirectory) != 0;
  const std::wstring parent = ParentOf(path);
  if (!parent.empty() && parent.size() > 2 && !CreateFolders(parent)) return false;
  AddFolder(path);
  return true;
}

bool FakePlatform::CreateProbeFile(const std::wstring& path) {
  const std::wstring folder = ParentOf(path);
  const FakeFile* parent = Find(folder);
  if (!parent || !(parent->attributes & kAttributeDirectory) || readOnlyFolders.count(ToLower(folder))) return false;
  AddFile(path);
  return true;
}

bool FakePlatform::RemoveFile(const std::wstring& path) {
  const FakeFile* file = Find(path);
  if (!file || (file->attributes & (kAttributeDirectory | kAttributeReadOnly))) return false;
  removed.push_back(file->path);
  files_.erase(ToLower(path));
  return true;
}

bool FakePlatform::SetAttributes(const std::wstring& path, uint32_t attributes) {
  FakeFile* file = FindMutable(path);
  if (!file) return false;
  file->attributes = (file->attributes & kAttributeDirectory) | (attributes == kAttributeNormal ? 0x20 : attributes);
  return true;
}

uint32_t FakePlatform::CopyFileTo(const std::wstring& from, const std::wstring& to) {
  if (copyError != 0) return copyError;
  const FakeFile* source = Find(from);
  if (!source || (source->attributes & kAttributeDirectory)) return 2;  // file not found
  const FakeFile* target = Find(to);
  if (target && (target->attributes & (kAttributeReadOnly | kAttributeDirectory))) return 5;  // access denied
  const std::wstring content = source->content;
  const uint32_t attributes = target ? target->attributes : source->attributes;
  AddFile(to, content, attributes, target ? target->created : 0);
  return 0;
}

std::vector<FolderItem> FakePlatform::ListFolder(const std::wstring& folder) {
  std::vector<FolderItem> items;
  const FakeFile* self = Find(folder);
  if (!self || !(self->attributes & kAttributeDirectory)) return items;
  const std::wstring prefix = ToLower(folder) + L"\\";
  for (const auto& [key, file] : files_) {
    if (key.compare(0, prefix.size(), prefix) != 0 || key.find(L'\\', prefix.size()) != std::wstring::npos) continue;
    items.push_back(FolderItem{file.path.substr(prefix.size()), (file.attributes & kAttributeDirectory) == 0});
  }
  return items;
}

bool FakePlatform::ReadFileEnd(const std::wstring& path, size_t maxBytes, std::string& bytes) {
  const FakeFile* file = Find(path);
  if (!file || (file->attributes & kAttributeDirectory)) return false;
  bytes = file->bytes.substr(file->bytes.size() > maxBytes ? file->bytes.size() - maxBytes : 0);
  return true;
}

FakeFile* FakePlatform::WritableFile(const std::wstring& path, uint32_t& error) {
  const FakeFile* folder = Find(ParentOf(path));
  error = writeError ? writeError : (folder && (folder->attributes & kAttributeDirectory)) ? 0 : 3;  // path not found
  if (error == 0 && !Find(path)) AddFile(path);
  FakeFile* file = error == 0 ? FindMutable(path) : nullptr;
  if (file && (file->attributes & (kAttributeDirectory | kAttributeReadOnly))) error = 5;  // access denied
  return error == 0 ? file : nullptr;
}

uint32_t FakePlatform::AppendToFile(const std::wstring& path, const std::string& bytes) {
  uint32_t error = 0;
  FakeFile* file = WritableFile(path, error);
  if (file) file->bytes += bytes;
  return error;
}

uint32_t FakePlatform::WriteNewFile(const std::wstring& path, const std::string& bytes) {
  uint32_t error = 0;
  FakeFile* file = WritableFile(path, error);
  if (file) file->bytes = bytes;
  return error;
}

uint64_t FakePlatform::CreationTime(const std::wstring& path) {
  const FakeFile* file = Find(path);
  return file ? file->created : 0;
}

bool FakePlatform::RegistryString(const std::wstring& key, const std::wstring& value, std::wstring& text) {
  const auto found = registry.find(key + L"|" + value);
  if (found == registry.end()) return false;
  text = found->second;
  return true;
}

std::vector<std::optional<std::wstring>> FakePlatform::HiveFileStrings(const std::wstring& hiveFile,
                                                                       const std::vector<std::wstring>& keys,
                                                                       const std::wstring& value) {
  hivesOpened.push_back(hiveFile);
  std::vector<std::optional<std::wstring>> texts(keys.size());
  const auto hive = hiveFiles.find(ToLower(hiveFile));
  if (hive == hiveFiles.end()) return texts;
  for (size_t i = 0; i < keys.size(); ++i) {
    const auto found = hive->second.find(keys[i] + L"|" + value);
    if (found != hive->second.end()) texts[i] = found->second;
  }
  return texts;
}

bool FakePlatform::DosDeviceTarget(const std::wstring& device, std::wstring& target) {
  for (const auto& [name, path] : dosDevices) {
    if (EqualsNoCase(name, device)) {  // device names ignore case, as on Windows
      target = path;
      return true;
    }
  }
  return false;
}

uint32_t FakePlatform::LogicalDriveMask() {
  uint32_t mask = 0;
  for (const auto& root : driveRoots) {
    const wchar_t letter = root.empty() ? L'\0' : static_cast<wchar_t>(root[0] & ~0x20);
    if (letter >= L'A' && letter <= L'Z') mask |= 1u << (letter - L'A');
  }
  return mask;
}

uint32_t FakePlatform::MoveFileReplacing(const std::wstring& from, const std::wstring& to) {
  if (moveError != 0) return moveError;
  const FakeFile* source = Find(from);
  if (!source) return 2;
  FakeFile moved = *source;
  moved.path = to;
  files_.erase(ToLower(from));
  files_[ToLower(to)] = moved;
  return 0;
}

std::wstring FakePlatform::ShortEnvironmentVariable(const std::wstring& name) {
  const auto found = environment.find(name);
  return found == environment.end() || found->second.size() >= 16 ? std::wstring() : found->second;
}

uint32_t FakePlatform::ReadFirmwareVariable(const std::wstring& name, const std::wstring&, uint64_t& value,
                                            uint32_t& attributes) {
  const auto found = firmwareVariables.find(name);
  if (found == firmwareVariables.end()) return 0;
  value = found->second.value;
  attributes = found->second.attributes;
  return found->second.size;
}

uint32_t FakePlatform::WriteFirmwareVariable(const std::wstring& name, const std::wstring&, uint64_t value,
                                             uint32_t attributes) {
  if (firmwareWriteError != 0) return firmwareWriteError;
  ++firmwareWrites;
  firmwareVariables[name] = FirmwareVariable{value, attributes, 8};
  return 0;
}

}  // namespace zel::test
