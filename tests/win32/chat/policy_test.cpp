#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "chat/skype.h"
#include "win32/handles.h"
#include "win32/registry.h"

namespace {

constexpr wchar_t kOwnedKey[] = L"SOFTWARE\\Policies\\Skype";
constexpr wchar_t kPolicyKey[] = L"SOFTWARE\\Policies\\Skype\\Phone";

struct StoredValue {
  const char* name;
  DWORD type;
  std::vector<BYTE> data;
  bool disabled;
};

// The policy values as written into this prefix's registry; removed again after each test.
class PolicyRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { RemovePolicies(); }
  void TearDown() override { RemovePolicies(); }

  static void RemovePolicies() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) ::RegDeleteTreeW(root, kOwnedKey);
  }
  static void Store(HKEY root, const StoredValue& value) {
    ASSERT_EQ(::RegSetKeyValueW(root, kPolicyKey, L"DisableApi", value.type, value.data.data(),
                                static_cast<DWORD>(value.data.size())),
              ERROR_SUCCESS);
  }

  Win32Registry registry;
};

const StoredValue kDwordOne{"DwordOne", REG_DWORD, {1, 0, 0, 0}, true};

class PolicyValueTest : public PolicyRegistryTest,
                        public ::testing::WithParamInterface<StoredValue> {};

TEST_P(PolicyValueTest, GivesTheVerdictInEachHiveAlone) {
  Store(HKEY_LOCAL_MACHINE, GetParam());
  EXPECT_EQ(IsSkypeApiDisabledAllUsers(registry), GetParam().disabled);
  EXPECT_FALSE(IsSkypeApiDisabledCurrentUser(registry));
  RemovePolicies();
  Store(HKEY_CURRENT_USER, GetParam());
  EXPECT_FALSE(IsSkypeApiDisabledAllUsers(registry));
  EXPECT_EQ(IsSkypeApiDisabledCurrentUser(registry), GetParam().disabled);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PolicyValueTest,
    ::testing::Values(kDwordOne, StoredValue{"DwordZero", REG_DWORD, {0, 0, 0, 0}, false},
                      StoredValue{"DwordTwo", REG_DWORD, {2, 0, 0, 0}, false},
                      StoredValue{"DwordMinusOne", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, false},
                      // L"1" with its terminator: the bytes 31 00 00 00.
                      StoredValue{"StringOne", REG_SZ, {'1', 0, 0, 0}, false},
                      StoredValue{"OneByteOne", REG_BINARY, {1}, true},
                      StoredValue{"QwordOne", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, false}),
    [](const auto& testCase) { return testCase.param.name; });

TEST_F(PolicyRegistryTest, AMissingKeyIsNotDisabled) {
  EXPECT_FALSE(IsSkypeApiDisabledAllUsers(registry));
  EXPECT_FALSE(IsSkypeApiDisabledCurrentUser(registry));
}

TEST_F(PolicyRegistryTest, AKeyWithoutTheValueIsNotDisabled) {
  UniqueHkey created;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPolicyKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              created.put(), nullptr),
            ERROR_SUCCESS);
  EXPECT_FALSE(IsSkypeApiDisabledAllUsers(registry));
}

TEST_F(PolicyRegistryTest, BothHivesSetGiveBothVerdicts) {
  Store(HKEY_LOCAL_MACHINE, kDwordOne);
  Store(HKEY_CURRENT_USER, kDwordOne);
  EXPECT_TRUE(IsSkypeApiDisabledAllUsers(registry));
  EXPECT_TRUE(IsSkypeApiDisabledCurrentUser(registry));
}

}  // namespace
