#pragma once

#include <cstdint>
#include <string>

// The fixed English text of a primary SQLite result code.
std::string SQLiteErrorText(std::int32_t Code);
