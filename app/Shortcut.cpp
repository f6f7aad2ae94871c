#include "app/Shortcut.h"

#include <memory>
#include <optional>

#include "app/lexora.h"
#include "store/GbkChars.h"
#include "ui/Files.h"

namespace app {

std::string_view PathDelimiters() {
#ifdef _WIN32
  return "\\:";
#else
  return "/";
#endif
}

std::string_view PathSeparator() {
#ifdef _WIN32
  return "\\";
#else
  return "/";
#endif
}

std::size_t LastDelimiter(std::string_view text, std::string_view delimiters) {
  std::size_t last = std::string_view::npos;
  // Whole characters only: a GBK second byte may look like a backslash.
  for (std::size_t i = 0; i < text.size(); i += gbk::CharLen(text, i)) {
    if (delimiters.find(text[i]) != std::string_view::npos) last = i;
  }
  return last;
}

std::string ExcludeTrailingDelimiter(const std::string& path, std::string_view delimiters) {
  const std::size_t last = LastDelimiter(path, delimiters);
  if (last != std::string::npos && last + 1 == path.size()) return path.substr(0, last);
  return path;
}

}  // namespace app

namespace {

constexpr int kDesktop = 0;   // CSIDL_DESKTOP
constexpr int kAppData = 26;  // CSIDL_APPDATA

std::string DerivedLinkName(const std::string& target) {
  const std::size_t sep = app::LastDelimiter(target, app::PathDelimiters());
  std::string name = sep == std::string::npos ? target : target.substr(sep + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

std::string FolderOf(const std::string& target) {
  const std::size_t sep = app::LastDelimiter(target, app::PathDelimiters());
  return sep == std::string::npos ? std::string() : target.substr(0, sep + 1);
}

}  // namespace

bool Tflexora::CreateShortcut(const std::string& target, const std::string& linkName,
                              const std::string& directory, int folder) {
  if (!ui::FileExists(target)) return false;
  const std::string name = linkName.empty() ? DerivedLinkName(target) : linkName;

  // The link object is made before the folder checks, so a missing folder still costs one.
  const std::unique_ptr<ui::IShellLink> link = services_.links->CreateLink();
  link->SetPath(target);
  link->SetWorkingDirectory(FolderOf(target));

  if (directory.empty() && folder == -1) folder = kDesktop;
  std::string path;
  if (folder < 0) {
    const std::string dir = app::ExcludeTrailingDelimiter(directory, app::PathSeparator());
    if (!ui::DirectoryExists(dir)) return false;
    path = dir + "/" + name + ".lnk";
  } else {
    const std::optional<std::string> special = services_.links->SpecialFolderPath(folder);
    if (!special) return false;
    path = *special + "/" + name + ".lnk";
    if (folder == kAppData) {
      path = *special + "/" + "Microsoft\\Internet Explorer\\Quick Launch" + "/" + name + ".lnk";
    }
  }
  return link->Save(path);
}
