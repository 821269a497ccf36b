#pragma once
// Text pieces that several formats share: numbers written and read the same way in every
// locale, trimming, line splitting with line numbers, and text of unknown encoding.
#include <functional>
#include <string>
#include <string_view>

class ListText
{
public:
    ListText() = delete;

    // Seconds with up to six decimals and no trailing zeros: "12.5", "3", "0.041667".
    static std::string Seconds(double seconds);
    // A whole number or a decimal fraction, nothing else around it; false when text is none.
    static bool ParseNumber(std::string_view text, double& value);
    static std::string_view Trim(std::string_view text);
    static bool StartsWithNoCase(std::string_view text, std::string_view prefix);

    // Calls line for each line of text with its number from 1; "\n", "\r\n" and "\r" end lines.
    static void ForEachLine(std::string_view text,
                            const std::function<void(long number, std::string_view line)>& line);
    // Text without a leading byte-order mark, as UTF-8: bytes that are not UTF-8 are read as
    // Latin-1, as older players wrote their lists.
    static std::string Utf8(std::string_view bytes);
    // Special characters of XML as entities; control characters XML cannot hold are left out.
    static std::string XmlEscape(std::string_view text);
};
