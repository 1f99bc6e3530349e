#include <gtest/gtest.h>

#include "app/help.h"
#include "capture.h"
#include "help_expected.h"

// The help is compared byte for byte: the blanks before some newlines, the
// shortened "righ" and the two Latin-1 bytes are what users see and check.
TEST(Help, PrintsTheKeyHelpByteForByte)
{
    // tests/golden/help.txt, the one copy the tests keep, compiled in.
    const std::string expected(helpExpected, sizeof helpExpected - 1);
    std::string out = captureStdout([] { printHelp(); });
    EXPECT_EQ(out, expected);

    // Exactly two bytes above 127, both single Latin-1 bytes (not UTF-8).
    int high = 0;
    for (char c : out)
        high += static_cast<unsigned char>(c) > 127;
    EXPECT_EQ(high, 2);
    EXPECT_NE(out.find("projec\xE7\xE3o"), std::string::npos);
}
