// Two copies of the program on one database file: real processes at once.
#include "tests/support/Reliability.h"

#include <gtest/gtest.h>

using namespace plavex;

TEST(TwoCopies, ParallelAddsNeverShareAKey)
{
    test::CliCompany c;
    test::expectParallelAddsNeverShareAKey(c);
}

TEST(TwoCopies, ClosingBesideAddsLeavesNobodyBehind)
{
    test::CliCompany c;
    test::expectClosingBesideAddsLeavesNobodyBehind(c);
}
