// Captures what a piece of code prints on standard output, byte for byte.
// Standard output is sent to a file opened as a shell opens one, set up as
// the program sets it up at start, and the file is read back in binary: a
// carriage return the C library adds before each newline (text mode, on
// Windows) or a byte it changes shows, where a text-mode read would hide it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/platform.h"

template <typename F> std::string captureStdout(F &&f)
{
    // One file per process: ctest runs test processes side by side.
    const std::string path =
        testing::TempDir() + "tank-stdout-" + std::to_string(getpid()) + ".txt";
    fflush(stdout);
    const int saved = dup(fileno(stdout));
    if (saved < 0 || !freopen(path.c_str(), "w", stdout)) {
        ADD_FAILURE() << "cannot send standard output to " << path;
        return {};
    }
    platformInit();
    f();
    fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    clearerr(stdout);
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)),
                      std::istreambuf_iterator<char>());
    in.close();
    remove(path.c_str());
    return bytes;
}

#include "app/state.h"

// A model posed by its fields' names, any other field at zero, so that the
// tests go on building when a student adds a field to the model.
inline TankModel posedModel(float x, float y, float speed, float heading,
                            float wheelAngle, float turretAngle, float cannonAngle)
{
    TankModel m{};
    m.x = x;
    m.y = y;
    m.speed = speed;
    m.heading = heading;
    m.wheelAngle = wheelAngle;
    m.turretAngle = turretAngle;
    m.cannonAngle = cannonAngle;
    return m;
}
