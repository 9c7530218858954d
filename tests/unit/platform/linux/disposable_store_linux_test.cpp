// The tests' removals edit the settings store only below the temporary directory, never in a
// user's own configuration.
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "unit/platform/linux/temporary_config_home.h"
#include "unit/test_support/registry_removal.h"

namespace {

using DisposableStore = TemporaryConfigHome;

TEST_F(DisposableStore, OutsideTheTemporaryDirectoryTheRemovalsRefuse)
{
    EXPECT_NO_THROW(DeleteRegistryKey("Software\\Test")) << "the fixture's own store is disposable";
    const std::filesystem::path elsewhere = "/tovelin-not-a-test-store-" + std::to_string(::getpid());
    UseConfigHome(elsewhere);
    EXPECT_THROW(DeleteRegistryKey("Software\\Test"), std::runtime_error);
    EXPECT_THROW(DeleteRegistryValue("Software\\Test", "Name"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(elsewhere));
    std::error_code ignored;
    std::filesystem::remove_all(elsewhere, ignored); // what a removal that did not refuse made
}

} // namespace
