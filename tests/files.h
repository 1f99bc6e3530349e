// Files the tests compare against, read as they are on disk.
#pragma once

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

// A file's bytes, read in binary; one that cannot be read fails the test
// that asked for it, by name, rather than reading as empty.
inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << "cannot read " << path;
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
