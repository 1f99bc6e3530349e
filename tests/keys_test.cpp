#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

#include <GL/glut.h>

#include "input/keys.h"
#include "tests/files.h"

namespace {

// The key as the page names it (KeyboardEvent.key).
std::string pageKey(const KeyBinding &k)
{
    const std::map<int, std::string> arrows = {{GLUT_KEY_LEFT, "ArrowLeft"},
                                               {GLUT_KEY_UP, "ArrowUp"},
                                               {GLUT_KEY_RIGHT, "ArrowRight"},
                                               {GLUT_KEY_DOWN, "ArrowDown"}};
    if (k.special)
        return arrows.count(k.code) ? arrows.at(k.code)
                                    : "special " + std::to_string(k.code);
    return k.code == 27 ? "Escape" : std::string(1, static_cast<char>(k.code));
}

// The keys a table of keys lists in the first cells of its rows, each cell
// found between start and end; a held key's with the word for holding after
// it: "Z / X (hold)" lists Z and X, both held.
std::map<std::string, bool> listedKeys(const std::string &text, const std::string &start,
                                       const std::string &end, const std::string &hold)
{
    std::map<std::string, bool> keys;
    for (size_t at = text.find(start); at != std::string::npos;
         at = text.find(start, at + 1)) {
        const size_t from = at + start.size();
        std::string cell = text.substr(from, text.find(end, from) - from);
        const bool held = cell.find(hold) != std::string::npos;
        cell = cell.substr(0, std::min(cell.find(" ("), cell.find(" <")));
        for (size_t key = 0; key <= cell.size();) {
            size_t to = cell.find(" / ", key);
            if (to == std::string::npos)
                to = cell.size();
            keys[cell.substr(key, to - key)] = held;
            key = to + 3;
        }
    }
    return keys;
}

// The value of an attribute in an HTML tag.
std::string attribute(const std::string &tag, const std::string &name)
{
    const size_t at = tag.find(" " + name + "=\"");
    if (at == std::string::npos)
        return "";
    const size_t from = at + name.size() + 3;
    return tag.substr(from, tag.find('"', from) - from);
}

// The page's buttons, its key table and the tables in the README and the
// Portuguese summary are written by hand: each must show exactly the
// program's keys, a held key as held, each button's title a text the page
// has in both its languages.
TEST(Keys, PageAndDocsShowTheProgramsKeys)
{
    const std::string page = readFile(TANK_SOURCE_DIR "/web/index.html");
    const std::string words = readFile(TANK_SOURCE_DIR "/web/words.js");
    ASSERT_FALSE(page.empty() || words.empty())
        << "web/index.html or web/words.js is missing";

    std::set<std::string> buttons, want;
    const std::string button = "<button type=\"button\" data-key=";
    for (size_t at = page.find(button); at != std::string::npos;
         at = page.find(button, at + 1)) {
        const size_t close = page.find('>', at);
        const std::string tag = page.substr(at, close - at);
        const std::string text =
            page.substr(close + 1, page.find("</button>", close) - close - 1);
        buttons.insert(attribute(tag, "data-key") + " " + attribute(tag, "data-title") +
                       " " + text);
    }
    std::map<std::string, bool> keys;
    for (int i = 0; i < keyBindingCount; ++i) {
        const KeyBinding &k = keyBindings[i];
        want.insert(pageKey(k) + " " + k.title + " " + k.button);
        keys[k.button] = k.held != nullptr;
        const std::string title = std::string("\n    ") + k.title + ": ";
        EXPECT_TRUE(words.find(title) != std::string::npos &&
                    words.find(title, words.find(title) + 1) != std::string::npos)
            << "web/words.js lacks the title " << k.title << " in English or Portuguese";
    }
    EXPECT_EQ(buttons, want) << "web/index.html's on-screen keys";

    EXPECT_EQ(listedKeys(page, "<tr><td>", "</td>", "(hold)"), keys)
        << "web/index.html's table of keys";
    std::map<std::string, bool> readme =
        listedKeys(readFile(TANK_SOURCE_DIR "/README.md"), "\n| ", " |", "(hold)");
    readme.erase("key");
    EXPECT_EQ(readme, keys) << "README.md's table of keys";
    std::map<std::string, bool> leiaMe = listedKeys(
        readFile(TANK_SOURCE_DIR "/docs/leia-me.md"), "\n| ", " |", "(manter)");
    leiaMe.erase("tecla");
    EXPECT_EQ(leiaMe, keys) << "docs/leia-me.md's table of keys";
}

}  // namespace
