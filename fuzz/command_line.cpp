// The command line: what comes before the command ([--db URL] [--help] [--version]), and a
// command's own words checked against its syntax. The syntax is made from the input's first two
// bytes, so that every shape the command table can have is tried: required, optional and
// repeated positionals, options with and without a value, required and repeatable. The words
// follow, separated by NUL bytes, as a program receives them.

#include "CommandLine.h"
#include "support/FuzzInput.h"

using namespace dorvanel;
using dorvanel::fuzz::fail;
using namespace dorvanel::cli;

namespace {

CommandSyntax syntaxOf(uint8_t shape, uint8_t optionBits) {
    CommandSyntax syntax{QStringLiteral("orden"), QStringLiteral("una orden")};
    for (int i = 0; i < (shape & 3); ++i) syntax.positionals << QStringLiteral("ARG%1").arg(i);
    for (int i = 0; i < ((shape >> 2) & 1); ++i) syntax.optionalPositionals << QStringLiteral("OPC%1").arg(i);
    syntax.lastRepeats = shape & 8;
    // Each option is there or not, and takes a value or not; the first may be required, the
    // second repeatable.
    const QStringList names{QStringLiteral("name"), QStringLiteral("parent"), QStringLiteral("o"),
                            QStringLiteral("json")};
    for (int i = 0; i < names.size(); ++i) {
        if (!(optionBits & (1 << i))) continue;
        OptionSyntax option{{names[i]}, optionBits & (16 << i) ? QStringLiteral("VALOR") : QString(), QString()};
        if (i == 0 && (shape & 16)) option.presence = Presence::Required;
        if (i == 1 && (shape & 32)) option.presence = Presence::Repeatable;
        syntax.options << option;
    }
    return syntax;
}

void requireMessage(const UsageError& usage, const QStringList& words) {
    if (usage.message.isEmpty()) fail("a refusal without a message", words.join(QLatin1Char(' ')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    fuzz::startQt();
    const CommandSyntax syntax = syntaxOf(data[0], data[1]);
    QStringList words;
    for (const QByteArray& word : fuzz::bytesOf(data + 2, size - 2).split('\0')) words << QString::fromUtf8(word);
    try {
        parseInvocation(words);
    } catch (const UsageError& usage) {
        requireMessage(usage, words);
    }
    try {
        const Arguments arguments(syntax, words);
        if (arguments.helpWanted()) return 0;
        if (arguments.positionals().size() < syntax.positionals.size())
            fail("a command accepted without its arguments", words.join(QLatin1Char(' ')));
        for (const OptionSyntax& option : syntax.options)
            if (option.presence == Presence::Required && !arguments.isSet(option.names.first()))
                fail("a command accepted without its required option", words.join(QLatin1Char(' ')));
    } catch (const UsageError& usage) {
        requireMessage(usage, words);
    }
    return 0;
}
