#include "app/Site.h"

namespace app {

std::string SiteHost() { return QINGHE_SITE_HOST; }

std::string HomePageAddress() { return "http://" + SiteHost() + "/"; }

std::string EntryPageAddress(const std::string& word) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string path;
  for (const char c : word) {
    const auto b = static_cast<unsigned char>(c);
    const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                       b == '-' || b == '.' || b == '_' || b == '~';
    if (plain) {
      path += c;
    } else {
      path += '%';
      path += kHex[b >> 4];
      path += kHex[b & 0x0F];
    }
  }
  return "http://" + SiteHost() + "/en/" + path + ".html";
}

std::string AboutPageAddress() {
  return "http://" + SiteHost() + "/softtj.php?soft=lexora&ref=shuoming";
}

}  // namespace app
