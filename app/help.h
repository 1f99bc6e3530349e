#pragma once

// Prints the key help on standard output (at start-up and on the H key).
void printHelp();
