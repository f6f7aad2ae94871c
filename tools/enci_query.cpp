// enci-query [--key] FILE SQL: runs one statement on a store file and prints the rows,
// tab-separated, one per line. Statement in and rows out are UTF-8; the store sees GBK.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "store/StoreTable.h"
#include "store/gob.h"

namespace {

QByteArray GbkToUtf8(std::string_view gbk) {
  QStringDecoder decoder("GBK");
  const QString text =
      decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
  return text.toUtf8();
}

void WriteBytes(std::FILE* out, const QByteArray& bytes) {
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
}

int Usage() {
  std::fputs("usage: enci-query [--key] FILE SQL\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  bool keyed = false;
  if (arg < argc && std::strcmp(argv[arg], "--key") == 0) {
    keyed = true;
    ++arg;
  }
  if (argc - arg != 2) return Usage();
  const std::string file = argv[arg];

  const QString sqlText = QString::fromUtf8(argv[arg + 1]);
  QStringEncoder encoder("GBK");
  if (!encoder.isValid()) {
    std::fputs("enci-query: no GBK codec available\n", stderr);
    return 2;
  }
  const QByteArray sqlGbk = encoder.encode(sqlText);
  if (encoder.hasError()) {
    std::fputs("enci-query: the statement holds a character GBK cannot represent\n", stderr);
    return 2;
  }

  try {
    TSQLiteDatabase db(file, keyed ? IndexStoreKey : nullptr);
    const auto table =
        db.GetTable(std::string(sqlGbk.constData(), static_cast<std::size_t>(sqlGbk.size())));
    for (; !table->Eof(); table->Next()) {
      for (int i = 0; i < table->ColCount(); ++i) {
        if (i > 0) std::fputc('\t', stdout);
        WriteBytes(stdout, GbkToUtf8(table->FieldAsString(i)));
      }
      std::fputc('\n', stdout);
    }
  } catch (const ESQLiteException& e) {
    WriteBytes(stderr, GbkToUtf8(e.what()));
    std::fputc('\n', stderr);
    return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
