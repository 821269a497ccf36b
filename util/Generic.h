#pragma once
// Static helpers of the maker's library: paths and files, number and text formatting, colours.
// A class with no instances and no state.
#include "platform/core/CString.h"
#include "platform/core/CTime.h"

class CArchive;
class CDC;
class CWnd;

class Generic
{
public:
    Generic() = delete;

    // Paths and files. The only separator is the backslash.
    static CString FileFromPath(const CString& path);
    static CString DirFromPath(const CString& path);
    static CString TitleFromPath(const CString& path);
    static CString ExtFromPath(const CString& path);
    static CString DirAndFileFromPath(const CString& path);
    static int ReverseFindOneOf(const CString& text, const CString& set, int start);
    static bool RemoveTrailingSlash(CString& path);
    static bool IsDirectory(const CString& path);
    static DWORD GetFileSize(const CString& path);
    static bool AppendFiles(const CString& destination, const CString& source);
    static bool RenameFile(const CString& oldPath, const CString& newPath);
    static bool RemoveFile(const CString& path);
    static bool TranslateEnvPath(CString& path);
    static bool GetFromIniFile(const CString& file, const CString& section, const CString& key,
                               const CString& defaultText, CString& result, int size);

    // Numbers and texts.
    static CString IntToCommas(int value);
    static CString DoubleToCommas(double value, int places);
    static int CommasToInt(const CString& text);
    static double CommasToDouble(const CString& text);
    static CString StripNonNumeric(const CString& text);
    static double RoundDouble(double value, int places);
    static CString LoadString(UINT id);
    static CString GetErrorString();
    static int GetJulianDayNumber(const CTime& time);
    static double Load80BitLongDoubleTo64BitDouble(CArchive& archive);

    // Colours between RGB and HLS on the 0 to 240 scale.
    static void RGBtoHLS(COLORREF colour, WORD& hue, WORD& lightness, WORD& saturation);
    static COLORREF HLStoRGB(WORD hue, WORD lightness, WORD saturation);
    static WORD HueToRGB(WORD m1, WORD m2, WORD hue);

    // Dialog units of a window built from a dialog template to pixels; 0 for no such window.
    static int GetHorzPixels(CWnd* window, int units);
    static int GetVertPixels(CWnd* window, int units);
    // The negative font height that asks for a character height of points on dc; -1 without dc.
    static int PointsToLogicalHeight(const CDC* dc, int points);
    // Handles the pending events, then runs the application's idle processing with counts 0
    // and 1. Returns the id of the last message taken (WM_QUIT once a quit request was among
    // them), 0 when there was none.
    static UINT SpinTheMessageLoop();
    // Shows text (unless empty) as an error and asks the application to quit with code.
    static void QuickExit(const CString& text, int code);
};
