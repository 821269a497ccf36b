#include "platform/registry/RegistryStore.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testfiles;

namespace
{

LONG Create(RegistryStore& store, const char* path, HKEY& key)
{
    DWORD disposition = 0;
    return store.CreateKey(HKEY_CURRENT_USER, path, nullptr, KEY_ALL_ACCESS, key, disposition);
}

// Writes value "v" = "x" under HKEY_CURRENT_USER\Software\Test of a store at path.
void WriteSample(const std::string& path)
{
    RegistryStore store(path);
    HKEY key = nullptr;
    ASSERT_EQ(Create(store, "Software\\Test", key), LONG(ERROR_SUCCESS));
    ASSERT_EQ(store.SetValue(key, "v", REG_SZ, "x"), LONG(ERROR_SUCCESS));
}

// Every call that a program makes at start-up and shutdown, with its result.
std::vector<LONG> TryEverything(RegistryStore& store)
{
    HKEY key = nullptr;
    RegistryStore::Value value;
    RegistryStore::SubKey subKey;
    return {Create(store, "Software\\Other", key),
            store.OpenKey(HKEY_CURRENT_USER, "Software\\Test", KEY_ALL_ACCESS, key),
            store.SetValue(HKEY_CURRENT_USER, "v", REG_SZ, "y"),
            store.QueryValue(HKEY_CURRENT_USER, "v", value),
            store.DeleteKey(HKEY_CURRENT_USER, "Software\\Test"),
            store.EnumKey(HKEY_CURRENT_USER, 0, subKey)};
}

// A child that writes values named prefix<i>, and tells each write reported done on reports:
// without go on and on until it is killed, else two for each "g" that arrives on go, until "q".
pid_t StartWriter(const std::string& path, const std::string& prefix, int go, int reports)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL); // never outlives a test that failed half-way
    RegistryStore store(path);
    for (int i = 0;; ++i) {
        char byte = 0;
        if (go >= 0 && i % 2 == 0 && (read(go, &byte, 1) != 1 || byte == 'q'))
            _exit(0);
        HKEY key = nullptr;
        const std::string name = prefix + std::to_string(i);
        const std::string line = name + "\n"; // short enough to reach the pipe in one piece
        if (Create(store, ("Software\\Crash\\" + prefix).c_str(), key) != ERROR_SUCCESS ||
            store.SetValue(key, name.c_str(), REG_SZ, name) != ERROR_SUCCESS ||
            write(reports, line.data(), line.size()) != ssize_t(line.size()))
            _exit(1);
        store.CloseKey(key);
    }
}

// SQLite's verdict on the file, or why it could give none.
std::string IntegrityOf(const std::string& path)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* check = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_busy_timeout(db, 10000);
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    const std::string verdict = sqlite3_step(check) == SQLITE_ROW
                                    ? reinterpret_cast<const char*>(sqlite3_column_text(check, 0))
                                    : sqlite3_errmsg(db);
    sqlite3_finalize(check);
    sqlite3_close(db);
    return verdict;
}

} // namespace

TEST(RegistryStore, CreatedWithItsFolderOnFirstWriteOnly)
{
    const std::string path = NewPath("new") + "/sub/registry.db";
    RegistryStore store(path);
    HKEY key = nullptr;
    RegistryStore::Value value;
    RegistryStore::SubKey subKey;
    EXPECT_EQ(store.OpenKey(HKEY_CURRENT_USER, "Software", KEY_READ, key),
              LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(store.QueryValue(HKEY_LOCAL_MACHINE, "v", value), LONG(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(store.EnumKey(HKEY_CURRENT_USER, 0, subKey), LONG(ERROR_NO_MORE_ITEMS));
    EXPECT_FALSE(std::filesystem::exists(path));

    ASSERT_EQ(Create(store, "Software", key), LONG(ERROR_SUCCESS));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(store.EnumKey(HKEY_CURRENT_USER, 0, subKey), LONG(ERROR_SUCCESS));
    EXPECT_EQ(subKey.name, "Software");
}

TEST(RegistryStore, CorruptStoreFailsWithoutBeingTouched)
{
    for (const std::string& garbage :
         {std::string("not a database at all\n"), std::string(4096, '\xA5'),
          std::string("SQLite format 3") + std::string(1, '\0') + std::string(200, '\x01')}) {
        const std::string path = NewPath("garbage.db");
        WriteBytes(path, garbage);
        RegistryStore store(path);
        for (const LONG result : TryEverything(store))
            EXPECT_NE(result, LONG(ERROR_SUCCESS));
        EXPECT_EQ(ReadBytes(path), garbage);
        EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    }
}

TEST(RegistryStore, ReadOnlyStoreOpensKeysForReadingOnly)
{
    // Mode bits decide, so the lock holds for the superuser, who passes access(W_OK) anyway.
    const std::string path = NewPath("locked.db");
    WriteSample(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const std::string before = ReadBytes(path);

    RegistryStore store(path);
    EXPECT_FALSE(store.IsWritable());
    HKEY key = nullptr;
    EXPECT_EQ(store.OpenKey(HKEY_CURRENT_USER, "Software\\Test", KEY_ALL_ACCESS, key),
              LONG(ERROR_ACCESS_DENIED));
    ASSERT_EQ(store.OpenKey(HKEY_CURRENT_USER, "Software\\Test", KEY_READ, key),
              LONG(ERROR_SUCCESS));
    RegistryStore::Value value;
    ASSERT_EQ(store.QueryValue(key, "V", value), LONG(ERROR_SUCCESS));
    EXPECT_EQ(value.data, "x");
    const std::vector<LONG> results = TryEverything(store);
    const std::vector<LONG> expected = {LONG(ERROR_ACCESS_DENIED), LONG(ERROR_ACCESS_DENIED),
                                        LONG(ERROR_ACCESS_DENIED), LONG(ERROR_FILE_NOT_FOUND),
                                        LONG(ERROR_ACCESS_DENIED), LONG(ERROR_SUCCESS)};
    EXPECT_EQ(results, expected);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(RegistryStore, NamesThatTextCannotListAreRefused)
{
    RegistryStore store(NewPath("names.db"));
    std::string deep = "k";
    for (int level = 1; level < 501; ++level)
        deep += "\\k";
    HKEY key = nullptr;
    ASSERT_EQ(Create(store, deep.c_str(), key), LONG(ERROR_SUCCESS));
    DWORD disposition = 0;
    const std::vector<LONG> results = {
        Create(store, "Line\nBreak", key), Create(store, "Carriage\rReturn", key),
        store.SetValue(HKEY_CURRENT_USER, "two\nlines", REG_SZ, "x"),
        store.CreateKey(key, "1\\2\\3\\4\\5\\6\\7\\8\\9\\10\\11", nullptr, KEY_ALL_ACCESS, key,
                        disposition), // level 512
        store.CreateKey(key, "513", nullptr, KEY_ALL_ACCESS, key, disposition)};
    const LONG refused = LONG(ERROR_INVALID_PARAMETER);
    EXPECT_EQ(results,
              std::vector<LONG>({refused, refused, refused, LONG(ERROR_SUCCESS), refused}));
}

TEST(RegistryStore, BusyStoreSaysSo)
{
    const std::string path = NewPath("busy.db");
    WriteSample(path);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    RegistryStore store(path, 20);
    HKEY key = nullptr;
    RegistryStore::Value value;
    EXPECT_EQ(store.QueryValue(HKEY_CURRENT_USER, "v", value), LONG(ERROR_BUSY));
    EXPECT_EQ(Create(store, "Software\\Other", key), LONG(ERROR_BUSY));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(Create(store, "Software\\Other", key), LONG(ERROR_SUCCESS));
}

TEST(RegistryStore, FailedTransactionLeavesNothing)
{
    RegistryStore store(NewPath("batch.db"));
    HKEY key = nullptr;
    const LONG result = store.Transact(true, [&]() -> LONG {
        Create(store, "Software\\Batch", key);
        store.SetValue(key, "a", REG_SZ, "1");
        return LONG(ERROR_INVALID_PARAMETER);
    });
    EXPECT_EQ(result, LONG(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(store.OpenKey(HKEY_CURRENT_USER, "Software\\Batch", KEY_READ, key),
              LONG(ERROR_FILE_NOT_FOUND));
}

TEST(RegistryStore, WriterKilledAtAnyMomentLosesNoReportedWrite)
{
    // In every round one writer is killed at a random moment while another writes beside it.
    const std::string path = NewPath("killed.db");
    WriteSample(path);
    int go[2];
    int reports[2];
    ASSERT_EQ(pipe(go) | pipe(reports), 0);
    const pid_t survivor = StartWriter(path, "survivor-", go[0], reports[1]);
    ASSERT_GT(survivor, 0);
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const pid_t victim = StartWriter(path, "r" + std::to_string(round) + "-", -1, reports[1]);
        ASSERT_GT(victim, 0);
        ASSERT_EQ(write(go[1], "g", 1), 1);
        usleep(std::uniform_int_distribution<useconds_t>(0, round % 2 ? 3000 : 12000)(random));
        kill(victim, SIGKILL);
        waitpid(victim, nullptr, 0);
        const std::string integrity = IntegrityOf(path);
        if (integrity != "ok") {
            ADD_FAILURE() << "round " << round << ": " << integrity;
            break;
        }
    }
    ASSERT_EQ(write(go[1], "q", 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(survivor, &status, 0), survivor);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0); // none of its writes failed
    close(reports[1]);

    RegistryStore store(path);
    char buffer[1 << 16];
    const ssize_t size = read(reports[0], buffer, sizeof buffer);
    std::istringstream reported(std::string(buffer, std::size_t(std::max<ssize_t>(size, 0))));
    int count = 0;
    for (std::string name; std::getline(reported, name); ++count) {
        HKEY key = nullptr;
        RegistryStore::Value value;
        const std::string sub = "Software\\Crash\\" + name.substr(0, name.find('-') + 1);
        EXPECT_TRUE(store.OpenKey(HKEY_CURRENT_USER, sub.c_str(), KEY_READ, key) == ERROR_SUCCESS &&
                    store.QueryValue(key, name.c_str(), value) == ERROR_SUCCESS &&
                    value.data == name)
            << name;
        store.CloseKey(key);
    }
    EXPECT_GE(count, 400);
}
