// Creating a folder and its missing parents, against an in-memory file system.
#include "base/directory_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<std::string> folders;
std::set<std::string> files;
std::set<std::string> refused;             // creation fails here although the parent exists
std::vector<std::string> attempts;         // every creation tried, in order

bool exists(const char* path)
{
    return folders.count(path) != 0 || files.count(path) != 0;
}

bool isDirectory(const char* path)
{
    return folders.count(path) != 0;
}

// As the shell's rule: "C:\a\b" -> "C:\a", "C:\a" -> "C:\", "C:\" stays and
// fails, "name" -> "".
bool removeLastComponent(char* path)
{
    char* slash = std::strrchr(path, '\\');
    if (slash == nullptr) {
        if (path[0] == '\0')
            return false;
        path[0] = '\0';
        return true;
    }
    if (slash[1] == '\0')
        return false;
    if (slash == path + 2 && path[1] == ':')
        slash[1] = '\0';
    else
        *slash = '\0';
    return true;
}

std::string parentOf(const std::string& path)
{
    std::vector<char> copy(path.begin(), path.end());
    copy.push_back('\0');
    removeLastComponent(copy.data());
    return copy.data();
}

bool createDirectory(const char* path)
{
    attempts.push_back(path);
    if (exists(path) || refused.count(path) != 0 || folders.count(parentOf(path)) == 0)
        return false;
    folders.insert(path);
    return true;
}

const DirectoryOperations fakeFiles = {exists, isDirectory, removeLastComponent, createDirectory};

struct DirectoryRulesTest : ::testing::Test {
    void SetUp() override
    {
        folders = {"C:\\", "C:\\users", "C:\\users\\pat"};
        files = {"C:\\users\\pat\\notes.txt"};
        refused.clear();
        attempts.clear();
    }
};

} // namespace

TEST_F(DirectoryRulesTest, AnExistingFolderNeedsNothing)
{
    EXPECT_TRUE(ensureDirectoryExists("C:\\users\\pat", fakeFiles));
    EXPECT_TRUE(attempts.empty());
}

TEST_F(DirectoryRulesTest, AnExistingFileIsNoFolder)
{
    EXPECT_FALSE(ensureDirectoryExists("C:\\users\\pat\\notes.txt", fakeFiles));
    EXPECT_TRUE(attempts.empty());
}

TEST_F(DirectoryRulesTest, MissingLevelsAreCreatedFromTheTopDown)
{
    EXPECT_TRUE(ensureDirectoryExists("C:\\users\\pat\\Desktop\\a\\b", fakeFiles));
    const std::vector<std::string> expected = {
        "C:\\users\\pat\\Desktop\\a\\b", "C:\\users\\pat\\Desktop\\a", "C:\\users\\pat\\Desktop",
        "C:\\users\\pat\\Desktop\\a", "C:\\users\\pat\\Desktop\\a\\b"};
    EXPECT_EQ(attempts, expected);
    EXPECT_TRUE(isDirectory("C:\\users\\pat\\Desktop\\a\\b"));
}

TEST_F(DirectoryRulesTest, ARefusedLevelClimbsToTheRootAndGivesUp)
{
    refused.insert("C:\\users\\pat\\Desktop");
    EXPECT_FALSE(ensureDirectoryExists("C:\\users\\pat\\Desktop\\a", fakeFiles));
    EXPECT_EQ(attempts.back(), "C:\\");
    EXPECT_FALSE(isDirectory("C:\\users\\pat\\Desktop\\a"));
}

TEST_F(DirectoryRulesTest, AFileInTheWayEndsWithFalse)
{
    EXPECT_FALSE(ensureDirectoryExists("C:\\users\\pat\\notes.txt\\inner", fakeFiles));
    EXPECT_FALSE(exists("C:\\users\\pat\\notes.txt\\inner"));
}

TEST_F(DirectoryRulesTest, AMissingDriveOrARelativePathEndsWithFalse)
{
    EXPECT_FALSE(ensureDirectoryExists("Q:\\x\\y", fakeFiles));
    EXPECT_EQ(attempts.back(), "Q:\\");
    attempts.clear();
    EXPECT_FALSE(ensureDirectoryExists("x\\y", fakeFiles));
    EXPECT_EQ(attempts, (std::vector<std::string>{"x\\y", "x"}));
}

TEST_F(DirectoryRulesTest, EmptyAndOverlongPathsAreRefusedUntouched)
{
    EXPECT_FALSE(ensureDirectoryExists(nullptr, fakeFiles));
    EXPECT_FALSE(ensureDirectoryExists("", fakeFiles));
    const std::string prefix = "C:\\users\\pat\\";
    const std::string longest = prefix + std::string(259 - prefix.size(), 'd');
    EXPECT_FALSE(ensureDirectoryExists((longest + "d").c_str(), fakeFiles));
    EXPECT_TRUE(attempts.empty());
    EXPECT_TRUE(ensureDirectoryExists(longest.c_str(), fakeFiles));
    EXPECT_EQ(attempts, std::vector<std::string>{longest});
}
