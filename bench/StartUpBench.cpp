// Start to a visible main window: reelmix against a bare Qt main window holding a list, started
// in turn on one private Xvfb server. Each start is timed until the server has drawn the first
// picture of its main window (the first damage the Damage extension reports on it once it is
// mapped); the window is then closed as its close box would. Prints the medians and the median
// of the pair-by-pair ratios beside the goal.
// Run: build-bench/bench/bench_startup [--program PATH] [PAIRS]
#include "bench/Percentile.h"

#include <QApplication>
#include <QListWidget>
#include <QMainWindow>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{
using Clock = std::chrono::steady_clock;
constexpr auto kRunLimit = std::chrono::seconds(30);
// Smaller windows are tooltips, menus and Qt's own helpers, not a main window.
constexpr int kLeastSide = 200;

int RunBareWindow(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    auto* list = new QListWidget(&window);
    for (int i = 0; i < 20; ++i)
        list->addItem(QStringLiteral("Clip %1.avi").arg(i));
    window.setCentralWidget(list);
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(800, 500);
    window.show();
    return application.exec();
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& environment)
{
    std::vector<char*> argv, envp;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    for (const std::string& entry : environment)
        envp.push_back(const_cast<char*>(entry.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0)
        throw std::runtime_error("cannot start " + args[0]);
    return pid;
}

// Waits for the child to end, for at most limit; then ends it.
void Reap(pid_t pid, std::chrono::milliseconds limit)
{
    const auto end = Clock::now() + limit;
    while (waitpid(pid, nullptr, WNOHANG) == 0) {
        if (Clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return;
        }
        poll(nullptr, 0, 10);
    }
}

// An Xvfb server of this benchmark's own.
class PrivateServer
{
public:
    PrivateServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const char* argv[] = {"Xvfb",         "-displayfd", "3",   "-screen", "0",
                              "1280x1024x24", "-nolisten",  "tcp", nullptr};
        const int started =
            posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The number comes in more than one write, and the server ends if it cannot make them.
        std::string number;
        char c = 0;
        while (started == 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty())
            throw std::runtime_error("cannot start Xvfb (install the xvfb package)");
        m_display = ":" + number;
    }
    ~PrivateServer()
    {
        kill(m_pid, SIGTERM);
        Reap(m_pid, std::chrono::seconds(5));
    }
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

// Watches the server's top-level windows for the first picture of a main window.
class WindowWatch
{
public:
    explicit WindowWatch(const std::string& display)
    {
        m_connection = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(m_connection))
            throw std::runtime_error("cannot connect to " + display);
        const xcb_query_extension_reply_t* damage =
            xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            throw std::runtime_error("the server has no Damage extension");
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        free(xcb_damage_query_version_reply(m_connection,
                                            xcb_damage_query_version(m_connection, 1, 1), nullptr));
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_protocols = Atom("WM_PROTOCOLS");
        m_delete = Atom("WM_DELETE_WINDOW");
    }
    ~WindowWatch() { xcb_disconnect(m_connection); }

    // Milliseconds from start until a main window's first picture; the window in window.
    double UntilFirstPicture(Clock::time_point start, xcb_window_t& window)
    {
        std::map<xcb_window_t, bool> mapped;
        const int fd = xcb_get_file_descriptor(m_connection);
        while (Clock::now() - start < kRunLimit) {
            xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
            if (!event) {
                pollfd ready{fd, POLLIN, 0};
                poll(&ready, 1, 100);
                continue;
            }
            const auto type = event->response_type & 0x7F;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
                if (created->parent == m_root && !created->override_redirect) {
                    xcb_damage_create(m_connection, xcb_generate_id(m_connection), created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    mapped[created->window] = false;
                    xcb_flush(m_connection);
                }
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (mapped.count(map->window))
                    mapped[map->window] = true;
            } else if (type == m_damageEvent) {
                const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                const bool main =
                    damage->geometry.width >= kLeastSide && damage->geometry.height >= kLeastSide;
                if (main && mapped[damage->drawable]) {
                    window = damage->drawable;
                    free(event);
                    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                }
            }
            free(event);
        }
        throw std::runtime_error("no window was shown within 30 s");
    }

    // As the window manager's close box does.
    void Close(xcb_window_t window)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_protocols;
        message.data.data32[0] = m_delete;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return atom;
    }

    xcb_connection_t* m_connection = nullptr;
    int m_damageEvent = 0;
    xcb_window_t m_root = 0;
    xcb_atom_t m_protocols = 0;
    xcb_atom_t m_delete = 0;
};

// The children's environment: the private server, and settings and desktop files in folder,
// so that the user's own are never touched.
std::vector<std::string> ChildEnvironment(const std::string& display,
                                          const std::filesystem::path& folder)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (name != "DISPLAY" && name != "QT_QPA_PLATFORM" && name.rfind("XDG_", 0) != 0 &&
            name != "REELMIX_REGISTRY")
            environment.push_back(text);
    }
    std::filesystem::create_directories(folder / "runtime");
    std::filesystem::permissions(folder / "runtime", std::filesystem::perms::owner_all);
    environment.push_back("DISPLAY=" + display);
    environment.push_back("QT_QPA_PLATFORM=xcb");
    environment.push_back("REELMIX_REGISTRY=" + (folder / "registry.db").string());
    environment.push_back("XDG_CONFIG_HOME=" + (folder / "config").string());
    environment.push_back("XDG_DATA_HOME=" + (folder / "share").string());
    environment.push_back("XDG_RUNTIME_DIR=" + (folder / "runtime").string());
    return environment;
}

double TimeOneStart(WindowWatch& watch, const std::vector<std::string>& command,
                    const std::vector<std::string>& environment)
{
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn(command, environment);
    xcb_window_t window = 0;
    double ms = 0;
    try {
        ms = watch.UntilFirstPicture(start, window);
    } catch (...) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        throw;
    }
    watch.Close(window);
    Reap(pid, std::chrono::seconds(10));
    return ms;
}

int Measure(const std::string& program, int pairs, const std::string& self)
{
    const PrivateServer server;
    WindowWatch watch(server.Display());
    char folderTemplate[] = "/tmp/reelmix-startup-XXXXXX";
    if (!mkdtemp(folderTemplate))
        throw std::runtime_error("no temporary folder");
    const std::filesystem::path folder = folderTemplate;
    const std::vector<std::string> environment = ChildEnvironment(server.Display(), folder);
    const std::vector<std::string> reelmix{program}, bare{self, "--bare"};
    // The first start of each sets up what later starts find (settings, desktop files, caches).
    TimeOneStart(watch, reelmix, environment);
    TimeOneStart(watch, bare, environment);
    std::vector<double> reelmixMs, bareMs, ratios;
    for (int pair = 0; pair < pairs; ++pair) {
        reelmixMs.push_back(TimeOneStart(watch, reelmix, environment));
        bareMs.push_back(TimeOneStart(watch, bare, environment));
        ratios.push_back(reelmixMs.back() / bareMs.back());
    }
    std::filesystem::remove_all(folder);
    std::printf("start to visible main window, median of %d starts each, in turn on one Xvfb:\n"
                "  reelmix                          %7.1f ms  (%.1f to %.1f)\n"
                "  bare Qt main window with a list  %7.1f ms  (%.1f to %.1f)\n"
                "  reelmix / bare, pair by pair     %7.2f     (goal: at most 1.5)\n",
                pairs, Percentile(reelmixMs, 0.5), Percentile(reelmixMs, 0),
                Percentile(reelmixMs, 1), Percentile(bareMs, 0.5), Percentile(bareMs, 0),
                Percentile(bareMs, 1), Percentile(ratios, 0.5));
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return RunBareWindow(argc, argv);
    std::string program = REELMIX_PROGRAM;
    int pairs = 9;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--program") == 0 && i + 1 < argc)
            program = argv[++i];
        else
            pairs = std::max(1, std::atoi(argv[i]));
    }
    try {
        return Measure(program, pairs, std::filesystem::canonical("/proc/self/exe"));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_startup: %s\n", error.what());
        return 1;
    }
}
