#pragma once

// Names and keys of the two dictionary stores. File names carry no folder: they resolve
// against the process's current directory.
inline constexpr const char* IndexStoreName = "enci.edt";
inline constexpr const char* IndexStoreKey = "rumk4062913T";
inline constexpr const char* EntryStoreName = "enci.dbf";
inline constexpr const char* EntryStoreKey = nullptr;
