#include "platform/process/CommandLine.h"

namespace
{
bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}
} // namespace

std::vector<CommandLineHead> CommandLineHeads(std::string_view commandLine)
{
    const std::string_view line = TrimLeft(commandLine);
    if (line.empty())
        return {};
    if (line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        if (close == std::string_view::npos)
            return {{line.substr(1), {}}};
        return {{line.substr(1, close - 1), line.substr(close + 1)}};
    }
    std::vector<CommandLineHead> heads;
    const auto endsHeads = [&](std::size_t at) { return at >= line.size() || line[at] == '"'; };
    std::size_t end = 0;
    while (true) {
        while (!endsHeads(end) && !IsBlank(line[end]))
            ++end;
        heads.push_back({line.substr(0, end), line.substr(end)});
        while (end < line.size() && IsBlank(line[end]))
            ++end;
        if (endsHeads(end))
            return heads;
    }
}

std::vector<std::string> SplitArguments(std::string_view arguments)
{
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    std::size_t i = 0;
    while (i < arguments.size()) {
        const char ch = arguments[i];
        if (IsBlank(ch) && !quoted) {
            if (inArgument)
                args.push_back(std::move(current));
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (ch == '\\') {
            std::size_t count = 0;
            while (i < arguments.size() && arguments[i] == '\\') {
                ++count;
                ++i;
            }
            const bool beforeQuote = i < arguments.size() && arguments[i] == '"';
            current.append(beforeQuote ? count / 2 : count, '\\');
            if (beforeQuote && count % 2 == 1) {
                current += '"';
                ++i;
            }
        } else if (ch == '"') {
            if (quoted && i + 1 < arguments.size() && arguments[i + 1] == '"') {
                current += '"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        } else {
            current += ch;
            ++i;
        }
    }
    if (inArgument)
        args.push_back(std::move(current));
    return args;
}

std::vector<std::string> CommandLineToArgv(std::string_view commandLine)
{
    const std::vector<CommandLineHead> heads = CommandLineHeads(commandLine);
    if (heads.empty())
        return {};
    // argv[0] ends at the first blank (or the closing quote), whatever file it names.
    std::vector<std::string> argv{std::string(heads.front().program)};
    for (std::string& arg : SplitArguments(heads.front().rest))
        argv.push_back(std::move(arg));
    return argv;
}

std::string QuoteArgument(std::string_view arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(arg);
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char ch : arg) {
        if (ch == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(ch == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted += ch;
        backslashes = 0;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + '"';
}
