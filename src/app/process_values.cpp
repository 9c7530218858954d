#include "app/process_values.h"

#include "platform/program_file.h"

namespace {
// Reserved example names, so no stranger's site or mailbox is ever reached.
constexpr const char* kSiteAddress = "https://tovelin.example";
constexpr const char* kProductTag = "tovelin_saver";
} // namespace

const std::string HelpFilePath = ExtractFilePath(ProgramFilePath()) + "help.chm";
std::string HomePageAddress = std::string(kSiteAddress) + "/?come_from=";
const std::string SupportAddress = "support@tovelin.example";

void CompleteHomePageAddress()
{
    if (HomePageAddress.ends_with("=")) HomePageAddress += kProductTag;
}
