#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <ostream>
#include <string>

// Rows of the feed tests' tables carry their own name: the test's name, and what a failure prints.
template <typename Row>
concept NamedRow = requires(const Row &row)
{
    {
        row.name
        } -> std::convertible_to<const char *>;
};

template <NamedRow Row> std::string rowName(const testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

template <NamedRow Row> void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}
