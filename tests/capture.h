// Captures what a piece of code prints on standard output.
#pragma once

#include <gtest/gtest.h>
#include <string>

template <typename F> std::string captureStdout(F &&f)
{
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();  // flushes stdout first
}
