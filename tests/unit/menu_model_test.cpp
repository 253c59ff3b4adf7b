#include "mainwindow/menu_model.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace kolvi {
namespace {

using M = MenuItem;

MainWindowState noFile() { return {}; }
MainWindowState fileOpen(bool currentRow) {
    MainWindowState s;
    s.fileOpen = true;
    s.hasCurrentRow = currentRow;
    return s;
}

struct EnableCase {
    const char* what;
    MainWindowState state;
    std::vector<M> enabled;
    std::vector<M> disabled;
};

TEST(MenuModel, EnablingFollowsTheFileAndTheCurrentRow) {
    MainWindowState rowWithoutFile;  // a stale current row must not count
    rowWithoutFile.hasCurrentRow = true;
    MainWindowState readme = fileOpen(false);
    readme.readmeExists = true;

    const EnableCase cases[] = {
        {"no file", noFile(),
         {M::file, M::fileNew, M::fileOpen, M::fileExit, M::view, M::viewStatus, M::viewToolTip, M::help,
          M::helpAbout, M::popupAdd, M::trayPopupSize, M::trayPopupExit, M::trayPopupCancel},
         {M::fileSaveAs, M::fileClose, M::viewSort, M::alarm, M::helpReadme}},
        {"file, no current row", fileOpen(false),
         {M::fileSaveAs, M::fileClose, M::viewSort, M::viewSortName, M::alarm, M::alarmEnable, M::alarmAdd,
          M::popupAdd},
         {M::alarmEdit, M::alarmDelete, M::alarmPreview, M::popupEdit, M::popupDelete, M::popupPreview}},
        {"file and current row", fileOpen(true),
         {M::alarmEdit, M::alarmDelete, M::alarmPreview, M::popupEdit, M::popupDelete, M::popupPreview,
          M::alarmAdd, M::popupAdd},
         {}},
        {"current row without a file", rowWithoutFile, {}, {M::alarmEdit, M::alarmDelete, M::popupEdit}},
        {"readme present", readme, {M::helpReadme}, {}},
    };
    for (const EnableCase& c : cases) {
        for (M item : c.enabled) {
            EXPECT_TRUE(menuItemState(item, c.state).enabled) << c.what << ": " << menuCaption(item);
        }
        for (M item : c.disabled) {
            EXPECT_FALSE(menuItemState(item, c.state).enabled) << c.what << ": " << menuCaption(item);
        }
    }
}

TEST(MenuModel, CheckMarksFollowTheWindow) {
    for (const bool on : {false, true}) {
        MainWindowState s = fileOpen(false);
        s.alarmSwitchOn = on;
        s.statusBarVisible = !on;
        s.toolTipsOn = on;
        EXPECT_EQ(menuItemState(M::alarmEnable, s).checked, on);
        EXPECT_EQ(menuItemState(M::viewStatus, s).checked, !on);
        EXPECT_EQ(menuItemState(M::viewToolTip, s).checked, on);
    }
}

TEST(MenuModel, OneSortItemIsCheckedForKeysOneToFive) {
    const std::map<int, std::optional<M>> expected{
        {-1, std::nullopt}, {0, std::nullopt},         {1, M::viewSortName},   {2, M::viewSortDay},
        {3, M::viewSortTime}, {4, M::viewSortFile}, {5, M::viewSortDelete}, {6, std::nullopt},
    };
    for (const auto& [key, item] : expected) {
        MainWindowState s = fileOpen(false);
        s.sortKey = key;
        for (M sortItem : menuChildren(M::viewSort)) {
            EXPECT_EQ(menuItemState(sortItem, s).checked, item == sortItem) << "key " << key;
        }
        if (item) {
            EXPECT_EQ(sortColumnForItem(*item), key + 1);  // header = key + 1
        }
    }
    EXPECT_EQ(sortColumnForItem(M::viewSort), std::nullopt);
}

TEST(MenuModel, ShortcutsActOnlyWhereTheirItemAndMenusAreEnabled) {
    const std::tuple<M, MainWindowState, bool> cases[] = {
        {M::fileNew, noFile(), true},
        {M::alarmEnable, noFile(), false},  // the alarm menu is disabled
        {M::alarmEnable, fileOpen(false), true},
        {M::alarmDelete, fileOpen(false), false},  // the item is disabled
        {M::alarmDelete, fileOpen(true), true},
        {M::fileSaveAs, fileOpen(true), false},  // enabled, but has no shortcut
        {M::popupDelete, fileOpen(true), false},
    };
    for (const auto& [item, state, allowed] : cases) {
        EXPECT_EQ(shortcutAllowed(item, state), allowed) << menuCaption(item) << " file=" << state.fileOpen
                                                         << " row=" << state.hasCurrentRow;
    }
}

TEST(MenuModel, CommandsNeedEveryMenuAboveThemEnabled) {
    // The sort items themselves are never disabled; their sub-menu is.
    EXPECT_TRUE(menuItemState(M::viewSortTime, noFile()).enabled);
    EXPECT_FALSE(isCommandAvailable(M::viewSortTime, noFile()));
    EXPECT_TRUE(isCommandAvailable(M::viewSortTime, fileOpen(false)));
    EXPECT_FALSE(isCommandAvailable(M::alarmAdd, noFile()));
    EXPECT_TRUE(isCommandAvailable(M::helpAbout, noFile()));
}

TEST(MenuModel, CommandIdsAreDistinctAndMapBack) {
    std::set<int> seen;
    for (M item : allMenuItems()) {
        const int id = commandId(item);
        if (isMenu(item) || isSeparator(item)) {
            EXPECT_EQ(id, 0) << menuCaption(item);
            continue;
        }
        EXPECT_TRUE(seen.insert(id).second) << "duplicate id " << id;
        EXPECT_EQ(menuItemForCommand(id), item) << menuCaption(item);
    }
    EXPECT_EQ(menuItemForCommand(0), std::nullopt);
    EXPECT_EQ(menuItemForCommand(99999), std::nullopt);
}

// --- The resource script must show the same menus, captions, ids and keys. ---

std::filesystem::path sourceRoot() { return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path(); }

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string trim(std::string s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> scriptLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(trim(line));
    return lines;
}

// "caption\tCtrl+N" written in the script's string syntax.
std::string unquote(const std::string& s) {
    const auto open = s.find('"');
    const auto close = s.find('"', open + 1);
    std::string raw = s.substr(open + 1, close - open - 1), out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == 't') {
            out += '\t';
            ++i;
        } else {
            out += raw[i];
        }
    }
    return out;
}

struct ScriptNode {
    std::string label;  // "-" for a separator
    std::string idName;
    std::vector<ScriptNode> children;
};

// Parses POPUP / MENUITEM lines from `pos` up to the END of the current block.
std::vector<ScriptNode> parseBlock(const std::vector<std::string>& lines, std::size_t& pos) {
    std::vector<ScriptNode> nodes;
    while (pos < lines.size()) {
        const std::string& line = lines[pos++];
        if (line == "END") break;
        if (line == "MENUITEM SEPARATOR") {
            nodes.push_back({"-", "", {}});
        } else if (line.rfind("MENUITEM ", 0) == 0) {
            nodes.push_back({unquote(line), trim(line.substr(line.rfind(',') + 1)), {}});
        } else if (line.rfind("POPUP ", 0) == 0) {
            ScriptNode popup{unquote(line), "", {}};
            ++pos;  // BEGIN
            popup.children = parseBlock(lines, pos);
            nodes.push_back(std::move(popup));
        }
    }
    return nodes;
}

std::vector<ScriptNode> scriptMenu(const std::vector<std::string>& lines, const std::string& name) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == name + " MENU") {
            std::size_t pos = i + 2;  // past BEGIN
            return parseBlock(lines, pos);
        }
    }
    ADD_FAILURE() << name << " not found in the resource script";
    return {};
}

std::map<std::string, int> resourceIds() {
    std::map<std::string, int> ids;
    std::istringstream in(readText(sourceRoot() / "src" / "app" / "resource.h"));
    for (std::string word, name, value; in >> word;) {
        if (word == "#define" && in >> name >> value) ids[name] = std::atoi(value.c_str());
    }
    return ids;
}

void expectSameMenu(const std::vector<ScriptNode>& script, const std::vector<M>& model,
                    const std::map<std::string, int>& ids) {
    ASSERT_EQ(script.size(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) {
        const ScriptNode& node = script[i];
        const M item = model[i];
        EXPECT_EQ(node.label, menuLabel(item));
        if (isMenu(item)) {
            expectSameMenu(node.children, menuChildren(item), ids);
        } else if (!isSeparator(item)) {
            const auto id = ids.find(node.idName);
            ASSERT_NE(id, ids.end()) << node.idName;
            EXPECT_EQ(id->second, commandId(item)) << node.label;
        }
    }
}

TEST(MenuModel, ResourceScriptHasTheSameMenus) {
    const auto lines = scriptLines(readText(sourceRoot() / "res" / "kolvialarm.rc"));
    const auto ids = resourceIds();
    expectSameMenu(scriptMenu(lines, "IDR_MAINMENU"), {M::file, M::view, M::alarm, M::help}, ids);
    expectSameMenu(scriptMenu(lines, "IDR_POPUPMENUS"), {M::popup, M::trayPopup}, ids);
}

TEST(MenuModel, ResourceScriptHasTheSameShortcutKeys) {
    const auto lines = scriptLines(readText(sourceRoot() / "res" / "kolvialarm.rc"));
    const auto ids = resourceIds();
    const std::map<std::string, int> virtualKeys{{"VK_F5", 0x74}, {"VK_DELETE", 0x2E}, {"VK_INSERT", 0x2D}};

    std::set<std::tuple<int, int, bool>> script;  // command id, key, ctrl
    bool inTable = false;
    for (const std::string& line : lines) {
        if (!inTable) {
            inTable = line.find(" ACCELERATORS") != std::string::npos;
            continue;
        }
        if (line.empty() || line == "BEGIN") continue;
        if (line == "END") break;
        std::vector<std::string> parts;
        std::istringstream in(line);
        for (std::string part; std::getline(in, part, ',');) parts.push_back(trim(part));
        ASSERT_GE(parts.size(), 3u) << line;
        const int key = parts[0].front() == '"' ? parts[0][1] : virtualKeys.at(parts[0]);
        const bool ctrl = line.find("CONTROL") != std::string::npos;
        EXPECT_EQ(line.find("SHIFT"), std::string::npos) << line;
        EXPECT_EQ(line.find("ALT"), std::string::npos) << line;
        script.insert({ids.at(parts[1]), key, ctrl});
    }

    std::set<std::tuple<int, int, bool>> model;
    for (M item : allMenuItems()) {
        if (const auto shortcut = menuShortcut(item)) model.insert({commandId(item), shortcut->virtualKey, shortcut->ctrl});
    }
    EXPECT_EQ(script, model);
}

}  // namespace
}  // namespace kolvi
