#include "tools/dictbuild/Sources.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace enci {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

template <typename F>
void ForEachLine(const std::string& text, F&& f) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    f(line);
    start = end + 1;
  }
}

std::vector<std::string_view> Tokens(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    const std::size_t j = s.find(' ', i);
    const std::size_t end = j == std::string_view::npos ? s.size() : j;
    if (end > i) out.push_back(s.substr(i, end - i));
    i = end;
  }
  return out;
}

std::uint64_t Number(std::string_view s, int base, const std::string& where) {
  try {
    std::size_t used = 0;
    const auto v = std::stoull(std::string(s), &used, base);
    if (used != s.size()) throw std::invalid_argument("trailing text");
    return v;
  } catch (const std::exception&) {
    throw std::runtime_error("malformed number \"" + std::string(s) + "\" in " + where);
  }
}

Pos PosOf(std::string_view s, const std::string& where) {
  if (s == "n") return Pos::Noun;
  if (s == "v") return Pos::Verb;
  if (s == "a" || s == "s") return Pos::Adj;
  if (s == "r") return Pos::Adv;
  throw std::runtime_error("unknown part of speech \"" + std::string(s) + "\" in " + where);
}

std::string Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

// Reads a JSON-style string literal starting at text[i] == '"'; leaves i after it.
std::string Literal(const std::string& text, std::size_t& i) {
  std::string out;
  ++i;
  while (i < text.size() && text[i] != '"') {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    out.push_back(text[i]);
    ++i;
  }
  ++i;
  return out;
}

// Variant and classifier references are indices into a lookup list.
std::vector<CedictRef> Refs(const QJsonArray& indices, const QJsonArray& lookup) {
  std::vector<CedictRef> out;
  for (const auto& v : indices) {
    const QJsonArray ref = lookup.at(v.toInt(-1)).toArray();
    if (ref.size() < 3) continue;
    out.push_back({ref[0].toString().toStdString(), ref[1].toString().toStdString(),
                   ref[2].toString().toStdString()});
  }
  return out;
}

}  // namespace

std::uint64_t SynsetKey(Pos pos, std::uint64_t offset) {
  return (static_cast<std::uint64_t>(static_cast<unsigned char>(pos)) << 40) | offset;
}

std::string StripMarker(const std::string& word) {
  for (const char* m : {"(a)", "(p)", "(ip)"}) {
    const std::string_view marker(m);
    if (word.size() > marker.size() &&
        word.compare(word.size() - marker.size(), marker.size(), marker) == 0) {
      return word.substr(0, word.size() - marker.size());
    }
  }
  return word;
}

void SplitGloss(const std::string& gloss, std::string& definition,
                std::vector<std::string>& examples) {
  definition.clear();
  examples.clear();
  std::vector<std::string> parts;
  std::string current;
  bool quoted = false;
  for (char c : gloss) {
    if (c == '"') quoted = !quoted;
    if (c == ';' && !quoted) {
      parts.push_back(Trim(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  parts.push_back(Trim(current));
  for (auto& p : parts) {
    if (p.empty()) continue;
    if (p.front() == '"') {
      const auto close = p.find('"', 1);
      std::string ex = close == std::string::npos ? p.substr(1) : p.substr(1, close - 1);
      // Keep an attribution that follows the quote ("..." - Shakespeare).
      if (close != std::string::npos && close + 1 < p.size())
        ex.append(" ").append(Trim(p.substr(close + 1)));
      ex = Trim(ex);
      if (!ex.empty()) examples.push_back(ex);
    } else {
      if (!definition.empty()) definition += "; ";
      definition += p;
    }
  }
}

WordNet ReadWordNet(const std::filesystem::path& dictFolder) {
  WordNet wn;
  const std::pair<const char*, Pos> files[] = {
      {"noun", Pos::Noun}, {"verb", Pos::Verb}, {"adj", Pos::Adj}, {"adv", Pos::Adv}};
  for (const auto& file : files) {
    // Named copies: clang 14 cannot capture structured bindings in the lambdas below.
    const char* const name = file.first;
    const Pos pos = file.second;
    const auto dataPath = dictFolder / (std::string("data.") + name);
    const std::string where = dataPath.string();
    const std::string data = ReadAll(dataPath);
    ForEachLine(data, [&](std::string_view line) {
      if (line.empty() || line.front() == ' ') return;  // licence header
      const auto bar = line.find(" | ");
      const std::string_view head = line.substr(0, bar);
      std::string gloss =
          bar == std::string_view::npos ? std::string() : Trim(line.substr(bar + 3));
      const auto t = Tokens(head);
      if (t.size() < 4) throw std::runtime_error("malformed synset in " + where);
      Synset s;
      const std::uint64_t offset = Number(t[0], 10, where);
      s.pos = PosOf(t[2], where);
      std::size_t i = 3;
      const auto wordCount = Number(t[i++], 16, where);
      for (std::uint64_t w = 0; w < wordCount; ++w) {
        if (i + 1 >= t.size()) throw std::runtime_error("malformed synset in " + where);
        s.words.push_back(StripMarker(std::string(t[i])));
        i += 2;
      }
      if (i >= t.size()) throw std::runtime_error("malformed synset in " + where);
      const auto pointerCount = Number(t[i++], 10, where);
      for (std::uint64_t p = 0; p < pointerCount; ++p) {
        if (i + 3 >= t.size()) throw std::runtime_error("malformed pointer in " + where);
        Pointer ptr;
        ptr.symbol = std::string(t[i]);
        const auto targetOffset = Number(t[i + 1], 10, where);
        ptr.target = SynsetKey(PosOf(t[i + 2], where), targetOffset);
        const auto st = Number(t[i + 3], 16, where);
        ptr.sourceWord = static_cast<int>(st >> 8);
        ptr.targetWord = static_cast<int>(st & 0xFF);
        s.pointers.push_back(ptr);
        i += 4;
      }
      if (pos == Pos::Verb && i < t.size()) {
        const auto frameCount = Number(t[i++], 10, where);
        for (std::uint64_t f = 0; f < frameCount && i + 2 < t.size(); ++f) {
          // "+ f_num w_num"
          s.frames.emplace_back(static_cast<int>(Number(t[i + 1], 10, where)),
                                static_cast<int>(Number(t[i + 2], 16, where)));
          i += 3;
        }
      }
      SplitGloss(gloss, s.definition, s.examples);
      wn.synsets.emplace(SynsetKey(pos, offset), std::move(s));
    });

    const auto indexPath = dictFolder / (std::string("index.") + name);
    const std::string index = ReadAll(indexPath);
    ForEachLine(index, [&](std::string_view line) {
      if (line.empty() || line.front() == ' ') return;
      const auto t = Tokens(line);
      if (t.size() < 4) throw std::runtime_error("malformed lemma in " + indexPath.string());
      Lemma l;
      l.lemma = std::string(t[0]);
      l.pos = pos;
      const auto synsetCount = Number(t[2], 10, indexPath.string());
      if (synsetCount > t.size())
        throw std::runtime_error("malformed lemma in " + indexPath.string());
      for (std::size_t k = t.size() - synsetCount; k < t.size(); ++k) {
        l.synsets.push_back(SynsetKey(pos, Number(t[k], 10, indexPath.string())));
      }
      wn.lemmas.push_back(std::move(l));
    });
  }
  return wn;
}

Exceptions ReadExceptions(const std::filesystem::path& dataFolder) {
  Exceptions exc;
  const std::pair<const char*, decltype(&Exceptions::noun)> files[] = {
      {"noun.exc", &Exceptions::noun},
      {"verb.exc", &Exceptions::verb},
      {"adj.exc", &Exceptions::adj},
      {"adv.exc", &Exceptions::adv}};
  for (const auto& [name, member] : files) {
    auto& table = exc.*member;
    ForEachLine(ReadAll(dataFolder / name), [&](std::string_view line) {
      const auto t = Tokens(line);
      for (std::size_t k = 1; k < t.size(); ++k) {
        if (t[k] == t[0]) continue;
        std::string form(t[0]), base(t[k]);
        for (char& c : form) c = c == '_' ? ' ' : c;
        for (char& c : base) c = c == '_' ? ' ' : c;
        table[base].push_back(form);
      }
    });
  }
  return exc;
}

std::unordered_map<std::string, std::string> ReadCmuDict(const std::filesystem::path& indexJs) {
  const std::string text = ReadAll(indexJs);
  std::unordered_map<std::string, std::string> dict;
  std::size_t i = text.find('{');
  if (i == std::string::npos) throw std::runtime_error("no dictionary in " + indexJs.string());
  while (true) {
    i = text.find('"', i);
    if (i == std::string::npos) break;
    std::string word = Literal(text, i);
    i = text.find('"', i);
    if (i == std::string::npos) break;
    std::string pron = Literal(text, i);
    if (word.find('(') != std::string::npos) continue;  // alternative pronunciations
    dict.emplace(std::move(word), std::move(pron));
  }
  if (dict.empty()) throw std::runtime_error("no pronunciations in " + indexJs.string());
  return dict;
}

std::vector<CedictEntry> ReadCedict(const std::filesystem::path& allJs) {
  std::string text = ReadAll(allJs);
  const auto open = text.find('{');
  const auto close = text.rfind('}');
  if (open == std::string::npos || close == std::string::npos || close < open) {
    throw std::runtime_error("no dictionary object in " + allJs.string());
  }
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(
      QByteArray::fromRawData(text.data() + open, static_cast<qsizetype>(close - open + 1)),
      &error);
  if (error.error != QJsonParseError::NoError || !doc.isObject()) {
    throw std::runtime_error("cannot parse " + allJs.string() + ": " +
                             error.errorString().toStdString());
  }
  const QJsonObject root = doc.object();
  const QJsonArray all = root.value("all").toArray();
  const QJsonArray variants = root.value("variantLookup").toArray();
  const QJsonArray classifiers = root.value("classifierLookup").toArray();
  std::vector<CedictEntry> out;
  out.reserve(static_cast<std::size_t>(all.size()));
  for (const auto& v : all) {
    const QJsonArray e = v.toArray();
    if (e.size() < 4) continue;
    CedictEntry entry;
    entry.traditional = e[0].toString().toStdString();
    entry.simplified = e[1].toString().toStdString();
    entry.pinyin = e[2].toString().toStdString();
    if (e[3].isArray()) {
      for (const auto& s : e[3].toArray()) entry.senses.push_back(s.toString().toStdString());
    } else {
      entry.senses.push_back(e[3].toString().toStdString());
    }
    if (e.size() > 4) entry.variants = Refs(e[4].toArray(), variants);
    if (e.size() > 5) entry.classifiers = Refs(e[5].toArray(), classifiers);
    if (entry.simplified.empty()) continue;
    out.push_back(std::move(entry));
  }
  if (out.empty()) throw std::runtime_error("no entries in " + allJs.string());
  return out;
}

}  // namespace enci
