#pragma once

#include <QString>

#include <random>

namespace vellumix {

// The languages of the wide set: English, Simplified and Traditional Chinese,
// and Chinese lines with English words in them.
enum class WideLanguage { english, simplified, traditional, mixed };

const char* languageName(WideLanguage language);

// What a piece of text is for; each kind has phrases of its own length.
enum class PhraseKind { label, detail, title, sentence, button, menu, chat, fileName };

// A phrase of `kind` in `language`, with any number in it (versions, sizes,
// times, dates) drawn afresh.
QString phrase(std::mt19937& random, WideLanguage language, PhraseKind kind);

// Numbers as screens show them: "4.12.0", "1.2 GB", "20:33", "Sep 9".
QString version(std::mt19937& random);
QString size(std::mt19937& random);
QString clock(std::mt19937& random);
QString date(std::mt19937& random);

} // namespace vellumix
