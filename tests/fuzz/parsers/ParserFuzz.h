#pragma once

// Shared by the fuzz targets of the dictionary builder's source readers. The readers take
// files, so each input is written to a file of this process's own folder first. A reader may
// refuse bad input with std::runtime_error; any other way out of it is a fault.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace parserfuzz {

// A folder of this process's own, gone when the process ends normally.
inline const std::filesystem::path& Folder() {
  static const struct Scratch {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("qinghe-parser-fuzz-" + std::to_string(::getpid()));
    Scratch() { std::filesystem::create_directories(path); }
    ~Scratch() {
      std::error_code ignored;
      std::filesystem::remove_all(path, ignored);
    }
  } scratch;
  return scratch.path;
}

// Writes bytes to the file name in Folder() and returns its path.
inline std::filesystem::path Put(std::string_view name, std::string_view bytes) {
  const auto path = Folder() / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

template <class Read>
int Refusing(Read&& read) {
  try {
    read();
  } catch (const std::runtime_error&) {
    // Refusing malformed input is the reader's answer, not a fault.
  }
  return 0;
}

}  // namespace parserfuzz
