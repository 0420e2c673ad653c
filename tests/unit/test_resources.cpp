// The ids header and the resource script agree: every id used in the script
// is defined once, every string the program loads exists. And the source
// folders keep their layering.
#include "fake_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <vector>

TEST(Resources, StringTableHoldsTheProgramTexts)
{
    const auto& strings = resourceStrings();
    EXPECT_EQ(strings.at(127), "%u timers are still running.\n\nAre you sure you want to quit?");
    EXPECT_EQ(strings.at(632), "Play \"Notify\" sound");
    EXPECT_EQ(strings.at(762), "\"C:\\Some Path\\Some Document File.doc\"");
    EXPECT_EQ(strings.at(922), "&Modify Timer Name\tDouble-Click");
    EXPECT_EQ(strings.at(919), "E&xit with a Funny Sound!  =)");
    EXPECT_EQ(strings.at(925), "&Pause Timer\tControl + Click");
    EXPECT_EQ(strings.at(926), "R&esume Timer\tControl + Click");
    EXPECT_EQ(strings.at(927), "Repea&t When Up");
    EXPECT_EQ(strings.at(128), " (paused)");
    // Every menu command has its text.
    for (unsigned id = 901; id <= 927; ++id)
        EXPECT_EQ(strings.count(id), 1u) << id;
}

TEST(Resources, EverySymbolInTheScriptIsDefinedInTheHeader)
{
    const std::string script = readSourceFile("res/Kelvaro.rc");
    const std::regex symbol(R"(\b(ID[A-Z]*_[A-Z0-9_]+)\b)");
    std::set<std::string> missing;
    for (auto it = std::sregex_iterator(script.begin(), script.end(), symbol); it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[1];
        if (name != "IDC_STATIC" && name != "IDOK" && name != "IDCANCEL" && resourceIds().count(name) == 0)
            missing.insert(name);
    }
    EXPECT_TRUE(missing.empty()) << *missing.begin();
}

TEST(Resources, IdsOfOneKindAreUnique)
{
    // Within one kind (prefix) no two names share a number, except where the
    // same number deliberately serves two roles (menu command = string id,
    // and the private command/message numbers).
    std::map<std::string, std::map<long, std::string>> byKind;
    for (const auto& [name, value] : resourceIds()) {
        std::string kind = name.substr(0, name.find('_'));
        if (kind == "IDC") {
            // Control ids are unique per dialog.
            const std::string rest = name.substr(4);
            kind += rest.rfind("SET_", 0) == 0 ? "_SET" : rest.rfind("ABOUT_", 0) == 0 ? "_ABOUT"
                : rest.rfind("PREVIEW_", 0) == 0 || rest.rfind("OPEN_", 0) == 0 ? "_OPEN"
                : rest.rfind("NAME_", 0) == 0 ? "_NAME" : "_MAIN";
        }
        if (kind == "ID" || kind == "WM")
            continue;
        auto [it, inserted] = byKind[kind].emplace(value, name);
        EXPECT_TRUE(inserted) << name << " repeats " << it->second;
    }
}

// Each folder of src includes only from the folders before it here, so no two
// folders ever need each other: the platform-free rules first, then the
// windows, the ones every window shares before the secondary dialogs and
// those before the main dialog that opens them.
TEST(SourceLayout, FoldersIncludeOnlyDownward)
{
    const std::vector<std::string> order = {"base", "settings", "timers", "events", "store",
                                            "ui/common", "ui/dialogs", "ui/main", "app"};
    const std::regex include(R"re(#include "([\w/]+)/\w+\.h")re");
    const std::filesystem::path root(KELVARO_SOURCE_DIR);
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / "src")) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        const std::string folder = std::filesystem::relative(entry.path().parent_path(), root / "src").generic_string();
        const auto rank = std::find(order.begin(), order.end(), folder);
        ASSERT_NE(rank, order.end()) << "a new folder needs its place in the order: " << folder;
        const std::string source = readSourceFile(std::filesystem::relative(entry.path(), root).generic_string());
        for (auto it = std::sregex_iterator(source.begin(), source.end(), include); it != std::sregex_iterator(); ++it) {
            const auto target = std::find(order.begin(), order.end(), (*it)[1].str());
            EXPECT_LE(target - order.begin(), rank - order.begin()) << entry.path() << " includes " << (*it)[0];
        }
    }
    EXPECT_GT(files, 50);
}
