#pragma once

#include "common/KelException.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// Runs action and expects it to raise the engine's error with exactly this message.
inline void ExpectFailure(const std::function<void()>& action, const std::string& message)
{
    try {
        action();
        ADD_FAILURE() << "no failure, expected " << message;
    } catch (const VX8Exception& e) {
        EXPECT_EQ(e.what(), message);
    }
}
