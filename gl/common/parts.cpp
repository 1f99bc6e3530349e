#include "gl/common/parts.h"

#include <cstdio>
#include <cstring>

void startParts(PartsSeen &seen)
{
    seen.parts.count = 0;
    seen.open[0] = -1;
    seen.depth = 1;
}

void partsPushed(PartsSeen &seen)
{
    if (seen.depth >= matrixStackDepth)
        return;
    seen.open[seen.depth] = seen.open[seen.depth - 1];
    ++seen.depth;
}

void partsPopped(PartsSeen &seen)
{
    if (seen.depth > 1)
        --seen.depth;
}

static bool idTaken(const PartsSeen &seen, const char *id)
{
    for (const NamedPart &part : seen.parts)
        if (strcmp(part.id, id) == 0)
            return true;
    return false;
}

// A name as one word: "turret frame" is turretFrame; a name given twice in
// a frame gets a number.
static void writeId(const PartsSeen &seen, const char *name, NamedPart &part)
{
    const size_t room = sizeof part.id - 8;  // for a number after it
    size_t length = 0;
    bool wordStarts = false;
    for (const char *c = name; *c && length < room; ++c) {
        const bool lower = *c >= 'a' && *c <= 'z';
        const bool letter = lower || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
        if (!letter) {
            wordStarts = length > 0;
            continue;
        }
        part.id[length++] = wordStarts && lower ? static_cast<char>(*c - 'a' + 'A') : *c;
        wordStarts = false;
    }
    if (length == 0)
        length = static_cast<size_t>(snprintf(part.id, room, "part"));
    part.id[length] = '\0';
    for (int n = 2; idTaken(seen, part.id); ++n)
        snprintf(part.id + length, sizeof part.id - length, "%d", n);
}

int partNamed(PartsSeen &seen, const char *name)
{
    NamedPart part{name, {}, seen.open[seen.depth - 1]};
    writeId(seen, name, part);
    added(seen.parts) = part;
    seen.open[seen.depth - 1] = static_cast<int>(seen.parts.size() - 1);
    return seen.open[seen.depth - 1];
}

int partNow(const PartsSeen &seen)
{
    return seen.open[seen.depth - 1];
}

bool partIsUnder(const PartsSeen &seen, int part, int ancestor)
{
    for (int at = part; at >= 0; at = seen.parts[static_cast<size_t>(at)].parent)
        if (at == ancestor)
            return true;
    return false;
}
