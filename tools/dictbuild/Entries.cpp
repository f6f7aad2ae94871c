#include "tools/dictbuild/Entries.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_set>
#include <utility>

#include "tools/dictbuild/Text.h"
#include "tools/dictbuild/Translations.h"

namespace enci {
namespace {

constexpr std::size_t kMaxTranslations = 5;
constexpr std::size_t kMaxSenseChinese = 2;
constexpr std::size_t kMaxWordsPerLine = 16;
constexpr std::size_t kMaxFrames = 8;
constexpr std::size_t kMaxPhrases = 12;
constexpr std::size_t kMaxEquivalents = 8;

const char* PosLabel(Pos p) {
  switch (p) {
    case Pos::Noun:
      return "n.";
    case Pos::Verb:
      return "v.";
    case Pos::Adj:
      return "adj.";
    case Pos::Adv:
      return "adv.";
  }
  return "";
}
const char* PosName(Pos p) {
  switch (p) {
    case Pos::Noun:
      return "名词";
    case Pos::Verb:
      return "动词";
    case Pos::Adj:
      return "形容词";
    case Pos::Adv:
      return "副词";
  }
  return "";
}

// The sentence patterns of WordNet's verb frames, numbered from 1.
const char* const kFrames[] = {"Something ----s",
                               "Somebody ----s",
                               "It is ----ing",
                               "Something is ----ing PP",
                               "Something ----s something Adjective/Noun",
                               "Something ----s Adjective/Noun",
                               "Somebody ----s Adjective",
                               "Somebody ----s something",
                               "Somebody ----s somebody",
                               "Something ----s somebody",
                               "Something ----s something",
                               "Something ----s to somebody",
                               "Somebody ----s on something",
                               "Somebody ----s somebody something",
                               "Somebody ----s something to somebody",
                               "Somebody ----s something from somebody",
                               "Somebody ----s somebody with something",
                               "Somebody ----s somebody of something",
                               "Somebody ----s something on somebody",
                               "Somebody ----s somebody PP",
                               "Somebody ----s something PP",
                               "Somebody ----s PP",
                               "Somebody's (body part) ----s",
                               "Somebody ----s somebody to INFINITIVE",
                               "Somebody ----s somebody INFINITIVE",
                               "Somebody ----s that CLAUSE",
                               "Somebody ----s to somebody",
                               "Somebody ----s to INFINITIVE",
                               "Somebody ----s whether INFINITIVE",
                               "Somebody ----s somebody into V-ing something",
                               "Somebody ----s something with something",
                               "Somebody ----s INFINITIVE",
                               "Somebody ----s VERB-ing",
                               "It ----s that CLAUSE",
                               "Something ----s INFINITIVE"};

// The kinds of word forms, in the order an entry lists them.
constexpr std::string_view kFormOrder = "spdi3rt";

const char* FormName(char kind) {
  switch (kind) {
    case 's':
      return "复数";
    case 'p':
      return "过去式";
    case 'd':
      return "过去分词";
    case 'i':
      return "现在分词";
    case '3':
      return "第三人称单数";
    case 'r':
      return "比较级";
    case 't':
      return "最高级";
  }
  return "";
}

const char* ExamName(std::string_view tag) {
  static const std::pair<const char*, const char*> names[] = {
      {"zk", "中考"}, {"gk", "高考"},    {"cet4", "四级"},  {"cet6", "六级"},
      {"ky", "考研"}, {"ielts", "雅思"}, {"toefl", "托福"}, {"gre", "GRE"}};
  for (const auto& [code, name] : names) {
    if (tag == code) return name;
  }
  return nullptr;
}

// Lines of an ECDICT text field; a line that starts with blanks goes on the one before.
std::vector<std::string> SourceLines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    const bool continued = !line.empty() && (line[0] == ' ' || line[0] == '\t');
    const auto first = line.find_first_not_of(" \t");
    const auto last = line.find_last_not_of(" \t\r");
    if (first == std::string::npos) continue;
    line = line.substr(first, last - first + 1);
    if (continued && !out.empty()) {
      out.back().append(" ").append(line);
    } else {
      out.push_back(std::move(line));
    }
  }
  return out;
}

// A line's leading label: a part of speech ("n.", "vt.") or a bracketed field ("[医]").
std::pair<std::string, std::string> SplitLabel(const std::string& line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] >= 'a' && line[i] <= 'z') ++i;
  if (i > 0 && i <= 6 && i < line.size() && line[i] == '.') {
    std::size_t rest = i + 1;
    while (rest < line.size() && line[rest] == ' ') ++rest;
    return {line.substr(0, i + 1), line.substr(rest)};
  }
  if (!line.empty() && line[0] == '[') {
    const auto close = line.find(']');
    if (close != std::string::npos && close < 40) {
      std::size_t rest = close + 1;
      while (rest < line.size() && line[rest] == ' ') ++rest;
      return {line.substr(0, close + 1), line.substr(rest)};
    }
  }
  return {{}, line};
}

bool IsNetLine(const std::string& line) { return line.rfind("[网络]", 0) == 0; }

// A word that is in common use: the Chinese entries list it as a translation.
bool CommonWord(const EcdictEntry& e) {
  auto ranked = [](int r) { return r > 0 && r <= 30000; };
  return e.collins > 0 || e.oxford || !e.tags.empty() || ranked(e.frq) || ranked(e.bnc);
}

// The items of a Chinese translation: "书, 书籍；帐簿（旧）" -> 书, 书籍, 帐簿.
std::vector<std::string> TranslationItems(const std::string& text) {
  std::vector<std::string> out;
  std::string item;
  int depth = 0;
  auto flush = [&] {
    const auto first = item.find_first_not_of(' ');
    const auto last = item.find_last_not_of(' ');
    if (first != std::string::npos) out.push_back(item.substr(first, last - first + 1));
    item.clear();
  };
  for (const auto& ch : Utf8Chars(text)) {
    if (ch == "(" || ch == "（" || ch == "[" || ch == "<" || ch == "〔" || ch == "【") {
      ++depth;
    } else if (ch == ")" || ch == "）" || ch == "]" || ch == ">" || ch == "〕" || ch == "】") {
      if (depth > 0) --depth;
    } else if (depth > 0) {
      continue;
    } else if (ch == "," || ch == "，" || ch == ";" || ch == "；" || ch == "、") {
      flush();
    } else {
      item += ch;
    }
  }
  flush();
  return out;
}

// ECDICT's phonetic with the Cyrillic schwa it often uses for the IPA one.
std::string IpaOf(std::string phonetic) {
  for (std::size_t p = phonetic.find("ә"); p != std::string::npos; p = phonetic.find("ә", p)) {
    phonetic.replace(p, std::string("ә").size(), "ə");
  }
  return phonetic;
}

std::string Blanks(std::string s) {
  std::replace(s.begin(), s.end(), '_', ' ');
  return s;
}

std::string Span(const char* cls, const std::string& inner) {
  return std::string("<S C=\"") + cls + "\">" + inner + "</S>";
}
std::string Div(const char* cls, const std::string& inner) {
  return std::string("<div C=\"") + cls + "\">" + inner + "</div>";
}

// A link to another headword of the dictionary, named by the address's fragment.
std::string Link(const std::string& title) {
  std::string href;
  for (char c : EscapeText(title)) {
    if (c == '"') {
      href += "&quot;";
    } else {
      href.push_back(c);
    }
  }
  return "<a C=\"fw\" href=\"#" + href + "\">" + EscapeText(title) + "</a>";
}

std::string ReplaceAll(std::string s, std::string_view from, std::string_view to) {
  for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size())) {
    s.replace(p, from.size(), to);
  }
  return s;
}

// A phrase's gloss cut to one line, at a blank so no character is split.
std::string Shorten(const std::string& text) {
  constexpr std::size_t kMax = 80;
  if (text.size() <= kMax) return text;
  std::size_t cut = text.rfind(' ', kMax - 3);
  if (cut == std::string::npos || cut == 0) {
    cut = kMax - 3;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  }
  return text.substr(0, cut) + "...";
}

std::string Bracket(const std::string& inner) {
  std::string out("[");
  out += inner;
  out += "]";
  return out;
}

// Escaped CEDICT text with its bracketed pinyin ("[bi1 ge2]") given tone marks.
std::string CedictText(const std::string& text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find('[', i);
    if (open == std::string::npos) break;
    const std::size_t close = text.find(']', open);
    if (close == std::string::npos) break;
    out += EscapeText(text.substr(i, open - i));
    out += Bracket(EscapeWithReferences(PinyinMarks(text.substr(open + 1, close - open - 1))));
    i = close + 1;
  }
  out += EscapeText(text.substr(i));
  return out;
}

bool UnsafeTitle(const std::string& t) {
  return t.find_first_of("<>&") != std::string::npos || t.find("C=") != std::string::npos;
}

bool AsciiOnly(const std::string& s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Characters that say little about which sense a translation belongs to.
bool StopChar(const std::string& ch) {
  static const std::unordered_set<std::string> chars = {
      "的", "了", "子", "人", "性", "化", "物", "者", "之", "儿", "不", "一", "是", "有",
      "大", "小", "中", "上", "下", "出", "地", "得", "可", "为", "体", "家", "生", "等",
      "个", "以", "和", "在", "于", "所", "而", "其", "种", "或", "使", "成", "作", "用"};
  return chars.count(ch) != 0;
}

std::vector<std::string> RawWords(const std::string& text) {
  std::vector<std::string> out;
  std::string w;
  for (char c : text + " ") {
    if (c >= 'a' && c <= 'z') {
      w.push_back(c);
    } else {
      if (w.size() >= 3) out.push_back(w);
      w.clear();
    }
  }
  return out;
}

class EnglishBuilder {
 public:
  EnglishBuilder(const SourceData& data, const TranslationIndex& index, Counts& counts)
      : data_(data), index_(index), counts_(counts) {
    for (const auto& l : data_.wordnet.lemmas) {
      senseCount_[LemmaPosKey(l.lemma, l.pos)] = l.synsets.size();
    }
  }

  struct Head {
    std::string title;  // display form
    std::vector<const Lemma*> lemmas;
    const EcdictEntry* ec = nullptr;
    std::vector<std::pair<char, std::string>> forms;      // its word forms, kFormOrder
    std::vector<std::pair<std::string, std::string>> of;  // (word, kinds) it is a form of
    bool alias = false;  // the same word as another head, written as the other source does
  };

  // WordNet's lemmas and ECDICT's words, one head per distinct headword, then every word
  // form that neither gives as a headword. Unsorted.
  std::vector<Head> Heads() {
    std::map<std::string, std::vector<const Lemma*>> byLemma;
    for (const auto& l : data_.wordnet.lemmas) byLemma[l.lemma].push_back(&l);
    std::vector<Head> heads;
    heads.reserve(byLemma.size() + data_.ecdict.size());
    std::unordered_map<std::string, std::size_t> byTitle;
    byTitle.reserve(byLemma.size() + data_.ecdict.size());
    // WordNet's lemmas are lower case; each is one word whatever case its senses write.
    std::unordered_map<std::string, std::size_t> byLower;
    for (auto& [lemma, lemmas] : byLemma) {
      Head h;
      h.lemmas = std::move(lemmas);
      h.title = Blanks(DisplayForm(lemma, h.lemmas));
      if (byTitle.emplace(h.title, heads.size()).second) {
        byLower.emplace(AsciiLower(h.title), heads.size());
        heads.push_back(std::move(h));
      }
    }
    // Same writing first, so that another case of a word WordNet has goes with it only
    // when the same writing is not there.
    std::vector<bool> attached(data_.ecdict.size(), false);
    for (std::size_t i = 0; i < data_.ecdict.size(); ++i) {
      const auto it = byTitle.find(data_.ecdict[i].word);
      if (it == byTitle.end() || heads[it->second].ec != nullptr) continue;
      heads[it->second].ec = &data_.ecdict[i];
      attached[i] = true;
      ++counts_.merged;
    }
    for (std::size_t i = 0; i < data_.ecdict.size(); ++i) {
      if (attached[i]) continue;
      const EcdictEntry& e = data_.ecdict[i];
      const auto [it, fresh] = byTitle.emplace(e.word, heads.size());
      const auto other = fresh ? byLower.find(AsciiLower(e.word)) : byLower.end();
      if (other != byLower.end() && heads[other->second].ec == nullptr) {
        // The same word written in another case (Karen / karen): both writings get the
        // whole entry, so either one typed finds it.
        Head& wn = heads[other->second];
        wn.ec = &e;
        Head h;
        h.title = e.word;
        h.lemmas = wn.lemmas;
        h.ec = &e;
        h.alias = true;
        heads.push_back(std::move(h));
        ++counts_.merged;
      } else if (fresh) {
        Head h;
        h.title = e.word;
        h.ec = &e;
        heads.push_back(std::move(h));
        ++counts_.ecdictOnly;
      }
    }
    // Which words each form is of, from the words' own forms and from a form's own note.
    std::unordered_map<std::string, std::vector<std::pair<std::string, char>>> formOf;
    const std::size_t sourced = heads.size();
    for (std::size_t i = 0; i < sourced; ++i) {
      Head& h = heads[i];
      h.forms = FormsOf(h);
      if (h.alias) continue;  // its other writing leads the forms to it
      for (const auto& [kind, form] : h.forms) formOf[form].emplace_back(h.title, kind);
      if (h.ec == nullptr) continue;
      std::string base, kinds;
      for (const auto& [k, v] : ParseExchange(h.ec->exchange)) {
        if (k == '0') base = v;
        if (k == '1') kinds = v;
      }
      if (base.empty() || base == h.title || !byTitle.count(base)) continue;
      for (char k : kinds) {
        if (kFormOrder.find(k) != std::string_view::npos) formOf[h.title].emplace_back(base, k);
      }
    }
    for (auto& [form, bases] : formOf) {
      auto found = byTitle.find(form);
      if (found == byTitle.end()) {
        found = byTitle.emplace(form, heads.size()).first;
        Head h;
        h.title = form;
        heads.push_back(std::move(h));
        ++counts_.formHeadwords;
      }
      Head& h = heads[found->second];
      for (const auto& [base, kind] : bases) {
        auto at = std::find_if(h.of.begin(), h.of.end(),
                               [&b = base](const auto& o) { return o.first == b; });
        if (at == h.of.end()) {
          h.of.emplace_back(base, std::string());
          at = h.of.end() - 1;
        }
        if (at->second.find(kind) == std::string::npos) at->second.push_back(kind);
      }
    }
    for (auto& h : heads) {
      for (auto& o : h.of) {
        std::sort(o.second.begin(), o.second.end(),
                  [](char a, char b) { return kFormOrder.find(a) < kFormOrder.find(b); });
      }
    }
    return heads;
  }

  // A word's forms: ECDICT's where it lists them, else WordNet's exceptions and the rules.
  std::vector<std::pair<char, std::string>> FormsOf(const Head& head) const {
    std::vector<std::pair<char, std::string>> raw;
    if (head.ec != nullptr) {
      const auto exchange = ParseExchange(head.ec->exchange);
      // A plural has no plural of its own (children, not childrens).
      const bool plural = std::any_of(exchange.begin(), exchange.end(), [](const auto& item) {
        return item.first == '1' && item.second.find('s') != std::string::npos;
      });
      for (const auto& item : exchange) {
        if (kFormOrder.find(item.first) == std::string_view::npos) continue;
        if (plural && item.first == 's') continue;
        raw.push_back(item);
      }
    }
    if (raw.empty()) {
      const std::string& w = head.title;
      for (const Lemma* l : head.lemmas) {
        switch (l->pos) {
          case Pos::Noun:
            raw.emplace_back('s', NounPlural(w, data_.exceptions));
            break;
          case Pos::Verb: {
            const VerbForms v = VerbFormsOf(w, data_.exceptions);
            raw.emplace_back('3', v.third);
            raw.emplace_back('p', v.past);
            raw.emplace_back('d', v.pastParticiple);
            raw.emplace_back('i', v.presentParticiple);
            break;
          }
          case Pos::Adj: {
            const GradedForms g = AdjectiveForms(w, data_.exceptions);
            raw.emplace_back('r', g.comparative);
            raw.emplace_back('t', g.superlative);
            break;
          }
          case Pos::Adv: {
            if (head.lemmas.size() > 1) break;  // the adjective's forms already stand
            const GradedForms g = AdverbForms(w, data_.exceptions);
            raw.emplace_back('r', g.comparative);
            raw.emplace_back('t', g.superlative);
            break;
          }
        }
      }
    }
    std::vector<std::pair<char, std::string>> out;
    for (char kind : kFormOrder) {
      for (const auto& [k, forms] : raw) {
        if (k != kind) continue;
        // "was, were"
        std::size_t start = 0;
        while (start < forms.size()) {
          std::size_t end = forms.find(',', start);
          if (end == std::string::npos) end = forms.size();
          std::string f = forms.substr(start, end - start);
          start = end + 1;
          while (!f.empty() && f.front() == ' ') f.erase(0, 1);
          while (!f.empty() && f.back() == ' ') f.pop_back();
          if (f.empty() || f == head.title) continue;
          const std::pair<char, std::string> item(kind, f);
          if (std::find(out.begin(), out.end(), item) == out.end()) out.push_back(item);
        }
      }
    }
    return out;
  }

  void IndexPhrases(const std::vector<Head>& heads) {
    for (std::size_t h = 0; h < heads.size(); ++h) {
      const std::string& t = heads[h].title;
      if (t.find(' ') == std::string::npos) continue;
      // A form of a phrase (went by) is listed as its phrase (go by).
      if (heads[h].lemmas.empty() && heads[h].ec == nullptr) continue;
      std::set<std::string> tokens;
      std::size_t start = 0;
      while (start < t.size()) {
        std::size_t end = t.find(' ', start);
        if (end == std::string::npos) end = t.size();
        tokens.insert(AsciiLower(t.substr(start, end - start)));
        start = end + 1;
      }
      for (const auto& tok : tokens) phrasesByWord_[tok].push_back(h);
    }
  }

  // A headword that made it into the dictionary: the Chinese entries may point to it.
  void Accept(const std::vector<Head>& heads, std::size_t h) {
    heads_ = &heads;
    accepted_.emplace(AsciiLower(heads[h].title), h);
    const EcdictEntry* ec = heads[h].ec;
    if (ec == nullptr || heads[h].alias || !CommonWord(*ec)) return;
    // A plural or a third person says again what its word says.
    if (!heads[h].of.empty() &&
        std::all_of(heads[h].of.begin(), heads[h].of.end(), [](const auto& o) {
          return o.second.find_first_not_of("s3i") == std::string::npos;
        })) {
      return;
    }
    // The Chinese words its translation lines name, for the Chinese entries.
    const int rank = ec->frq > 0 ? ec->frq : ec->bnc > 0 ? ec->bnc : 40000;
    const int band = rank <= 2000 ? 0 : rank <= 5000 ? 1 : rank <= 10000 ? 2 : 3;
    int line = 0;
    for (const auto& l : SourceLines(ec->translation)) {
      const auto [label, text] = SplitLabel(l);
      if (label.empty() || label[0] == '[') continue;  // fields of knowledge, the web
      const auto items = TranslationItems(text);
      for (std::size_t k = 0; k < items.size(); ++k) {
        ecNames_[items[k]].push_back(
            {h, line * 3 + static_cast<int>(std::min<std::size_t>(k, 6)) * 2 + band, line});
      }
      ++line;
    }
  }

  std::string Entry(const Head& head, const std::vector<Head>& heads) {
    std::string e;
    e += Pronunciation(head);
    e += FormOf(head);
    e += Tags(head);
    e += TranslationLines(head);
    e += Senses(head, static_cast<std::size_t>(&head - heads.data()));
    e += SynonymsAndAntonyms(head);
    e += Forms(head);
    e += Usage(head);
    e += Phrases(head, heads);
    e += NetLines(head);
    return e;
  }

  // The English headwords a Chinese headword translates, most precise first: those its
  // own glosses name, in the order of its glosses, then those whose senses the English
  // entries gloss with it. Each with the definition of the sense it matches. Called after
  // every English entry is built.
  std::string Equivalents(const std::string& simp, const std::vector<std::size_t>& readings) const {
    if (heads_ == nullptr) return {};
    struct Found {
      int score = 1 << 30;
      int verb = -1;  // kind the best gloss asked for: -1 none, 0 not a verb, 1 verb
      std::string gloss;
      int ecLine = -1;  // the ECDICT translation line that names it
      int ecScore = 0;
    };
    // The main reading, the one with the most senses, before rare ones (跑 páo "to paw"
    // after pǎo "to run"), names last.
    std::vector<std::size_t> order = readings;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
      const CedictEntry& x = data_.cedict[a];
      const CedictEntry& y = data_.cedict[b];
      const bool xn = !x.pinyin.empty() && x.pinyin[0] >= 'A' && x.pinyin[0] <= 'Z';
      const bool yn = !y.pinyin.empty() && y.pinyin[0] >= 'A' && y.pinyin[0] <= 'Z';
      return xn != yn ? yn : x.senses.size() > y.senses.size();
    });
    std::map<std::size_t, Found> found;
    for (std::size_t r = 0; r < order.size(); ++r) {
      const auto& senses = data_.cedict[order[r]].senses;
      for (std::size_t s = 0; s < senses.size(); ++s) {
        const auto cut = CutSense(senses[s]);
        for (std::size_t k = 0; k < cut.size(); ++k) {
          // Only a word WordNet writes the same way: "me" is not ME (Maine); single
          // letters ("I") name elements and letters there, not pronouns.
          if (cut[k].text.size() < 2) continue;
          const auto it = accepted_.find(AsciiLower(cut[k].text));
          if (it == accepted_.end() || !Writes((*heads_)[it->second], cut[k].text)) continue;
          const int score = static_cast<int>(std::min<std::size_t>(r, 3)) * 4 +
                            static_cast<int>(std::min<std::size_t>(s, 6)) * 3 +
                            static_cast<int>(std::min<std::size_t>(k, 6)) * 2 +
                            (cut[k].noted ? 3 : 0) + (cut[k].marked ? 12 : 0);
          Found& f = found[it->second];
          if (score < f.score) {
            f.score = score;
            f.verb = cut[k].verb ? 1 : 0;
            f.gloss = cut[k].text;
          }
        }
      }
    }
    const auto named = ecNames_.find(simp);
    if (named != ecNames_.end()) {
      for (const auto& n : named->second) {
        Found& f = found[n.head];
        if (f.ecLine < 0 || n.score < f.ecScore) {
          f.ecScore = n.score;
          f.ecLine = n.line;
        }
        f.score = std::min(f.score, n.score);
      }
    }
    static const std::vector<SenseUse> kNoUses;
    const auto usesFound = senseUses_.find(simp);
    const auto& uses = usesFound == senseUses_.end() ? kNoUses : usesFound->second;
    for (const auto& u : uses) {
      Found& f = found[u.head];
      f.score = std::min(f.score, 10 + u.position * 2 + std::min(u.number - 1, 8));
    }
    std::vector<std::pair<std::size_t, Found>> list(found.begin(), found.end());
    const auto& heads = *heads_;
    std::sort(list.begin(), list.end(), [&heads](const auto& a, const auto& b) {
      if (a.second.score != b.second.score) return a.second.score < b.second.score;
      return AsciiLower(heads[a.first].title) < AsciiLower(heads[b.first].title);
    });
    std::string out;
    for (std::size_t i = 0; i < list.size() && i < kMaxEquivalents; ++i) {
      const Head& head = heads[list[i].first];
      const Found& f = list[i].second;
      // The part of speech the gloss names ("to ..." a verb), its commonest if several.
      const Lemma* pick = nullptr;
      for (const Lemma* l : head.lemmas) {
        const bool verb = l->pos == Pos::Verb;
        if (f.verb >= 0 && verb != (f.verb == 1)) continue;
        if (pick == nullptr || l->synsets.size() > pick->synsets.size()) pick = l;
      }
      if (pick == nullptr && !head.lemmas.empty()) pick = head.lemmas.front();
      // The first sense glossed first with this word, in that part of speech if it has one;
      // else the part of speech's first sense.
      const Synset* sense = nullptr;
      int best = 0;
      for (const auto& u : uses) {
        const Synset* s = u.head == list[i].first ? FindSynset(u.synset) : nullptr;
        if (s == nullptr) continue;
        const int value =
            (pick != nullptr && s->pos != pick->pos ? 1000 : 0) + u.position * 20 + u.number;
        if (sense == nullptr || value < best) {
          sense = s;
          best = value;
        }
      }
      if (sense == nullptr && pick != nullptr) {
        // The first sense that writes the word as the gloss does (China the country).
        for (auto key : pick->synsets) {
          const Synset* s = FindSynset(key);
          if (s == nullptr) continue;
          if (sense == nullptr) sense = s;
          if (std::find_if(s->words.begin(), s->words.end(), [&f](const std::string& w) {
                return Blanks(w) == f.gloss;
              }) != s->words.end()) {
            sense = s;
            break;
          }
        }
      }
      // Written as the sense writes it: China, not china.
      std::string shown = head.title;
      if (sense != nullptr) {
        const std::string lower = AsciiLower(head.title);
        for (const auto& w : sense->words) {
          if (AsciiLower(Blanks(w)) == lower) {
            shown = Blanks(w);
            break;
          }
        }
      }
      std::string line = Span("pw", EscapeText(shown));
      if (sense == nullptr && f.ecLine >= 0 && head.ec != nullptr) {
        // Its ECDICT translation line stands for the sense.
        std::string nameLine;
        int n = 0;
        for (const auto& l : SourceLines(head.ec->translation)) {
          const auto [label, text] = SplitLabel(l);
          if (label.empty() || label[0] == '[') continue;
          if (n++ == f.ecLine) {
            nameLine = l;
            break;
          }
        }
        const auto [label, text] = SplitLabel(nameLine);
        if (!label.empty()) line.append(" ").append(Span("pos", EscapeText(label)));
        if (!text.empty() && GbkEncodable(text)) {
          line.append(" ").append(Span("pd", EscapeText(Shorten(text))));
        }
      } else if (sense != nullptr) {
        line.append(" ").append(Span("pos", PosLabel(sense->pos)));
        if (GbkEncodable(sense->definition)) {
          line.append(" ").append(Span("pd", EscapeText(sense->definition)));
        }
      }
      out += Div("phr", line);
    }
    if (out.empty()) return out;
    return Div("sect", "英文释义") + out;
  }

 private:
  struct EcName {
    std::size_t head;
    int score;
    int line;  // among its part-of-speech lines
  };
  struct SenseUse {
    std::size_t head;
    std::uint64_t synset;
    int position;  // among the sense's Chinese glosses
    int number;    // the sense's number in its entry
  };

  bool Writes(const Head& head, const std::string& text) const {
    for (const Lemma* l : head.lemmas) {
      for (auto key : l->synsets) {
        const Synset* s = FindSynset(key);
        if (s == nullptr) continue;
        for (const auto& w : s->words) {
          if (Blanks(w) == text) return true;
        }
      }
    }
    return false;
  }

  static std::vector<std::string> SplitJoined(const std::string& joined) {
    std::vector<std::string> out;
    static const std::string sep = "；";
    std::size_t start = 0;
    while (start < joined.size()) {
      std::size_t end = joined.find(sep, start);
      if (end == std::string::npos) end = joined.size();
      if (end > start) out.push_back(joined.substr(start, end - start));
      start = end + sep.size();
    }
    return out;
  }

  static std::string LemmaPosKey(const std::string& lemma, Pos p) {
    return lemma + '#' + static_cast<char>(p);
  }

  // The lemma as the synsets write it: lower case where any sense does, else the first
  // capitalised form (China, Aachen).
  std::string DisplayForm(const std::string& lemma, const std::vector<const Lemma*>& lemmas) const {
    std::string cased;
    for (const Lemma* l : lemmas) {
      for (auto key : l->synsets) {
        const auto it = data_.wordnet.synsets.find(key);
        if (it == data_.wordnet.synsets.end()) continue;
        for (const auto& w : it->second.words) {
          if (w == lemma) return lemma;
          if (cased.empty() && AsciiLower(w) == lemma) cased = w;
        }
      }
    }
    return cased.empty() ? lemma : cased;
  }

  const Synset* FindSynset(std::uint64_t key) const {
    const auto it = data_.wordnet.synsets.find(key);
    return it == data_.wordnet.synsets.end() ? nullptr : &it->second;
  }

  // Index (1-based) of the lemma among the synset's words, 0 when absent.
  static int WordNumber(const Synset& s, const std::string& lemma) {
    for (std::size_t i = 0; i < s.words.size(); ++i) {
      if (AsciiLower(s.words[i]) == lemma) return static_cast<int>(i + 1);
    }
    return 0;
  }

  std::string Pronunciation(const Head& head) const {
    std::string out;
    if (head.ec != nullptr && !head.ec->phonetic.empty() &&
        head.ec->phonetic.find('\\') == std::string::npos) {
      out = Span("lbl", "英") + " " +
            Span("ipa", Bracket(EscapeWithReferences(IpaOf(head.ec->phonetic))));
    }
    const std::string us = American(head.title);
    if (!us.empty()) {
      if (!out.empty()) out += " ";
      out += Span("lbl", "美") + " " + Span("ipa", Bracket(EscapeWithReferences(us)));
    }
    if (out.empty()) return out;
    return Div("phon", out);
  }

  // CMUdict's pronunciation of every word of the title, as IPA; empty when one is missing.
  std::string American(const std::string& title) const {
    std::string ipa;
    std::size_t start = 0;
    const std::string lower = AsciiLower(title);
    while (start < lower.size()) {
      std::size_t end = lower.find(' ', start);
      if (end == std::string::npos) end = lower.size();
      const auto it = data_.pronunciations.find(lower.substr(start, end - start));
      if (it == data_.pronunciations.end()) return {};
      if (!ipa.empty()) ipa += ' ';
      ipa += ArpabetToIpa(it->second);
      start = end + 1;
    }
    return ipa;
  }

  // "go 的过去式": what the form is of, each word a link.
  std::string FormOf(const Head& head) const {
    std::string out;
    for (const auto& [base, kinds] : head.of) {
      if (!GbkEncodable(base) || UnsafeTitle(base)) continue;  // no row to lead to
      std::string names;
      for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (k > 0) names += k + 1 == kinds.size() ? "和" : "、";
        names += FormName(kinds[k]);
      }
      out += Div("formof", Link(base) + " 的" + names);
      ++counts_.formLinks;
    }
    return out;
  }

  // Exam tags, Collins stars, the Oxford 3000 mark and a frequency band.
  std::string Tags(const Head& head) const {
    if (head.ec == nullptr) return {};
    const EcdictEntry& e = *head.ec;
    std::string out;
    auto add = [&out](const char* cls, const std::string& text) {
      if (!out.empty()) out += " ";
      out += Span(cls, text);
    };
    std::size_t start = 0;
    while (start < e.tags.size()) {
      std::size_t end = e.tags.find(' ', start);
      if (end == std::string::npos) end = e.tags.size();
      if (const char* name = ExamName(std::string_view(e.tags).substr(start, end - start))) {
        add("tag", name);
      }
      start = end + 1;
    }
    if (e.collins > 0) {
      std::string stars;
      for (int i = 0; i < e.collins && i < 5; ++i) stars += "★";
      add("star", stars);
    }
    if (e.oxford) add("tag", "牛津3000");
    const int rank = e.frq > 0 && (e.bnc <= 0 || e.frq < e.bnc) ? e.frq : e.bnc;
    if (rank > 0) {
      static const std::pair<int, const char*> bands[] = {
          {1000, "词频前1000"}, {2000, "词频前2000"}, {5000, "词频前5000"},
          {10000, "词频前1万"}, {20000, "词频前2万"}, {50000, "词频前5万"}};
      for (const auto& [limit, name] : bands) {
        if (rank <= limit) {
          add("tag", name);
          break;
        }
      }
    }
    if (out.empty()) return out;
    return Div("tags", out);
  }

  // A translation line with its part of speech or field set apart.
  static std::string LabelledLine(const std::string& line) {
    const auto [label, text] = SplitLabel(line);
    if (label.empty()) return EscapeText(text);
    return Span(label[0] == '[' ? "lbl" : "pos", EscapeText(label)) + " " + EscapeText(text);
  }

  // ECDICT's own "go的过去式" line: the form-of line says it already.
  static bool FormNote(const Head& head, const std::string& line) {
    const std::string text = SplitLabel(line).second;
    for (const auto& o : head.of) {
      if (text.rfind(o.first + "的", 0) == 0 || text.rfind(o.first + " 的", 0) == 0) return true;
    }
    return false;
  }

  std::string NetLines(const Head& head) const {
    if (head.ec == nullptr) return {};
    std::string out;
    for (const auto& l : SourceLines(head.ec->translation)) {
      if (!IsNetLine(l)) continue;
      const std::string text = SplitLabel(l).second;
      if (text.empty()) continue;
      if (!GbkEncodable(text)) {
        ++counts_.droppedTexts;
        continue;
      }
      out += Div("trans", EscapeText(text));
    }
    if (out.empty()) return out;
    return Div("sect", "网络释义") + out;
  }

  std::vector<std::string> Chinese(const std::string& english, bool verb, std::size_t max) const {
    std::vector<std::string> out;
    for (const auto& t : index_.Find(english, verb)) {
      const std::string& simp = data_.cedict[t.entry].simplified;
      if (std::find(out.begin(), out.end(), simp) != out.end()) continue;
      out.push_back(simp);
      if (out.size() == max) break;
    }
    return out;
  }

  static std::string Join(const std::vector<std::string>& items, const char* sep) {
    std::string out;
    for (const auto& i : items) {
      if (!out.empty()) out += sep;
      out += i;
    }
    return out;
  }

  std::string TranslationLines(const Head& head) const {
    if (head.ec != nullptr) {
      std::string out;
      for (const auto& l : SourceLines(head.ec->translation)) {
        if (IsNetLine(l) || FormNote(head, l)) continue;
        if (!GbkEncodable(l)) {
          ++counts_.droppedTexts;
          continue;
        }
        out += Div("trans", LabelledLine(l));
      }
      if (!out.empty()) return out;
    }
    // CEDICT's glosses tell verbs ("to ...") from the rest but not nouns from adjectives:
    // the rest goes once, under the part of speech with the most senses.
    const Lemma* primary = nullptr;
    for (const Lemma* l : head.lemmas) {
      if (l->pos != Pos::Verb &&
          (primary == nullptr || l->synsets.size() > primary->synsets.size())) {
        primary = l;
      }
    }
    std::string out;
    for (const Lemma* l : head.lemmas) {
      if (l->pos != Pos::Verb && l != primary) continue;
      const auto zh = Chinese(head.title, l->pos == Pos::Verb, kMaxTranslations);
      if (zh.empty()) continue;
      out += Div("trans", Span("pos", PosLabel(l->pos)) + " " + EscapeText(Join(zh, "；")));
    }
    return out;
  }

  // A Chinese gloss for one sense, taken only where it can be told apart from the other
  // senses: the English word has this one sense, or the CEDICT entry's other glosses, or
  // the Chinese words for the sense's definition, share something with it.
  const std::string& SenseChinese(std::uint64_t key, const Synset& s) {
    const auto cached = senseChinese_.find(key);
    if (cached != senseChinese_.end()) return cached->second;
    std::string& result = senseChinese_[key];
    const bool verb = s.pos == Pos::Verb;

    struct Candidate {
      std::string simp;
      int value;
    };
    std::vector<Candidate> candidates;
    std::vector<std::string> context;
    std::set<std::string> contextChars;
    bool contextReady = false;
    for (const auto& word : s.words) {
      const std::string w = Blanks(word);
      const auto hits = index_.Find(w, verb);
      if (hits.empty()) continue;
      if (!contextReady) {
        contextReady = true;
        // The sense's own words are left out: they are as ambiguous as the headword.
        std::string text = s.definition;
        int hyponyms = 0;
        for (const auto& p : s.pointers) {
          if (p.symbol == "@" || p.symbol == "@i" || p.symbol == "&" ||
              (p.symbol == "~" && hyponyms++ < 12)) {
            if (const Synset* t = FindSynset(p.target)) {
              for (const auto& x : t->words) text.append(" ").append(Blanks(x));
            }
          }
        }
        context = ContentWords(text);
        for (const auto& raw : RawWords(s.definition)) {
          for (bool v : {false, true}) {
            int taken = 0;
            for (const auto& t : index_.Find(raw, v)) {
              for (const auto& ch : Utf8Chars(data_.cedict[t.entry].simplified)) {
                if (!StopChar(ch)) contextChars.insert(ch);
              }
              if (++taken == 2) break;
            }
          }
        }
      }
      const auto own = ContentWords(w);
      const auto count = senseCount_.find(LemmaPosKey(AsciiLower(word), s.pos));
      const bool monosemous = count != senseCount_.end() && count->second == 1;
      int taken = 0;
      for (const auto& t : hits) {
        if (taken++ == 8) break;
        const auto& bag = index_.Bag(t.entry);
        int overlap = 0;
        for (const auto& b : bag) {
          if (std::binary_search(context.begin(), context.end(), b) &&
              !std::binary_search(own.begin(), own.end(), b)) {
            ++overlap;
          }
        }
        const std::string& simp = data_.cedict[t.entry].simplified;
        int chars = 0;
        for (const auto& ch : Utf8Chars(simp)) {
          if (contextChars.count(ch)) ++chars;
        }
        if (!monosemous && overlap == 0 && chars == 0) continue;
        candidates.push_back({simp, overlap * 3 + chars * 2 + (monosemous ? 4 : 0) - t.rank / 3});
      }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.value > b.value; });
    std::vector<std::string> chosen;
    for (const auto& c : candidates) {
      if (std::find(chosen.begin(), chosen.end(), c.simp) != chosen.end()) continue;
      chosen.push_back(c.simp);
      if (chosen.size() == kMaxSenseChinese) break;
    }
    result = Join(chosen, "；");
    return result;
  }

  std::string Senses(const Head& head, std::size_t h) {
    if (head.lemmas.empty()) return SourceDefinitions(head);
    // The part of speech with the most senses first (have: the verb before the noun).
    std::vector<const Lemma*> lemmas = head.lemmas;
    std::stable_sort(lemmas.begin(), lemmas.end(), [](const Lemma* a, const Lemma* b) {
      return a->synsets.size() > b->synsets.size();
    });
    std::string out;
    for (const Lemma* l : lemmas) {
      std::string block;
      int number = 0;
      for (auto key : l->synsets) {
        const Synset* s = FindSynset(key);
        if (s == nullptr) continue;
        if (!GbkEncodable(s->definition)) {
          ++counts_.droppedTexts;
          continue;
        }
        std::string line =
            Span("num", std::to_string(++number) + ".") + " " + EscapeText(s->definition);
        const std::string& zh = SenseChinese(key, *s);
        if (!zh.empty()) line.append(" ").append(Span("zh", EscapeText(zh)));
        int position = 0;
        for (const auto& simp : SplitJoined(zh)) {
          if (head.alias) break;  // the other writing stands for it
          senseUses_[simp].push_back({h, key, position++, number});
        }
        block += Div("sense", line);
        for (const auto& ex : s->examples) {
          if (!GbkEncodable(ex)) {
            ++counts_.droppedTexts;
            continue;
          }
          block += Div("ex", EscapeText(ex));
        }
      }
      if (block.empty()) continue;
      out += Div("posh", Span("pos", PosLabel(l->pos)) + " " + PosName(l->pos)) + block;
    }
    if (out.empty()) return out;
    return Div("sect", "释义") + out;
  }

  // ECDICT's English definitions, for a word WordNet lacks (not for a form: its word has them).
  std::string SourceDefinitions(const Head& head) const {
    constexpr int kMaxDefinitions = 8;
    if (head.ec == nullptr || !head.of.empty()) return {};
    std::string out;
    int number = 0;
    for (const auto& l : SourceLines(head.ec->definition)) {
      if (!GbkEncodable(l)) {
        ++counts_.droppedTexts;
        continue;
      }
      auto [label, text] = SplitLabel(l);
      // Webster-style "v. i." and "v. t." are vi. and vt.; a bare "See Thee." says nothing.
      if (label == "v." && (text.rfind("i. ", 0) == 0 || text.rfind("t. ", 0) == 0)) {
        label = std::string("v") + text[0] + ".";
        text.erase(0, 3);
      }
      if (text.rfind("See ", 0) == 0 && text.size() < 40) continue;
      std::string line = Span("num", std::to_string(++number) + ".") + " ";
      if (!label.empty()) line += Span("pos", EscapeText(label)) + " ";
      out += Div("sense", line + EscapeText(text));
      if (number == kMaxDefinitions) break;
    }
    if (out.empty()) return out;
    return Div("sect", "释义") + out;
  }

  std::string SynonymsAndAntonyms(const Head& head) const {
    std::string syn, ant;
    for (const Lemma* l : head.lemmas) {
      std::vector<std::string> synonyms, antonyms;
      auto add = [](std::vector<std::string>& list, const std::string& w) {
        if (list.size() < kMaxWordsPerLine &&
            std::find(list.begin(), list.end(), w) == list.end()) {
          list.push_back(w);
        }
      };
      for (auto key : l->synsets) {
        const Synset* s = FindSynset(key);
        if (s == nullptr) continue;
        const int self = WordNumber(*s, l->lemma);
        for (const auto& w : s->words) {
          if (AsciiLower(w) != l->lemma) add(synonyms, Blanks(w));
        }
        for (const auto& p : s->pointers) {
          if (p.symbol != "!" || (p.sourceWord != 0 && p.sourceWord != self)) continue;
          const Synset* t = FindSynset(p.target);
          if (t == nullptr) continue;
          if (p.targetWord > 0 && static_cast<std::size_t>(p.targetWord) <= t->words.size()) {
            add(antonyms, Blanks(t->words[static_cast<std::size_t>(p.targetWord - 1)]));
          } else {
            for (const auto& w : t->words) add(antonyms, Blanks(w));
          }
        }
      }
      if (!synonyms.empty()) {
        syn += Div("syn", Span("pos", PosLabel(l->pos)) + " " + EscapeText(Join(synonyms, ", ")));
      }
      if (!antonyms.empty()) {
        ant += Div("ant", Span("pos", PosLabel(l->pos)) + " " + EscapeText(Join(antonyms, ", ")));
      }
    }
    std::string out;
    if (!syn.empty()) out += Div("sect", "同义词") + syn;
    if (!ant.empty()) out += Div("sect", "反义词") + ant;
    return out;
  }

  std::string Forms(const Head& head) const {
    std::string items;
    char last = 0;
    for (const auto& [kind, form] : head.forms) {
      if (!GbkEncodable(form) || UnsafeTitle(form)) {
        ++counts_.droppedTexts;
        continue;
      }
      if (kind == last) {
        items += ", ";
      } else {
        if (!items.empty()) items += " ";
        items += Span("fl", FormName(kind)) + " ";
      }
      items += Link(form);
      last = kind;
    }
    if (items.empty()) return {};
    return Div("sect", "词形变化") + Div("forms", items);
  }

  std::string Usage(const Head& head) const {
    for (const Lemma* l : head.lemmas) {
      if (l->pos != Pos::Verb) continue;
      std::vector<int> frames;
      for (auto key : l->synsets) {
        const Synset* s = FindSynset(key);
        if (s == nullptr) continue;
        const int self = WordNumber(*s, l->lemma);
        for (const auto& [frame, word] : s->frames) {
          if ((word == 0 || word == self) && frame >= 1 && frame <= 35 &&
              std::find(frames.begin(), frames.end(), frame) == frames.end()) {
            frames.push_back(frame);
          }
        }
      }
      if (frames.empty()) return {};
      const VerbForms v = VerbFormsOf(head.title, data_.exceptions);
      const std::string third = v.third.empty() ? head.title : v.third;
      const std::string ing = v.presentParticiple.empty() ? head.title : v.presentParticiple;
      std::string out = Div("sect", "用法");
      for (std::size_t i = 0; i < frames.size() && i < kMaxFrames; ++i) {
        std::string text = kFrames[frames[i] - 1];
        text = ReplaceAll(text, "----ing", ing);
        text = ReplaceAll(text, "----s", third);
        out += Div("usage", EscapeText(text));
      }
      return out;
    }
    return {};
  }

  std::string Phrases(const Head& head, const std::vector<Head>& heads) const {
    if (head.title.find(' ') != std::string::npos) return {};
    const std::string lower = AsciiLower(head.title);
    const auto it = phrasesByWord_.find(lower);
    if (it == phrasesByWord_.end()) return {};
    std::vector<std::size_t> list = it->second;
    auto key = [&](std::size_t h) {
      const std::string& t = heads[h].title;
      const bool leading = AsciiLower(t).rfind(lower + " ", 0) == 0;
      const auto words = std::count(t.begin(), t.end(), ' ');
      return std::make_tuple(!leading, words, t.size(), t);
    };
    const std::size_t n = std::min(kMaxPhrases, list.size());
    std::partial_sort(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(n), list.end(),
                      [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
      const Head& p = heads[list[i]];
      std::string gloss;
      bool verbOnly = true;
      for (const Lemma* l : p.lemmas) verbOnly = verbOnly && l->pos == Pos::Verb;
      std::string own;
      if (p.ec != nullptr) {
        // Its first translation line; a web one only when it has no other.
        for (const auto& l : SourceLines(p.ec->translation)) {
          if (own.empty() || !IsNetLine(l)) own = Shorten(SplitLabel(l).second);
          if (!IsNetLine(l)) break;
        }
      }
      auto zh = own.empty() || !GbkEncodable(own) ? Chinese(p.title, verbOnly, 2)
                                                  : std::vector<std::string>{own};
      if (!zh.empty()) {
        gloss = Span("zh", EscapeText(Join(zh, "；")));
      } else if (!p.lemmas.empty() && !p.lemmas.front()->synsets.empty()) {
        if (const Synset* s = FindSynset(p.lemmas.front()->synsets.front())) {
          const std::string d = Shorten(s->definition);
          if (GbkEncodable(d)) gloss = Span("pd", EscapeText(d));
        }
      }
      out += Div("phr", Span("pw", EscapeText(p.title)) +
                            (gloss.empty() ? std::string() : std::string(" ") + gloss));
    }
    return Div("sect", "词组") + out;
  }

  const SourceData& data_;
  const TranslationIndex& index_;
  Counts& counts_;
  std::unordered_map<std::string, std::size_t> senseCount_;
  std::unordered_map<std::uint64_t, std::string> senseChinese_;
  std::unordered_map<std::string, std::vector<std::size_t>> phrasesByWord_;
  const std::vector<Head>* heads_ = nullptr;
  std::unordered_map<std::string, std::size_t> accepted_;  // lower-case title -> head
  std::unordered_map<std::string, std::vector<SenseUse>> senseUses_;
  std::unordered_map<std::string, std::vector<EcName>> ecNames_;
};

class ChineseBuilder {
 public:
  ChineseBuilder(const SourceData& data, Counts& counts) : data_(data), counts_(counts) {
    for (std::size_t i = 0; i < data_.cedict.size(); ++i) {
      groups_[data_.cedict[i].simplified].push_back(i);
    }
    for (auto& [simp, list] : groups_) {
      // Common readings before the capitalised ones of names.
      std::stable_sort(list.begin(), list.end(), [this](std::size_t a, std::size_t b) {
        return Capital(data_.cedict[a].pinyin) < Capital(data_.cedict[b].pinyin);
      });
    }
  }

  const std::map<std::string, std::vector<std::size_t>>& Groups() const { return groups_; }

  // A traditional form's own row: what it is the traditional form of, then the readings
  // written that way.
  std::string TraditionalEntry(const std::string& trad, const std::vector<std::string>& simps) {
    std::string e = TraditionalLinks(simps);
    for (const auto& simp : simps) {
      for (std::size_t r : groups_.at(simp)) {
        const CedictEntry& c = data_.cedict[r];
        if (c.traditional != trad) continue;
        e += Div("phon", Span("py", Bracket(EscapeWithReferences(PinyinMarks(c.pinyin)))));
        e += Senses(c);
      }
    }
    return e;
  }

  std::string TraditionalLinks(const std::vector<std::string>& simps) {
    std::string e;
    for (const auto& simp : simps) {
      e += Div("formof", Link(simp) + " 的繁体");
      ++counts_.traditionalLinks;
    }
    return e;
  }

  std::string Entry(const std::string& simp, const std::vector<std::size_t>& readings,
                    const std::set<std::string>& usable, const std::string& english) {
    std::string e;
    for (std::size_t r : readings) {
      const CedictEntry& c = data_.cedict[r];
      std::string head = Span("py", Bracket(EscapeWithReferences(PinyinMarks(c.pinyin))));
      if (c.traditional != c.simplified) {
        if (GbkEncodable(c.traditional)) {
          head +=
              std::string(" ") + Span("fl", "繁体") + " " + Span("trad", EscapeText(c.traditional));
        } else {
          ++counts_.droppedTexts;
        }
      }
      e += Div("phon", head);
      e += Senses(c);
      e += Classifiers(c.classifiers);
      e += Refs("var", "异体", c.variants);
    }
    e += english;
    e += Phrases(simp, usable);
    return e;
  }

 private:
  static bool Capital(const std::string& pinyin) {
    return !pinyin.empty() && pinyin[0] >= 'A' && pinyin[0] <= 'Z';
  }

  // The reading's numbered senses; those GBK cannot hold are dropped.
  std::string Senses(const CedictEntry& c) {
    std::string e;
    int number = 0;
    for (const auto& sense : c.senses) {
      if (!GbkEncodable(sense)) {
        ++counts_.droppedTexts;
        continue;
      }
      e += Div("sense", Span("num", std::to_string(++number) + ".") + " " + CedictText(sense));
    }
    return e;
  }

  // 个(gè)、件(jiàn)
  std::string Classifiers(const std::vector<CedictRef>& refs) {
    std::string items;
    for (const auto& r : refs) {
      if (!GbkEncodable(r.simplified)) {
        ++counts_.droppedTexts;
        continue;
      }
      if (!items.empty()) items += "、";
      items += EscapeText(r.simplified) + "(" + EscapeWithReferences(PinyinMarks(r.pinyin)) + ")";
    }
    if (items.empty()) return {};
    return Div("cl", Span("fl", "量词") + " " + items);
  }

  std::string Refs(const char* cls, const char* label, const std::vector<CedictRef>& refs) {
    std::string items;
    for (const auto& r : refs) {
      std::string form =
          r.simplified == r.traditional ? r.simplified : r.traditional + "|" + r.simplified;
      if (!GbkEncodable(form)) {
        ++counts_.droppedTexts;
        continue;
      }
      if (!items.empty()) items += "，";
      items += EscapeText(form) + Bracket(EscapeWithReferences(PinyinMarks(r.pinyin)));
    }
    if (items.empty()) return {};
    return Div(cls, Span("fl", label) + " " + items);
  }

  std::string Phrases(const std::string& simp, const std::set<std::string>& usable) const {
    std::vector<std::string> found;
    for (auto it = usable.upper_bound(simp);
         it != usable.end() && it->compare(0, simp.size(), simp) == 0 && found.size() < 400; ++it) {
      found.push_back(*it);
    }
    if (found.empty()) return {};
    std::stable_sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
      return a.size() < b.size();
    });
    std::string out = Div("sect", "词组");
    for (std::size_t i = 0; i < found.size() && i < kMaxPhrases; ++i) {
      const CedictEntry& c = data_.cedict[groups_.at(found[i]).front()];
      std::string line = Span("pw", EscapeText(found[i])) + " " +
                         Span("py", EscapeWithReferences(PinyinMarks(c.pinyin)));
      for (const auto& s : c.senses) {
        if (GbkEncodable(s)) {
          line.append(" ").append(Span("pd", CedictText(Shorten(s))));
          break;
        }
      }
      out += Div("phr", line);
    }
    return out;
  }

  const SourceData& data_;
  Counts& counts_;
  std::map<std::string, std::vector<std::size_t>> groups_;
};

}  // namespace

std::vector<Row> BuildRows(const SourceData& data, Counts& counts) {
  const TranslationIndex index(data.cedict);
  EnglishBuilder english(data, index, counts);
  auto heads = english.Heads();
  // Case-insensitive order, so a word comes before its longer completions; of the same
  // letters the lower-case form first (us before US).
  {
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(heads.size());
    for (std::size_t i = 0; i < heads.size(); ++i) {
      std::string k = AsciiLower(heads[i].title);
      k.push_back('\0');
      for (char c : heads[i].title) {
        k.push_back(c >= 'a' && c <= 'z'   ? static_cast<char>(c - 32)
                    : c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32)
                                           : c);
      }
      keys.emplace_back(std::move(k), i);
    }
    std::sort(keys.begin(), keys.end());
    std::vector<EnglishBuilder::Head> sorted;
    sorted.reserve(heads.size());
    for (const auto& [k, i] : keys) sorted.push_back(std::move(heads[i]));
    heads = std::move(sorted);
  }
  english.IndexPhrases(heads);

  std::vector<Row> rows;
  std::unordered_set<std::string> englishLower;
  for (std::size_t i = 0; i < heads.size(); ++i) {
    const auto& h = heads[i];
    if (!GbkEncodable(h.title) || UnsafeTitle(h.title)) {
      ++counts.skippedHeadwords;
      continue;
    }
    englishLower.insert(AsciiLower(h.title));
    english.Accept(heads, i);
  }
  for (std::size_t i = 0; i < heads.size(); ++i) {
    const auto& h = heads[i];
    if (!GbkEncodable(h.title) || UnsafeTitle(h.title)) continue;
    rows.push_back({h.title, english.Entry(h, heads)});
    ++counts.english;
  }

  ChineseBuilder chinese(data, counts);
  std::set<std::string> usable;
  for (const auto& [simp, readings] : chinese.Groups()) {
    if (!GbkEncodable(simp) || UnsafeTitle(simp)) {
      ++counts.skippedHeadwords;
      continue;
    }
    if (AsciiOnly(simp) && englishLower.count(AsciiLower(simp))) {
      ++counts.duplicateHeadwords;
      continue;
    }
    usable.insert(simp);
  }
  // Traditional forms that differ from their simplified ones and that GBK can hold.
  std::map<std::string, std::vector<std::string>> traditional;
  for (const auto& simp : usable) {
    for (std::size_t r : chinese.Groups().at(simp)) {
      const std::string& trad = data.cedict[r].traditional;
      if (trad == simp || trad.empty() || !GbkEncodable(trad) || UnsafeTitle(trad)) continue;
      auto& list = traditional[trad];
      if (std::find(list.begin(), list.end(), simp) == list.end()) list.push_back(simp);
    }
  }
  std::vector<std::pair<std::string, Row>> zh;
  zh.reserve(usable.size() + traditional.size());
  for (const auto& simp : usable) {
    const auto& readings = chinese.Groups().at(simp);
    std::string entry = chinese.Entry(simp, readings, usable, english.Equivalents(simp, readings));
    // A simplified headword that is also another word's traditional form leads there too.
    const auto trad = traditional.find(simp);
    if (trad != traditional.end()) entry += chinese.TraditionalLinks(trad->second);
    zh.push_back({ToGbk(simp), {simp, std::move(entry)}});
  }
  for (const auto& [trad, simps] : traditional) {
    if (usable.count(trad)) continue;
    zh.push_back({ToGbk(trad), {trad, chinese.TraditionalEntry(trad, simps)}});
    ++counts.traditional;
  }
  std::sort(zh.begin(), zh.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [gbk, row] : zh) rows.push_back(std::move(row));
  counts.chinese = zh.size();
  return rows;
}

}  // namespace enci
