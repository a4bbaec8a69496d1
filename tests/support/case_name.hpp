// Names each case of a parameterized test after its `name` field.
#ifndef FOLDER2POP_TESTS_CASE_NAME_HPP
#define FOLDER2POP_TESTS_CASE_NAME_HPP

#include <string>

#include <gtest/gtest.h>

template <typename Case>
std::string case_name(const testing::TestParamInfo<Case>& tested)
{
    return std::string(tested.param.name);
}

#endif
