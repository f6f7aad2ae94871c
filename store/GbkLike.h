#pragma once

// LIKE over GBK text: '%' is any run of characters, '_' exactly one character, A-Z/a-z
// match either case, everything else byte for byte. A lead byte 0x81-0xFE followed by a
// byte 0x40-0xFE is one character, so a match never starts or ends inside one.

#include <string_view>

namespace store {

bool GbkLike(std::string_view pattern, std::string_view text);

}  // namespace store
