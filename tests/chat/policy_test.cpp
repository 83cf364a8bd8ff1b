#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "chat/skype.h"

namespace {

// One policy value per hive, as raw bytes of any type; reads behave as a 4-byte query does.
class FakeRegistry final : public Registry {
 public:
  std::optional<std::vector<std::uint8_t>> machine;
  std::optional<std::vector<std::uint8_t>> user;
  bool queryFails = false;
  mutable std::vector<std::wstring> reads;

  bool ReadValue(Hive hive, const wchar_t* key, const wchar_t* value,
                 std::array<std::uint8_t, 4>& buffer) const override {
    reads.push_back(std::wstring(hive == Hive::LocalMachine ? L"HKLM\\" : L"HKCU\\") + key + L" " +
                    value);
    const auto& stored = hive == Hive::LocalMachine ? machine : user;
    buffer.fill(0);
    if (!stored) return false;
    std::copy_n(stored->begin(), std::min<std::size_t>(stored->size(), 4), buffer.begin());
    // A failed query may still leave bytes behind.
    return !queryFails && stored->size() <= 4;
  }
};

using Bytes = std::vector<std::uint8_t>;

struct PolicyCase {
  const char* name;
  Bytes stored;
  bool disabled;
};

class PolicyValueTest : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(PolicyValueTest, OnlyTheLittleEndianIntegerOneDisables) {
  FakeRegistry registry;
  registry.machine = GetParam().stored;
  registry.user = GetParam().stored;
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

TEST(PolicyTest, EachProcedureReadsItsOwnHiveAtTheFixedPlace) {
  FakeRegistry registry;
  registry.user = Bytes{1, 0, 0, 0};
  EXPECT_FALSE(IsSkypeApiDisabledAllUsers(registry));
  EXPECT_TRUE(IsSkypeApiDisabledCurrentUser(registry));
  EXPECT_EQ(registry.reads,
            (std::vector<std::wstring>{L"HKLM\\SOFTWARE\\Policies\\Skype\\Phone DisableApi",
                                       L"HKCU\\SOFTWARE\\Policies\\Skype\\Phone DisableApi"}));
}

TEST(PolicyTest, AFailedQueryIsNotDisabledWhateverTheBufferHolds) {
  FakeRegistry registry;
  registry.machine = Bytes{1, 0, 0, 0};
  registry.queryFails = true;
  EXPECT_FALSE(IsSkypeApiDisabledAllUsers(registry));
}

}  // namespace
