#include "pages/ui/PdfTextMapping.h"

#include <QString>

#include <cstring>

namespace pq {

namespace {

// CJK Radicals Supplement and Kangxi Radicals.
constexpr uint kFirstRadical = 0x2E80;
constexpr uint kLastRadical = 0x2FDF;

// A hex string <...> (its digits), a bracket, or the end of the section.
struct Token {
  char kind = 0;
  qsizetype at = 0;
  qsizetype length = 0;
};

class SectionScanner {
 public:
  SectionScanner(const QByteArray& pdf, qsizetype from, qsizetype stop)
      : pdf_(pdf), pos_(from), stop_(stop) {}

  Token next() {
    while (pos_ < stop_) {
      const char c = pdf_[pos_];
      if (c == '[' || c == ']') return {c, pos_++, 1};
      if (c == '<') {
        const qsizetype close = pdf_.indexOf('>', pos_);
        if (close < 0 || close > stop_) break;
        const Token hex{'<', pos_ + 1, close - pos_ - 1};
        pos_ = close + 1;
        return hex;
      }
      ++pos_;
    }
    pos_ = stop_;
    return {};
  }

 private:
  const QByteArray& pdf_;
  qsizetype pos_;
  qsizetype stop_;
};

void replaceRadical(QByteArray& pdf, const Token& destination) {
  if (destination.length != 4) return;
  bool ok = false;
  const uint code = pdf.mid(destination.at, 4).toUInt(&ok, 16);
  if (!ok || code < kFirstRadical || code > kLastRadical) return;
  const QString ideograph =
      QString(QChar(static_cast<char16_t>(code))).normalized(QString::NormalizationForm_KC);
  if (ideograph.size() != 1 || ideograph[0].unicode() == code) return;
  pdf.replace(destination.at, 4,
              QByteArray::number(ideograph[0].unicode(), 16).toUpper().rightJustified(4, '0'));
}

// "<glyph> <code>" pairs.
void rewriteChars(QByteArray& pdf, qsizetype from, qsizetype stop) {
  SectionScanner scanner(pdf, from, stop);
  for (Token source = scanner.next(); source.kind == '<'; source = scanner.next()) {
    const Token destination = scanner.next();
    if (destination.kind != '<') return;
    replaceRadical(pdf, destination);
  }
}

// "<first> <last> [<code> ...]", or "<first> <last> <code>" for consecutive codes, of which only a
// single-glyph range can be rewritten without splitting it.
void rewriteRanges(QByteArray& pdf, qsizetype from, qsizetype stop) {
  SectionScanner scanner(pdf, from, stop);
  for (Token first = scanner.next(); first.kind == '<'; first = scanner.next()) {
    const Token last = scanner.next();
    const Token destination = scanner.next();
    if (last.kind != '<') return;
    if (destination.kind == '[') {
      for (Token code = scanner.next(); code.kind == '<'; code = scanner.next()) replaceRadical(pdf, code);
    } else if (destination.kind == '<') {
      if (pdf.mid(first.at, first.length) == pdf.mid(last.at, last.length)) replaceRadical(pdf, destination);
    } else {
      return;
    }
  }
}

template <typename Rewrite>
void forEachSection(QByteArray& pdf, const char* begin, const char* end, Rewrite rewrite) {
  for (qsizetype from = pdf.indexOf(begin); from >= 0; from = pdf.indexOf(begin, from)) {
    from += static_cast<qsizetype>(std::strlen(begin));
    const qsizetype stop = pdf.indexOf(end, from);
    if (stop < 0) return;
    rewrite(pdf, from, stop);
    from = stop;
  }
}

}  // namespace

void mapRadicalsToIdeographs(QByteArray& pdf) {
  forEachSection(pdf, "beginbfchar", "endbfchar", rewriteChars);
  forEachSection(pdf, "beginbfrange", "endbfrange", rewriteRanges);
}

}  // namespace pq
