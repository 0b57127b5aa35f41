#pragma once

#include "CommandLine.h"

#include <QList>
#include <QString>

namespace dorvanel::cli {

// The help texts, built from the commands' syntax.
QString generalHelp(const QList<CommandSyntax>& commands);
QString commandHelp(const CommandSyntax& command);

QString versionLine();

}  // namespace dorvanel::cli
