#include "ado/provider_registry.h"

#include <gtest/gtest.h>

#include "ado/connection.h"
#include "expect_error.h"
#include "fake_provider.h"

namespace {

template <typename Action>
void expectProviderNotFound(Action&& action) {
  expectAdoError(3706, action, "Provider cannot be found. It may not be properly installed.");
}

TEST(ProviderRegistryTest, UnknownProviderRaises3706) {
  expectProviderNotFound([] { (void)ado::builtinProviders().create("SQLOLEDB"); });
  expectProviderNotFound([] { (void)ado::builtinProviders().create(""); });
  expectProviderNotFound([] {
    ado::Connection connection;
    connection.open("Provider=Nobody.Home.1;Data Source=x");
  });
}

TEST(ProviderRegistryTest, NamesMatchInAnyLetterCase) {
  auto log = std::make_shared<fake::Log>();
  const auto registry = fake::registryWith("Fake.Provider.1", log);
  EXPECT_NE(registry.create("FAKE.PROVIDER.1"), nullptr);
  EXPECT_NE(registry.create("fake.provider.1"), nullptr);
  expectProviderNotFound([&] { (void)registry.create("Fake.Provider"); });
}

TEST(ProviderRegistryTest, TheOdbcBridgeIsBuiltIn) {
  EXPECT_NE(ado::builtinProviders().create("msdasql"), nullptr);
}

}  // namespace
