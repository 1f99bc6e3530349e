// Reading and writing 8-bit RGB PNG files, for the reference frames.
#pragma once

#include <string>
#include <vector>

// An RGB image, rows from the top, three bytes a pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// Loads a PNG of any colour type as 8-bit RGB. On failure returns false and
// says why in error.
bool readPng(const std::string &path, Image &image, std::string &error);

// Writes image as an 8-bit RGB PNG. On failure returns false and says why.
bool writePng(const std::string &path, const Image &image, std::string &error);
