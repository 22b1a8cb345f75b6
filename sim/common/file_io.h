#pragma once
// Whole-file access for the simulated tools. Implemented per platform
// (file_io_win.cpp, file_io_host.cpp); the portable tool logic receives these
// as callbacks and never does I/O itself.
#include <string>
#include <string_view>

namespace sim {

// Reads a whole file; false when it does not exist or cannot be read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Replaces a file's content so that a reader sees either the old or the new
// content, never a mix: the bytes go to a temporary file beside it, which is
// then renamed over it. The temporary is removed again on failure.
bool WriteFileSafely(const std::wstring& path, std::string_view bytes);

// Appends bytes to a file, creating it when missing. Invocations of different
// tools may append at the same time: one write per call keeps lines whole.
bool AppendToFile(const std::wstring& path, std::string_view bytes);

}  // namespace sim
