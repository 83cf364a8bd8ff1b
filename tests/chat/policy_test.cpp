#include <gtest/gtest.h>

#include "chat/skype.h"
#include "fake_platform/fake_registry.h"

namespace {

using Bytes = FakeRegistry::Bytes;

struct PolicyCase {
  const char* name;
  Bytes stored;
  bool disabled;
};

class PolicyValueTest : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(PolicyValueTest, OnlyTheLittleEndianIntegerOneDisables) {
  FakeRegistry registry;
  registry.policy[Hive::LocalMachine] = GetParam().stored;
  registry.policy[Hive::CurrentUser] = GetParam().stored;
  EXPECT_EQ(IsSkypeApiDisabledAllUsers(registry), GetParam().disabled);
  EXPECT_EQ(IsSkypeApiDisabledCurrentUser(registry), GetParam().disabled);
}

INSTANTIATE_TEST_SUITE_P(StoredBytes, PolicyValueTest,
                         ::testing::Values(PolicyCase{"DwordOne", {1, 0, 0, 0}, true},
                                           PolicyCase{"DwordZero", {0, 0, 0, 0}, false},
                                           PolicyCase{"DwordTwo", {2, 0, 0, 0}, false},
                                           PolicyCase{
                                               "DwordMinusOne", {0xFF, 0xFF, 0xFF, 0xFF}, false},
                                           PolicyCase{"HighByteSetToo", {1, 0, 0, 1}, false},
                                           PolicyCase{"BigEndianOne", {0, 0, 0, 1}, false},
                                           PolicyCase{"StringOneAsUtf16", {'1', 0, 0, 0}, false},
                                           PolicyCase{"SingleByteOne", {1}, true},
                                           PolicyCase{"QwordOne", {1, 0, 0, 0, 0, 0, 0, 0}, false},
                                           PolicyCase{"Empty", {}, false}),
                         [](const auto& testCase) { return testCase.param.name; });

// The fake answers only at the policy's fixed key and value, so a read elsewhere finds nothing.
TEST(PolicyTest, EachProcedureReadsItsOwnHiveAtTheFixedPlace) {
  FakeRegistry registry;
  registry.policy[Hive::CurrentUser] = Bytes{1, 0, 0, 0};
  EXPECT_FALSE(IsSkypeApiDisabledAllUsers(registry));
  EXPECT_TRUE(IsSkypeApiDisabledCurrentUser(registry));

  registry.policy = {{Hive::LocalMachine, Bytes{1, 0, 0, 0}}};
  EXPECT_TRUE(IsSkypeApiDisabledAllUsers(registry));
  EXPECT_FALSE(IsSkypeApiDisabledCurrentUser(registry));
}

TEST(PolicyTest, AFailedQueryIsNotDisabledWhateverTheBufferHolds) {
  FakeRegistry registry;
  registry.policy[Hive::LocalMachine] = Bytes{1, 0, 0, 0};
  registry.queryFails = true;
  EXPECT_FALSE(IsSkypeApiDisabledAllUsers(registry));
}

}  // namespace
