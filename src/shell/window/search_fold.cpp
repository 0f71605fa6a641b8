// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/search_fold.h"

#include <QList>
#include <QString>
#include <unordered_map>

#include "shell/local_text.h"

namespace jukora {

namespace {

// Letters whose mark is part of the letter itself, so that decomposing
// leaves it on: read as the letters they are written over.
const char16_t* plain_letters(char32_t c) {
  switch (c) {
    case U'ø':
      return u"o";
    case U'đ':
    case U'ð':
      return u"d";
    case U'ł':
      return u"l";
    case U'ħ':
      return u"h";
    case U'ŧ':
      return u"t";
    case U'ı':
      return u"i";
    case U'ß':
      return u"ss";
    case U'æ':
      return u"ae";
    case U'œ':
      return u"oe";
    case U'þ':
      return u"th";
    default:
      return nullptr;
  }
}

// One character folded: decomposed, case folded, without its marks.
std::string fold_character(char32_t c) {
  const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD).toCaseFolded();
  QString plain;
  for (char32_t part : decomposed.toUcs4()) {
    if (QChar::category(part) == QChar::Mark_NonSpacing) continue;
    if (const char16_t* letters = plain_letters(part))
      plain += QString::fromUtf16(letters);
    else
      plain += QString::fromUcs4(&part, 1);
  }
  return plain.toUtf8().toStdString();
}

}  // namespace

std::string fold_for_search(std::string_view text) {
  // Every step works on one character alone, so each is folded once and
  // kept: a list of many songs holds few different letters.
  thread_local std::unordered_map<char32_t, std::string> folded;
  const QString decoded = qt_text(text);
  std::string out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < decoded.size(); ++i) {
    const char16_t c = decoded[i].unicode();
    if (c < 0x80) {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
      continue;
    }
    char32_t point = c;
    if (QChar::isHighSurrogate(c) && i + 1 < decoded.size() && decoded[i + 1].isLowSurrogate())
      point = QChar::surrogateToUcs4(c, decoded[++i].unicode());
    auto found = folded.find(point);
    if (found == folded.end()) found = folded.emplace(point, fold_character(point)).first;
    out += found->second;
  }
  return out;
}

}  // namespace jukora
