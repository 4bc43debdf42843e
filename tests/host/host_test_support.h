// A fresh host and fake backend for every test.
#pragma once

#include "host/platform/fake/fake_platform.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// Puts every piece of host state back to its start value and clears the fake backend.
void reset_host();

// A created window and a resolved GL table, as after start-up.
void create_window_and_table();

class HostTest : public ::testing::Test {
  protected:
    void SetUp() override { reset_host(); }
};

// The lines of a captured text.
std::vector<std::string> lines_of(const std::string& text);
