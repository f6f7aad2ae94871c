#pragma once

// File operations on GBK-named paths, relative names resolving against the current directory.

#include <stdexcept>
#include <string>

namespace ui {

// A file that could not be created or written.
class EFCreateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool FileExists(const std::string& path);  // a regular file; a directory does not count
bool DirectoryExists(const std::string& path);
// A folder this process may create files in (as the kernel judges it, so root may write
// almost anywhere).
bool FolderWritable(const std::string& path);
// The path made absolute against the current directory (GBK bytes).
std::string ExpandFileName(const std::string& path);
// Creates or truncates path and writes bytes. Raises EFCreateError with
// "Cannot create file \"<full path>\". <reason>".
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace ui
