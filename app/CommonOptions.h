#pragma once

#include "CommandLine.h"

#include <QStringList>

namespace dorvanel::cli {

// Options that several commands take, with one meaning and one help text.
extern const OptionSyntax ParentTypeOption;
extern const OptionSyntax DedupOption;
extern const OptionSyntax ParentsOption;
extern const OptionSyntax TypeFilterOption;
extern const OptionSyntax NoSysLinksOption;
extern const OptionSyntax ScreenshotOption;
extern const OptionSyntax NoMiniatureOption;
extern const OptionSyntax ReadDocumentsOption;

struct ReadingWanted;

// What store and import read from each document they store: its text, and its miniature unless
// --no-miniature.
ReadingWanted readingAsked(const Arguments& arguments);

// The option's value, a count above zero, or otherwise when it was not given.
int countAsked(const Arguments& arguments, const QString& option, int otherwise);

// The parent keys --parents names, separated by commas.
QStringList parentsAsked(const Arguments& arguments);

}  // namespace dorvanel::cli
