#include "platform/process/ShellExecute.h"

#include "platform/core/CString.h"
#include "platform/files/HostPath.h"
#include "platform/process/CommandLine.h"
#include "platform/process/WinExec.h"

namespace
{
bool IsEmpty(LPCSTR text)
{
    return !text || !*text;
}
} // namespace

int ShellExecuteA(void*, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int show)
{
    if (!IsEmpty(verb) && _stricmp(verb, "open") != 0)
        return SE_ERR_NOASSOC;
    if (!IsEmpty(parameters) || !IsEmpty(directory))
        return SE_ERR_NOASSOC;
    if (IsEmpty(file))
        return SE_ERR_FNF;
    const std::string target = file[0] == '\\' ? ToHostPath(CString(file)) : std::string(file);
    return int(WinExec(("xdg-open " + QuoteArgument(target)).c_str(), UINT(show)));
}
