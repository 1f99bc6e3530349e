#include "gl/common/parts.h"

void startParts(PartsSeen &seen)
{
    seen.parts.clear();
    seen.open.assign(1, -1);
}

void partsPushed(PartsSeen &seen)
{
    seen.open.push_back(seen.open.back());
}

void partsPopped(PartsSeen &seen)
{
    if (seen.open.size() > 1)
        seen.open.pop_back();
}

// A name as one word: "turret frame" is turretFrame; a name given twice in
// a frame gets a number.
static std::string idOf(const PartsSeen &seen, const char *name)
{
    std::string id;
    bool wordStarts = false;
    for (const char *c = name; *c; ++c) {
        const bool lower = *c >= 'a' && *c <= 'z';
        const bool letter = lower || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
        if (!letter) {
            wordStarts = !id.empty();
            continue;
        }
        id += wordStarts && lower ? static_cast<char>(*c - 'a' + 'A') : *c;
        wordStarts = false;
    }
    if (id.empty())
        id = "part";
    const std::string base = id;
    for (int n = 2;; ++n) {
        bool taken = false;
        for (const NamedPart &part : seen.parts)
            taken = taken || part.id == id;
        if (!taken)
            return id;
        id = base + std::to_string(n);
    }
}

int partNamed(PartsSeen &seen, const char *name)
{
    seen.parts.push_back(NamedPart{name, idOf(seen, name), seen.open.back()});
    seen.open.back() = static_cast<int>(seen.parts.size() - 1);
    return seen.open.back();
}

int partNow(const PartsSeen &seen)
{
    return seen.open.back();
}

bool partIsUnder(const PartsSeen &seen, int part, int ancestor)
{
    for (int at = part; at >= 0; at = seen.parts[static_cast<size_t>(at)].parent)
        if (at == ancestor)
            return true;
    return false;
}
