#pragma once
// The fixture of the "Utils" suite, whose tests lie in several files of this folder:
// every test starts with a fresh separator stack.
#include "util/Fields.h"

#include <gtest/gtest.h>

class Utils : public ::testing::Test
{
protected:
    void SetUp() override { UtilsModuleStart(); }
    void TearDown() override { UtilsModuleStop(); }
};
