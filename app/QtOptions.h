#pragma once

#include <QString>

// The options that every Qt program takes on its command line (-display, -platform, -style, ...).
// This program hands Qt none of its words, so that a dictionary named "-style" cannot reach Qt
// as one of its options; a user who gives such an option is told that it is not taken and, where
// there is one, which environment variable does the same.
namespace QtOptions {

// The one-line refusal of `word` when it is one of Qt's options ("-display", "--platform",
// "-style=fusion"); empty for any other word.
QString Refusal(const QString& word);

} // namespace QtOptions
