#include "platform/registry/RegistryStore.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
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

TEST(RegistryStore, TwoProcessesWritingAtOnceLoseNothing)
{
    const std::string path = NewPath("shared.db");
    constexpr int kValues = 150;
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            // Own store object: a connection must not cross fork().
            RegistryStore store(path);
            int failures = 0;
            for (int i = 0; i < kValues; ++i) {
                HKEY key = nullptr;
                const std::string sub = "Software\\Shared\\K" + std::to_string(i % 10);
                const std::string name = "p" + std::to_string(child) + "-" + std::to_string(i);
                failures += Create(store, sub.c_str(), key) != ERROR_SUCCESS;
                failures += store.SetValue(key, name.c_str(), REG_SZ, name) != ERROR_SUCCESS;
                store.CloseKey(key);
            }
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    RegistryStore store(path);
    int found = 0;
    for (int child = 0; child < 2; ++child) {
        for (int i = 0; i < kValues; ++i) {
            HKEY key = nullptr;
            const std::string sub = "Software\\Shared\\K" + std::to_string(i % 10);
            const std::string name = "p" + std::to_string(child) + "-" + std::to_string(i);
            RegistryStore::Value value;
            if (store.OpenKey(HKEY_CURRENT_USER, sub.c_str(), KEY_READ, key) == ERROR_SUCCESS &&
                store.QueryValue(key, name.c_str(), value) == ERROR_SUCCESS && value.data == name)
                ++found;
            store.CloseKey(key);
        }
    }
    EXPECT_EQ(found, 2 * kValues);
}
