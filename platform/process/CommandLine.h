#pragma once
// How a Windows command line is read: the program name at its head, then the arguments, split
// the way the C runtime of a Windows program splits them.
#include <string>
#include <string_view>
#include <vector>

// One reading of the program at the head of a command line and what follows it, both inside
// the line, so that the readings of a long line take no more room than the line.
struct CommandLineHead {
    std::string_view program; // as written, quotes removed
    std::string_view rest;
};

// The possible program names at the head of commandLine, shortest first. A quoted head has one
// reading. An unquoted head with spaces has one per space-separated prefix ("C:\Program",
// then "C:\Program Files\player.exe", ...), up to the first quote, since Windows tries them in
// that order until one names a file.
std::vector<CommandLineHead> CommandLineHeads(std::string_view commandLine);

// The arguments after the program name: white space separates them outside quotes; 2n
// backslashes before a quote give n backslashes and the quote opens or closes quoting, 2n+1
// give n backslashes and a literal quote; other backslashes are literal; "" inside quotes is a
// literal quote.
std::vector<std::string> SplitArguments(std::string_view arguments);

// The whole command line as a program receives it in argv: the head read as the first reading
// of CommandLineHeads, the rest by SplitArguments.
std::vector<std::string> CommandLineToArgv(std::string_view commandLine);

// arg written for a command line so that SplitArguments reads it back as the same one
// argument: as it is when it holds no blank or quote, else quoted, with the backslashes
// before a quote (and before the closing quote) doubled and the quotes in it escaped.
std::string QuoteArgument(std::string_view arg);
