#include "app/help.h"

#include <cstdio>

// The console speaks Latin-1: "projecção" is spelled with the single bytes
// 0xE7 and 0xE3. The trailing blanks are part of the texts people compare.
static const char *const helpLines[] = {
    "\n\nDesenho de um quadrado\n",
    "h,H - Ajuda \n",
    "z,Z - Roda torre para a esquerda\n",
    "x,X - Roda torre para a direita\n",
    "q,Q - Levantar canhao\n",
    "a,A - Baixar canhao\n",
    "i,I - Reinicia modelo\n",
    "o,O - Alterna entre projec\xE7\xE3o Ortografica e Perspectiva\n",
    "f,F - Poligono Fill \n",
    "l,L - Poligono Line \n",
    "p,P - Poligono Point \n",
    "up  - Acelera \n",
    "down- Trava \n",
    "left- Vira rodas para a direita\n",
    "righ- Vira rodas para a esquerda\n",
    "ESC - Sair\n",
};

void printHelp()
{
    for (const char *line : helpLines)
        printf("%s", line);
}
