#include <gtest/gtest.h>

#include "app/help.h"
#include "capture.h"

// The help is compared byte for byte: the blanks before some newlines, the
// shortened "righ" and the two Latin-1 bytes are what users see and check.
TEST(Help, PrintsTheKeyHelpByteForByte)
{
    const std::string expected =
        "\n\nDesenho de um quadrado\n"
        "h,H - Ajuda \n"
        "z,Z - Roda torre para a esquerda\n"
        "x,X - Roda torre para a direita\n"
        "q,Q - Levantar canhao\n"
        "a,A - Baixar canhao\n"
        "i,I - Reinicia modelo\n"
        "o,O - Alterna entre projec\xE7\xE3o Ortografica e Perspectiva\n"
        "f,F - Poligono Fill \n"
        "l,L - Poligono Line \n"
        "p,P - Poligono Point \n"
        "up  - Acelera \n"
        "down- Trava \n"
        "left- Vira rodas para a direita\n"
        "righ- Vira rodas para a esquerda\n"
        "ESC - Sair\n";
    std::string out = captureStdout([] { printHelp(); });
    EXPECT_EQ(out, expected);

    // Exactly two bytes above 127, both single Latin-1 bytes (not UTF-8).
    int high = 0;
    for (char c : out)
        high += static_cast<unsigned char>(c) > 127;
    EXPECT_EQ(high, 2);
    EXPECT_NE(out.find("projec\xE7\xE3o"), std::string::npos);
}
