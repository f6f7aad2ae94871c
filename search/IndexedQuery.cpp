#include "search/IndexedQuery.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "search/Query.h"
#include "store/GbkChars.h"
#include "store/GbkLike.h"
#include "store/IndexForm.h"
#include "store/StoreTable.h"
#include "store/Trigrams.h"

namespace search {
namespace {

constexpr std::string_view kStartHead = "SELECT * FROM enci where title like '";
constexpr std::string_view kStartTail = "%' order by id asc limit ";
constexpr std::string_view kEndHead = "select * from enci where title like '%";
constexpr std::string_view kEndTail = "' order by id asc  limit ";
constexpr std::string_view kFuzzyHead = "select * from enci where title like '%";
constexpr std::string_view kFuzzyTail = "%' order by id asc limit  ";

// At most this many case variants of a literal are looked up; the like checks the rest.
constexpr std::size_t kMaxVariedLetters = 4;

// A word end read from its reversed titles may have at most this many candidates per row of
// its limit; one with more is left to the written scan.
constexpr std::size_t kCandidatesPerLimit = 8;
// Chosen leaves a word end with 2 candidates per row of its limit to the scan; one given up
// here must be one it would leave too.
static_assert(kCandidatesPerLimit >= 2);

// A fuzzy search whose trigrams leave more candidates than its limit is left to the written
// scan unless the table has at least this many rows per candidate: then the scan, which
// stops at the limit, would read more rows than the look-ups of the candidates cost.
constexpr std::int64_t kRowsPerCandidate = 32;

// Word starts of at most this many characters may be read as a run of ids.
constexpr std::size_t kMaxCharsById = 3;

struct TWritten {
  std::string text;   // the search text, unquoted
  std::string limit;  // decimal digits
};

// head + literal inside + tail + limit, with every quote of the inside doubled (so that the
// literal ends where the tail begins) and no NUL (which would end the statement early).
std::optional<TWritten> Split(std::string_view statement, std::string_view head,
                              std::string_view tail) {
  if (statement.substr(0, head.size()) != head) return std::nullopt;
  const std::size_t at = statement.rfind(tail);
  if (at == std::string_view::npos || at < head.size()) return std::nullopt;
  const std::string_view limit = statement.substr(at + tail.size());
  if (limit.empty() || limit.size() > 9) return std::nullopt;
  for (const char c : limit) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const std::string_view inside = statement.substr(head.size(), at - head.size());
  TWritten w;
  w.limit = std::string(limit);
  for (std::size_t i = 0; i < inside.size(); ++i) {
    const char c = inside[i];
    if (c == '\0') return std::nullopt;
    if (c == '\'') {
      if (i + 1 == inside.size() || inside[i + 1] != '\'') return std::nullopt;
      ++i;
    }
    w.text += c;
  }
  return w;
}

// One character of a like pattern as the GBK like reads it: a wildcard, or a literal of one
// or two bytes.
struct TPatternChar {
  std::string_view bytes;
  bool wildcard;
};

std::vector<TPatternChar> PatternChars(std::string_view pattern) {
  std::vector<TPatternChar> chars;
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    const std::size_t n = (c == '%' || c == '_') ? 1 : gbk::CharLen(pattern, i);
    chars.push_back({pattern.substr(i, n), c == '%' || c == '_'});
    i += n;
  }
  return chars;
}

// The literal characters, as one text, cut before the letter that would make more than
// kMaxVariedLetters letters to vary.
std::string VariedPrefix(const std::vector<TPatternChar>& literal) {
  std::string prefix;
  std::size_t letters = 0;
  for (const auto& ch : literal) {
    const bool letter =
        ch.bytes.size() == 1 && gbk::IsAsciiLetter(static_cast<unsigned char>(ch.bytes[0]));
    if (letter && ++letters > kMaxVariedLetters) break;
    prefix += ch.bytes;
  }
  return prefix;
}

// Every spelling of prefix with its one-byte letters in either case. Letters are only ever
// one-byte characters here: VariedPrefix keeps double-byte characters whole and never varies
// their bytes.
std::vector<std::string> CaseVariants(const std::vector<TPatternChar>& literal,
                                      const std::string& prefix) {
  std::vector<std::string> variants{std::string()};
  std::size_t done = 0;
  for (const auto& ch : literal) {
    if (done >= prefix.size()) break;
    const bool letter =
        ch.bytes.size() == 1 && gbk::IsAsciiLetter(static_cast<unsigned char>(ch.bytes[0]));
    const std::size_t count = variants.size();
    for (std::size_t v = 0; v < count; ++v) {
      if (letter) variants.push_back(variants[v] + static_cast<char>(ch.bytes[0] ^ 0x20));
      variants[v] += ch.bytes;
    }
    done += ch.bytes.size();
  }
  return variants;
}

// Built by appending: GCC 12 misreads "literal" + temporary in Release builds (-Wrestrict).
std::string Quoted(std::string_view bytes) {
  std::string quoted(1, '\'');
  quoted.append(SqlLiteralText(bytes)).append(1, '\'');
  return quoted;
}

// The smallest text above every text that begins with prefix, or nothing when prefix is all
// 0xFF bytes and no text is.
std::optional<std::string> PrefixEnd(std::string prefix) {
  while (!prefix.empty()) {
    auto& last = reinterpret_cast<unsigned char&>(prefix.back());
    if (last != 0xFF) {
      ++last;
      return prefix;
    }
    prefix.pop_back();
  }
  return std::nullopt;
}

// "column begins with one of the variants", as ranges an index answers. Byte order is the
// column's order: the schema check guarantees TEXT with the binary collation.
std::string PrefixRanges(std::string_view column, const std::vector<std::string>& variants) {
  std::string where;
  for (const auto& v : variants) {
    if (!where.empty()) where += " OR ";
    where.append("(").append(column).append(" >= ").append(Quoted(v));
    if (const auto end = PrefixEnd(v))
      where.append(" AND ").append(column).append(" < ").append(Quoted(*end));
    where.append(")");
  }
  return where;
}

// What the indexes can use of a word-start text. Nothing in it points into the text.
struct TStartPrefix {
  std::size_t chars = 0;               // literal characters before the first wildcard
  std::optional<char> firstChar;       // that character, when it is all and one byte below 0x80
  std::vector<std::string> variants;   // every case spelling of the varied prefix
  std::optional<std::string> spanKey;  // its key in enci_spans, when it can have one
};

TStartPrefix StartPrefix(const TWritten& w) {
  const std::string pattern = w.text + "%";
  std::vector<TPatternChar> literal;
  for (const auto& ch : PatternChars(pattern)) {
    if (ch.wildcard) break;
    literal.push_back(ch);
  }
  TStartPrefix prefix;
  prefix.chars = literal.size();
  if (literal.empty()) return prefix;
  const std::string_view first = literal.front().bytes;
  if (literal.size() == 1 && first.size() == 1 && static_cast<unsigned char>(first[0]) < 0x80) {
    prefix.firstChar = first[0];
  }
  prefix.variants = CaseVariants(literal, VariedPrefix(literal));
  // A start of one-byte characters only: every byte is one character.
  std::string bytes;
  for (const auto& ch : literal) bytes += ch.bytes;
  if (bytes.size() == literal.size() && bytes.size() >= store::kMinSpanPrefix &&
      bytes.size() <= store::kMaxSpanPrefix) {
    prefix.spanKey = store::SpanKey(bytes, bytes.size());
  }
  return prefix;
}

// The written filter and order, which every form of a word start ends with.
std::string StartTail(const TWritten& w) {
  return std::string(" AND title like ")
      .append(Quoted(w.text + "%"))
      .append(" order by id asc limit ")
      .append(w.limit);
}

std::string WordStart(const TWritten& w, const TStartPrefix& prefix, const TIndexForm& form) {
  if (prefix.chars == 0) return {};
  if (prefix.firstChar && form.firstCharIndex) {
    // Matching titles start with this one-byte character in either case, which is what
    // upper(substr(title,1,1)) keeps of them whatever their type; the index hands them over
    // in id order, so the limit ends the look-up.
    const char key =
        static_cast<char>(gbk::UpperAscii(static_cast<unsigned char>(*prefix.firstChar)));
    return std::string("SELECT * FROM enci INDEXED BY enci_first WHERE upper(substr(title,1,1)) = ")
        .append(Quoted(std::string(1, key)))
        .append(StartTail(w));
  }
  if (!form.titleIndex) return {};
  // Named, because without statistics the planner takes eight ranges or more for a scan.
  return std::string("SELECT * FROM enci INDEXED BY enci_title WHERE (")
      .append(PrefixRanges("title", prefix.variants))
      .append(")")
      .append(StartTail(w));
}

// The least and greatest id of a word start's candidates and their number; nothing when
// there are none.
struct TIdSpan {
  std::int64_t lo, hi, count;
};
std::optional<TIdSpan> Span(TSQLiteDatabase& db, const TStartPrefix& prefix,
                            const TIndexForm& form) {
  if (form.prefixSpans && prefix.spanKey) {
    const auto row =
        db.GetTable("SELECT lo, hi, n FROM enci_spans WHERE prefix = " + Quoted(*prefix.spanKey));
    if (row->Count() == 0) return std::nullopt;
    return TIdSpan{row->FieldAsInteger(0), row->FieldAsInteger(1), row->FieldAsInteger(2)};
  }
  // One range per branch, as for a word end: ORed ranges cost a pass that drops repeated ids.
  std::string branches;
  for (const auto& v : prefix.variants) {
    if (!branches.empty()) branches += " UNION ALL ";
    branches.append("SELECT min(id) lo, max(id) hi, count(*) n FROM enci INDEXED BY enci_title ")
        .append("WHERE ")
        .append(PrefixRanges("title", {v}));
  }
  const auto span = db.GetTable(
      std::string("SELECT min(lo), max(hi), sum(n) FROM (").append(branches).append(")"));
  const std::int64_t count = span->FieldAsInteger(2);
  if (count == 0) return std::nullopt;
  return TIdSpan{span->FieldAsInteger(0), span->FieldAsInteger(1), count};
}

// A word start whose candidates lie in a short run of ids: that run read in id order, where
// the limit ends the look-up, instead of every candidate sorted by id first. Every match is a
// candidate, so none lies outside the run. Nothing when the run is long or empty, or when the
// first-character index already hands the rows over in id order.
std::string WordStartById(TSQLiteDatabase& db, const TWritten& w, const TStartPrefix& prefix,
                          const TIndexForm& form) {
  if (!form.titleIndex || prefix.chars == 0 || (prefix.firstChar && form.firstCharIndex)) {
    return {};
  }
  // A longer start has too few candidates for their sort to cost more than asking for the run.
  if (prefix.chars > kMaxCharsById) return {};
  const auto span = Span(db, prefix, form);
  if (!span) return {};
  const auto [lo, hi, count] = *span;
  // Reading a row costs a fraction of sorting one: a run a few times the candidates is quicker.
  const std::uint64_t run = static_cast<std::uint64_t>(hi) - static_cast<std::uint64_t>(lo);
  if (run > 4 * static_cast<std::uint64_t>(count) + 1024) return {};
  return std::string("SELECT * FROM enci WHERE id >= ")
      .append(std::to_string(lo))
      .append(" AND id <= ")
      .append(std::to_string(hi))
      .append(StartTail(w));
}

// The characters after the last wildcard of a word-end text, last first, as the reversed
// titles begin with them; empty when no index can narrow the text.
std::vector<TPatternChar> ReversedEnd(const std::string& pattern) {
  std::vector<TPatternChar> literal;
  for (const auto& ch : PatternChars(pattern)) {
    if (ch.wildcard) {
      literal.clear();
    } else {
      literal.push_back(ch);
    }
  }
  // One one-byte character ends about one headword in twenty: the written scan, in id order,
  // reaches its limit sooner than the index would hand over all of them.
  if (literal.size() == 1 && literal.front().bytes.size() == 1) literal.clear();
  return {literal.rbegin(), literal.rend()};
}

// Every case spelling of the characters a word end ends with, last first, as the reversed
// titles begin with them; empty when no index can narrow the text.
std::vector<std::string> EndVariants(const TWritten& w) {
  const std::string pattern = std::string("%").append(w.text);
  const std::vector<TPatternChar> reversed = ReversedEnd(pattern);
  if (reversed.empty()) return {};
  return CaseVariants(reversed, VariedPrefix(reversed));
}

std::string WordEnd(const TWritten& w, const TIndexForm& form) {
  if (!form.reversedTitles) return {};
  const std::vector<std::string> variants = EndVariants(w);
  if (variants.empty()) return {};
  // One range per branch: ORed ranges over a table without rowids cost a pass that drops
  // repeated keys, which the IN does not need.
  std::string ids;
  for (const auto& v : variants) {
    if (!ids.empty()) ids += " UNION ALL ";
    ids.append("SELECT id FROM enci_reversed WHERE ").append(PrefixRanges("rtitle", {v}));
  }
  return std::string("select * from enci where id IN (")
      .append(ids)
      .append(") AND title like ")
      .append(Quoted(std::string("%").append(w.text)))
      .append(" order by id asc  limit ")
      .append(w.limit);
}

// How many reversed titles begin with one of the end's variants, counted up to cap for each.
std::string CandidateCount(const TWritten& w, const std::string& cap) {
  std::string sum = "SELECT 0";
  for (const auto& v : EndVariants(w)) {
    sum.append(" + (SELECT count(*) FROM (SELECT 1 FROM enci_reversed WHERE ")
        .append(PrefixRanges("rtitle", {v}))
        .append(" LIMIT ")
        .append(cap)
        .append("))");
  }
  return sum;
}

// Rows found by a look-up, before they take the list's form. The titles share one buffer:
// a word end may read tens of thousands of candidates and keep only the first by id.
struct TMatches {
  struct TMatch {
    std::int64_t id;
    std::size_t at;    // where the title starts in titles
    std::size_t size;  // its bytes
  };
  std::vector<TMatch> rows;
  std::string titles;
};

// Reads the (id, title) rows of sql and keeps those whose title is like pattern, as the
// like() of the store's connections would, or every row when pattern is empty; the rows are
// seen one by one, not held as a table. Returns false, having stopped, once it has seen
// `most` rows.
bool ReadMatches(TSQLiteDatabase& db, const std::string& sql, const std::string& pattern,
                 std::size_t most, TMatches& matches) {
  std::size_t seen = 0;
  db.ForEachRow(sql, [&](const TSQLiteRow& row) {
    if (++seen >= most) return false;
    const std::optional<std::string_view> title = row.Text(1);
    // A table's text ends at its first zero byte; the like reads every byte.
    if (title && (pattern.empty() || store::GbkLike(pattern, *title))) {
      const std::string_view kept(title->data());
      matches.rows.push_back({row.Integer(0), matches.titles.size(), kept.size()});
      matches.titles.append(kept);
    }
    return true;
  });
  return seen < most;
}

// The rows of a statement over enci's own columns (id, title), read one by one, as a table
// of them would read.
std::vector<TFoundRow> ReadIdsAndTitles(TSQLiteDatabase& db, const std::string& sql) {
  std::vector<TFoundRow> rows;
  db.ForEachRow(sql, [&](const TSQLiteRow& row) {
    const std::optional<std::string_view> title = row.Text(1);
    rows.push_back({std::to_string(row.Integer(0)), title ? title->data() : ""});
    return true;
  });
  return rows;
}

// Appends found to rows in id order until rows holds limit of them. Ids and places are
// sorted, not the rows, and only the rows kept become strings.
void AppendInIdOrder(const TMatches& found, std::size_t limit, std::vector<TFoundRow>& rows) {
  std::vector<std::pair<std::int64_t, std::size_t>> order;
  order.reserve(found.rows.size());
  for (std::size_t i = 0; i < found.rows.size(); ++i) order.emplace_back(found.rows[i].id, i);
  const std::size_t room = limit > rows.size() ? limit - rows.size() : 0;
  if (order.size() > room) {
    std::nth_element(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(room), order.end());
    order.resize(room);
  }
  std::sort(order.begin(), order.end());
  rows.reserve(rows.size() + order.size());
  for (const auto& [id, at] : order) {
    const auto& match = found.rows[at];
    rows.push_back({std::to_string(id), found.titles.substr(match.at, match.size)});
  }
}

// Whether every reversed title in the ranges of a word end's variants is like the end: an
// end of one-byte characters, without wildcards, whose letters are all varied. A one-byte
// character is a whole character wherever it stands, so a reversed title that begins with
// the end's bytes ends with its characters. A double-byte end could meet a lone lead byte.
bool RangesHoldOnlyMatches(std::string_view text) {
  std::size_t letters = 0;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 || c == '%' || c == '_') return false;
    if (gbk::IsAsciiLetter(b)) ++letters;
  }
  return letters <= kMaxVariedLetters;
}

// A word end's matches, read from the reversed titles alone and put in id order here, cut at
// the limit: the written rows, as every match is a candidate and ids are unique. Nothing when
// the written scan, which stops at its limit, would be done sooner.
std::optional<std::vector<TFoundRow>> WordEndFromTitles(TSQLiteDatabase& db, const TWritten& w) {
  const std::vector<std::string> variants = EndVariants(w);
  if (variants.empty()) return std::nullopt;
  const auto limit = static_cast<std::size_t>(std::stoll(w.limit));
  // Every candidate is read here, where the scan stops at its limit: with a small limit and
  // many candidates the scan is sooner. On the full dictionary a limit of 10000 is quicker
  // here for every two-letter end (up to 46000 candidates), by 1.4 to 18 times.
  std::string branches;
  for (const auto& v : variants) {
    if (!branches.empty()) branches += " UNION ALL ";
    branches.append("SELECT id, title FROM enci_reversed WHERE ")
        .append(PrefixRanges("rtitle", {v}));
  }
  TMatches found;
  const std::string pattern =
      RangesHoldOnlyMatches(w.text) ? std::string() : std::string("%").append(w.text);
  if (!ReadMatches(db, branches, pattern, kCandidatesPerLimit * limit, found)) {
    return std::nullopt;
  }
  std::vector<TFoundRow> rows;
  AppendInIdOrder(found, limit, rows);
  return rows;
}

// A byte string as an SQL BLOB literal.
std::string BlobLiteral(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string literal = "x'";
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    literal += kHex[b >> 4];
    literal += kHex[b & 0x0F];
  }
  return literal + "'";
}

// The trigrams every match of pattern holds: those of each run of three or more literal
// characters, as the like reads the pattern's characters.
std::vector<std::string> PatternTrigrams(const std::string& pattern) {
  std::vector<std::string> grams;
  std::vector<std::string> run;
  const auto endRun = [&] {
    for (std::size_t i = 0; i + 2 < run.size(); ++i)
      grams.push_back(run[i] + run[i + 1] + run[i + 2]);
    run.clear();
  };
  for (const auto& ch : PatternChars(pattern)) {
    if (ch.wildcard) {
      endRun();
    } else {
      run.push_back(store::FoldedChar(ch.bytes));
    }
  }
  endRun();
  std::sort(grams.begin(), grams.end());
  grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
  return grams;
}

// A fuzzy search's rows through the trigrams: the ids that hold every trigram of the text are
// the candidates, and every match is one of them; their rows are looked up in id order, in
// batches, with the written like as the filter, until the limit is reached. Nothing when the
// text has no run of three characters, or when the written scan would be done sooner.
std::optional<std::vector<TFoundRow>> FuzzyFromTrigrams(TSQLiteDatabase& db, const TWritten& w) {
  const std::string pattern = std::string("%").append(w.text).append("%");
  const std::vector<std::string> grams = PatternTrigrams(pattern);
  if (grams.empty()) return std::nullopt;
  const auto limit = static_cast<std::size_t>(std::stoll(w.limit));
  std::string keys;
  for (const auto& g : grams) {
    if (!keys.empty()) keys += ", ";
    keys += BlobLiteral(g);
  }
  const auto lists = db.GetTable("SELECT ids FROM enci_trigrams WHERE gram IN (" + keys + ")");
  // A trigram that no headword holds: nothing matches.
  if (static_cast<std::size_t>(lists->Count()) < grams.size()) return std::vector<TFoundRow>{};
  std::vector<std::vector<std::int64_t>> holders;
  for (; !lists->Eof(); lists->Next()) {
    const std::string* bytes = lists->FieldAsBlob(0);
    holders.push_back(store::DecodeIds(bytes != nullptr ? *bytes : std::string()));
  }
  std::sort(holders.begin(), holders.end(),
            [](const auto& a, const auto& b) { return a.size() < b.size(); });
  std::vector<std::int64_t> candidates = std::move(holders.front());
  for (std::size_t i = 1; i < holders.size() && !candidates.empty(); ++i) {
    std::vector<std::int64_t> both;
    std::set_intersection(candidates.begin(), candidates.end(), holders[i].begin(),
                          holders[i].end(), std::back_inserter(both));
    candidates = std::move(both);
  }
  if (candidates.size() > limit) {
    const std::int64_t maxId = db.GetTable("SELECT max(id) FROM enci")->FieldAsInteger(0);
    if (static_cast<std::int64_t>(candidates.size()) > maxId / kRowsPerCandidate) {
      return std::nullopt;
    }
  }
  std::vector<TFoundRow> rows;
  for (std::size_t next = 0; rows.size() < limit && next < candidates.size();) {
    // Enough candidates for the rows still wanted, and not too few to be worth a statement.
    const std::size_t batch =
        std::min(candidates.size() - next, std::max<std::size_t>(limit - rows.size(), 256));
    std::string ids;
    for (std::size_t i = next; i < next + batch; ++i) {
      if (!ids.empty()) ids += ',';
      ids += std::to_string(candidates[i]);
    }
    next += batch;
    TMatches found;
    ReadMatches(db, "SELECT id, title FROM enci WHERE id IN (" + ids + ")", pattern,
                std::numeric_limits<std::size_t>::max(), found);
    AppendInIdOrder(found, limit, rows);
  }
  return rows;
}

}  // namespace

TIndexForm ReadIndexForm(TSQLiteDatabase& db) {
  const auto table = db.GetTable(
      "SELECT name, sql FROM sqlite_master WHERE name IN "
      "('enci', 'enci_title', 'enci_first', 'enci_reversed', 'enci_trigrams', 'enci_spans')");
  bool enci = false, title = false, first = false, reversed = false, reversedWithTitles = false,
       trigrams = false, spans = false;
  if (table->Count() > 0) {
    const int nameField = table->FieldIndex("name");
    const int sqlField = table->FieldIndex("sql");
    for (; !table->Eof(); table->Next()) {
      const std::string name = table->FieldAsString(nameField);
      const std::string sql = table->FieldAsString(sqlField);
      if (name == "enci") enci = sql == store::kIndexTableSql;
      if (name == "enci_title") title = sql == store::kTitleIndexSql;
      if (name == "enci_first") first = sql == store::kFirstCharIndexSql;
      if (name == "enci_trigrams") trigrams = sql == store::kTrigramTableSql;
      if (name == "enci_spans") spans = sql == store::kPrefixSpanTableSql;
      if (name == "enci_reversed") {
        reversedWithTitles = sql == store::kReversedTableSql;
        reversed = reversedWithTitles || sql == store::kReversedIdsTableSql;
      }
    }
  }
  TIndexForm form{enci && title,    enci && first,
                  enci && reversed, enci && reversedWithTitles,
                  enci && trigrams, enci && title && spans};
  // A BLOB title sorts after every text, outside the ranges that stand for a prefix, yet the
  // like reads its bytes as text. The writer never writes one; a store that holds one gets
  // the written statement.
  if (form.titleIndex &&
      db.GetTable("SELECT 1 FROM enci WHERE title >= x'' LIMIT 1")->Count() > 0) {
    form.titleIndex = false;
  }
  return form;
}

std::string IndexedStatement(std::string_view statement, const TIndexForm& form) {
  std::string indexed;
  if (const auto start = Split(statement, kStartHead, kStartTail)) {
    indexed = WordStart(*start, StartPrefix(*start), form);
  } else if (const auto end = Split(statement, kEndHead, kEndTail)) {
    indexed = WordEnd(*end, form);
  }
  return indexed.empty() ? std::string(statement) : indexed;
}

namespace {

// The statement to run for a word start or a word end (the other one empty) on db of form.
std::string Chosen(TSQLiteDatabase& db, std::string_view statement,
                   const std::optional<TWritten>& start, const std::optional<TWritten>& end,
                   const TIndexForm& form) {
  if (start) {
    const TStartPrefix prefix = StartPrefix(*start);
    std::string indexed = WordStartById(db, *start, prefix, form);
    if (indexed.empty()) indexed = WordStart(*start, prefix, form);
    return indexed.empty() ? std::string(statement) : indexed;
  }
  const std::string indexed = WordEnd(*end, form);
  if (indexed.empty()) return std::string(statement);
  // The index hands over every candidate, which are then looked up and sorted by id; the
  // written scan goes in id order and stops at its limit. With many candidates the scan
  // stops sooner.
  const std::int64_t limit = std::stoll(end->limit);
  const auto count =
      db.GetTable(CandidateCount(*end, std::to_string(2 * limit)))->FieldAsInteger(0);
  return count < 2 * limit ? indexed : std::string(statement);
}

}  // namespace

std::string IndexedStatement(TSQLiteDatabase& db, std::string_view statement) {
  // Only these two have an index to go through; the others need not read the schema first.
  if (!Split(statement, kStartHead, kStartTail) && !Split(statement, kEndHead, kEndTail)) {
    return std::string(statement);
  }
  return IndexedStatement(db, statement, ReadIndexForm(db));
}

std::string IndexedStatement(TSQLiteDatabase& db, std::string_view statement,
                             const TIndexForm& form) {
  const auto start = Split(statement, kStartHead, kStartTail);
  const auto end = Split(statement, kEndHead, kEndTail);
  if (!start && !end) return std::string(statement);
  return Chosen(db, statement, start, end, form);
}

std::vector<TFoundRow> FindRows(TSQLiteDatabase& db, std::string_view statement) {
  if (const auto fuzzy = Split(statement, kFuzzyHead, kFuzzyTail)) {
    if (ReadIndexForm(db).trigrams) {
      if (auto rows = FuzzyFromTrigrams(db, *fuzzy)) return std::move(*rows);
    }
  }
  const auto start = Split(statement, kStartHead, kStartTail);
  const auto end = Split(statement, kEndHead, kEndTail);
  std::string chosen(statement);
  if (start || end) {
    const TIndexForm form = ReadIndexForm(db);
    if (end && form.reversedWithTitles) {
      if (auto rows = WordEndFromTitles(db, *end)) return std::move(*rows);
      // It gave up with no literal to narrow by, or having seen more candidates than Chosen's
      // count allows: the written scan, without counting them again.
    } else {
      chosen = Chosen(db, statement, start, end, form);
      // A rewrite runs only on the writer's form of enci: its rows are the id and the title.
      if (chosen != statement) return ReadIdsAndTitles(db, chosen);
    }
  }
  const std::unique_ptr<TSQLiteTable> table = db.GetTable(chosen);
  return ReadFoundRows(*table);
}

}  // namespace search
