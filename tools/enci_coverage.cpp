// enci-coverage DICT WORDS [N...]: how many of the N most frequent words of a list reach an
// entry with Chinese in the dictionary folder DICT, looked up as the window does when the
// word is typed: the rows whose title starts with it, in id order, at most 10000; the last
// of them whose title equals it, else the first. An entry counts when it has a Chinese
// translation or sense, or leads (as a word form or traditional form) to one that has.
//
// WORDS is a JSON array of {"word": ...} objects, most frequent first, or a text file with
// one word a line. Contraction fragments ("didn", "ll") are not words and are left out.
// Misses are listed on standard error, each with its rank.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/StoreTable.h"
#include "store/gob.h"

namespace {

constexpr std::size_t kListLimit = 10000;

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return s;
}

std::vector<std::string> ReadWords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  std::vector<std::string> words;
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first != std::string::npos && text[first] == '[') {
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text));
    for (const auto& v : doc.array()) {
      words.push_back(v.isObject() ? v.toObject().value("word").toString().toStdString()
                                   : v.toString().toStdString());
    }
  } else {
    std::string line;
    while (std::getline(ss, line)) {
      const auto end = line.find_first_of(" \t\r,");
      words.push_back(line.substr(0, end));
    }
  }
  return words;
}

bool Fragment(const std::string& w) {
  static const std::set<std::string> fragments = {
      "s",       "t",     "d",    "m",    "ll",   "ve",    "re",     "don",
      "didn",    "doesn", "isn",  "wasn", "aren", "weren", "couldn", "wouldn",
      "shouldn", "haven", "hasn", "hadn", "ain",  "mustn", "needn",  "shan"};
  return fragments.count(Lower(w)) != 0;
}

struct Dictionary {
  std::vector<std::pair<std::string, std::int64_t>> byLower;  // (lower-case title, id)
  std::unordered_map<std::int64_t, std::string> titles;
  std::unordered_map<std::string, std::int64_t> lastExact;  // title -> highest id
};

std::int64_t Pick(const Dictionary& d, const std::string& word) {
  const std::string lower = Lower(word);
  std::vector<std::int64_t> ids;
  for (auto it = std::lower_bound(d.byLower.begin(), d.byLower.end(),
                                  std::make_pair(lower, std::int64_t{INT64_MIN}));
       it != d.byLower.end() && it->first.compare(0, lower.size(), lower) == 0; ++it) {
    ids.push_back(it->second);
  }
  if (ids.empty()) return -1;
  std::sort(ids.begin(), ids.end());
  if (ids.size() > kListLimit) ids.resize(kListLimit);
  std::int64_t exact = -1;
  for (auto id : ids) {
    if (d.titles.at(id) == word) exact = id;
  }
  return exact >= 0 ? exact : ids.front();
}

bool HasChinese(const std::string& entry) {
  return entry.find("C=\"trans\"") != std::string::npos ||
         entry.find("C=\"zh\"") != std::string::npos;
}

// The titles an entry's form-of lines lead to.
std::vector<std::string> Leads(const std::string& entry) {
  std::vector<std::string> out;
  static const std::string head = "<div C=\"formof\"><a C=\"fw\" href=\"#";
  for (auto p = entry.find(head); p != std::string::npos; p = entry.find(head, p + 1)) {
    const auto start = p + head.size();
    const auto end = entry.find('"', start);
    if (end != std::string::npos) out.push_back(entry.substr(start, end - start));
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: enci-coverage DICT WORDS [N...]\n", stderr);
    return 2;
  }
  try {
    const std::string dir = argv[1];
    std::vector<std::size_t> sizes;
    for (int i = 3; i < argc; ++i) sizes.push_back(std::strtoul(argv[i], nullptr, 10));
    if (sizes.empty()) sizes = {1000, 5000, 20000};
    const std::size_t most = *std::max_element(sizes.begin(), sizes.end());

    std::vector<std::string> words;
    for (const auto& w : ReadWords(argv[2])) {
      if (w.empty() || Fragment(w)) continue;
      words.push_back(w);
      if (words.size() == most) break;
    }

    Dictionary d;
    {
      TSQLiteDatabase index(dir + "/" + IndexStoreName, IndexStoreKey);
      const auto rows = index.GetTable("SELECT id, title FROM enci");
      for (; !rows->Eof(); rows->Next()) {
        const std::int64_t id = rows->FieldAsInteger(0);
        std::string title = rows->FieldAsString(1);
        d.byLower.emplace_back(Lower(title), id);
        auto& last = d.lastExact[title];
        last = std::max(last, id);
        d.titles.emplace(id, std::move(title));
      }
    }
    std::sort(d.byLower.begin(), d.byLower.end());

    TSQLiteDatabase entries(dir + "/" + EntryStoreName, EntryStoreKey);
    auto entryOf = [&entries](std::int64_t id) {
      const auto t =
          entries.GetTable("SELECT a FROM enci where id='" + std::to_string(id) + "' limit 1");
      return t->Count() > 0 ? t->FieldAsString(0) : std::string();
    };

    std::vector<bool> covered;
    for (std::size_t i = 0; i < words.size(); ++i) {
      bool ok = false;
      const std::int64_t id = Pick(d, words[i]);
      if (id >= 0) {
        const std::string entry = entryOf(id);
        ok = HasChinese(entry);
        for (const auto& lead : Leads(entry)) {
          if (ok) break;
          const auto found = d.lastExact.find(lead);
          ok = found != d.lastExact.end() && HasChinese(entryOf(found->second));
        }
      }
      covered.push_back(ok);
      if (!ok) std::fprintf(stderr, "%zu\t%s\n", i + 1, words[i].c_str());
    }
    for (std::size_t n : sizes) {
      const std::size_t upto = std::min(n, covered.size());
      const auto hits = static_cast<std::size_t>(
          std::count(covered.begin(), covered.begin() + static_cast<std::ptrdiff_t>(upto), true));
      std::printf("top %zu: %zu of %zu reach an entry with Chinese (%.2f%%)\n", n, hits, upto,
                  upto == 0 ? 0.0 : 100.0 * static_cast<double>(hits) / static_cast<double>(upto));
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "enci-coverage: %s\n", e.what());
    return 1;
  }
}
