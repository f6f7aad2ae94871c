#pragma once

#include <string>

#include "store/StoreTable.h"

namespace storetest {

// Runs body and returns the message of the ESQLiteException it raises ("" if none).
template <typename F>
std::string ErrorOf(F&& body) {
  try {
    body();
  } catch (const ESQLiteException& e) {
    return e.what();
  }
  return "";
}

}  // namespace storetest
