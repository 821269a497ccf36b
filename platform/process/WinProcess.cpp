#include "platform/process/WinProcess.h"

#include "platform/core/WinError.h"
#include "platform/files/HostPath.h"
#include "platform/process/CommandLine.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <future>
#include <new>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

// This glibc's <sys/pidfd.h> lacks the C linkage block.
extern "C" {
#include <sys/pidfd.h>
}

extern char** environ;

namespace
{

constexpr int IdleNice = 19;

struct SpawnRequest {
    std::string path;
    std::vector<std::string> argv;
    std::vector<std::string> environment; // empty: this program's own
    std::string directory;                // empty: this program's own
    bool idle = false;
    bool inheritHandles = false;
};

bool IsExecutableFile(const std::string& hostPath)
{
    struct stat info {
    };
    return stat(hostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(hostPath.c_str(), X_OK) == 0;
}

bool IsDirectory(const std::string& hostPath)
{
    struct stat info {
    };
    return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool EndsWithExe(const std::string& path)
{
    return path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".exe") == 0;
}

// The file hostPath names, or the same name without ".exe", which is how programs that
// Windows calls "name.exe" are named here.
std::optional<std::string> ExecutableAt(const std::string& hostPath)
{
    if (IsExecutableFile(hostPath))
        return hostPath;
    if (EndsWithExe(hostPath)) {
        std::string bare = hostPath.substr(0, hostPath.size() - 4);
        if (IsExecutableFile(bare))
            return bare;
    }
    return std::nullopt;
}

std::string CurrentHostDirectory()
{
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return ".";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::optional<std::string> FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "";
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        const std::string base = folder.empty() ? "." : std::string(folder);
        if (auto found = ExecutableAt(base + "/" + name))
            return found;
        if (colon == std::string_view::npos)
            return std::nullopt;
        folders.remove_prefix(colon + 1);
    }
}

// Relative names are relative to this program's current directory, as on Windows, not to the
// directory the new program starts in.
std::optional<std::string> ResolveProgram(const std::string& programPath, bool searchPath)
{
    if (programPath.empty())
        return std::nullopt;
    const std::string host = ToHostPath(CString(programPath));
    if (host.find('/') == std::string::npos && searchPath)
        return FindOnPath(host);
    return ExecutableAt(host.front() == '/' ? host : CurrentHostDirectory() + "/" + host);
}

std::vector<std::string> EnvironmentFromBlock(const char* block)
{
    std::vector<std::string> variables;
    for (const char* entry = block; *entry; entry += std::strlen(entry) + 1)
        variables.emplace_back(entry);
    return variables;
}

DWORD ErrorFromErrno(int error)
{
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case ENOEXEC:
    case ELIBBAD:
    case ETXTBSY:
        return ERROR_BAD_EXE_FORMAT;
    case ENOMEM:
    case EAGAIN:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Returns the new pid, or -errno.
int Spawn(SpawnRequest& request)
{
    std::vector<char*> argv = Pointers(request.argv);
    std::vector<char*> envp = Pointers(request.environment);
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    if (!request.directory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, request.directory.c_str());
    if (!request.inheritHandles)
        posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    // Its own session, so that it outlives this program and its terminal, with a clean mask.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, request.path.c_str(), &actions, &attributes, argv.data(),
                                  request.environment.empty() ? environ : envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error ? -error : pid;
}

// Each program is started from a thread of its own that then waits for it, so that it never
// stays a zombie and no SIGCHLD handler competes with other users of child processes. Nice
// values belong to threads on Linux and a child inherits its parent thread's, so lowering this
// thread's priority before spawning starts the program at idle priority from its first
// instruction; posix_spawn has no attribute for that.
struct Spawned {
    int pid = 0; // the negated errno on failure
    int processFd = -1;
    int threadFd = -1;
};

Spawned SpawnDetached(SpawnRequest request)
{
    std::promise<Spawned> started;
    std::future<Spawned> result = started.get_future();
    try {
        std::thread([request = std::move(request), started = std::move(started)]() mutable {
            if (request.idle)
                setpriority(PRIO_PROCESS, gettid(), IdleNice);
            Spawned spawned;
            try {
                spawned.pid = Spawn(request);
            } catch (const std::bad_alloc&) {
                // Nothing was started yet; the caller hears why instead of the process ending.
                spawned.pid = -ENOMEM;
            }
            // The handles are taken before this thread reaps the program: a program that ends
            // at once is still there to be named until then, and its number cannot be reused.
            if (spawned.pid > 0) {
                spawned.processFd = pidfd_open(spawned.pid, 0);
                spawned.threadFd = pidfd_open(spawned.pid, 0);
            }
            const int pid = spawned.pid;
            started.set_value(spawned);
            if (pid > 0) {
                while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
                }
            }
        }).detach();
    } catch (const std::system_error&) {
        return Spawned{-EAGAIN};
    }
    return result.get();
}

HANDLE HandleFromDescriptor(int fd)
{
    // Descriptor 0 is a valid descriptor but a null handle means none; keep them apart.
    return fd < 0 ? nullptr : reinterpret_cast<HANDLE>(std::intptr_t(fd) + 1);
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

} // namespace

BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES,
                    LPSECURITY_ATTRIBUTES, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA,
                    LPPROCESS_INFORMATION processInformation)
{
    SpawnRequest request;
    const std::string line = commandLine ? commandLine : "";
    if (applicationName) {
        const auto program = ResolveProgram(applicationName, false);
        if (!program)
            return Fail(ERROR_FILE_NOT_FOUND);
        request.path = *program;
        request.argv = CommandLineToArgv(line);
        if (request.argv.empty())
            request.argv.push_back(request.path);
    } else {
        for (const CommandLineHead& head : CommandLineHeads(line)) {
            if (const auto program = ResolveProgram(std::string(head.program), true)) {
                request.path = *program;
                request.argv = SplitArguments(head.rest);
                request.argv.insert(request.argv.begin(), request.path);
                break;
            }
        }
        if (request.path.empty())
            return Fail(line.empty() ? ERROR_INVALID_PARAMETER : ERROR_FILE_NOT_FOUND);
    }
    request.argv.front() = request.path;
    if (currentDirectory) {
        request.directory = ToHostPath(CString(currentDirectory));
        if (!IsDirectory(request.directory))
            return Fail(ERROR_DIRECTORY);
    }
    if (environment)
        request.environment = EnvironmentFromBlock(static_cast<const char*>(environment));
    request.idle = (creationFlags & IDLE_PRIORITY_CLASS) != 0;
    request.inheritHandles = inheritHandles != FALSE;

    const Spawned spawned = SpawnDetached(std::move(request));
    if (spawned.pid < 0)
        return Fail(ErrorFromErrno(-spawned.pid));
    if (processInformation) {
        processInformation->hProcess = HandleFromDescriptor(spawned.processFd);
        processInformation->hThread = HandleFromDescriptor(spawned.threadFd);
        processInformation->dwProcessId = DWORD(spawned.pid);
        processInformation->dwThreadId = DWORD(spawned.pid);
    } else {
        close(spawned.processFd);
        close(spawned.threadFd);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL CloseHandle(HANDLE handle)
{
    const std::intptr_t value = reinterpret_cast<std::intptr_t>(handle);
    if (value <= 0 || close(int(value - 1)) != 0)
        return Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}
