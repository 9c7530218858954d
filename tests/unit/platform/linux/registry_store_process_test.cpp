// Several programs on one store: a writer killed at any moment, and writers side by side.
#include <gtest/gtest.h>

#include "unit/test_support/registry_values.h"
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/registry_file_format.h"
#include "platform/linux/registry_store.h"
#include "platform/registry.h"
#include "temporary_config_home.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kKeyPath = "HKEY_CURRENT_USER\\Software\\Test";

RegistryValue DWord(std::uint32_t number)
{
    return RegistryValue{regtype::DWord,
                         {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

std::uint32_t ReadDWord(const RegistryDocumentKey* key, std::string_view name)
{
    const auto* value = key ? key->FindValue(name) : nullptr;
    if (!value || value->data.size() != 4) return 0;
    const auto& d = value->data;
    return d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

// Runs body in a child process that leaves through _exit, never through the test framework.
template <typename Body>
pid_t Spawn(Body body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(30); // an orphan must not outlive a crashed test run
        ::_exit(body());
    }
    return pid;
}

int ExitCode(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

constexpr int kGenerationValues = 40;

std::string GenerationText(std::uint32_t generation, int index)
{
    std::string text;
    while (text.size() < 2000) text += "generation " + std::to_string(generation) + " value " + std::to_string(index) + ";";
    return text;
}

// One transaction that rewrites every value for the next generation.
StoreEdit NextGeneration(RegistryDocument& document)
{
    auto& key = document.EnsureKey(kKeyPath);
    const std::uint32_t generation = ReadDWord(&key, "Generation") + 1;
    for (int i = 0; i < kGenerationValues; ++i) key.SetValue("V" + std::to_string(i), Text(GenerationText(generation, i)));
    key.SetValue("Generation", DWord(generation));
    return StoreEdit::Changed;
}

} // namespace

class RegistryStoreProcesses : public TemporaryConfigHome {};

TEST_F(RegistryStoreProcesses, AWriterKilledAtAnyMomentLeavesAWholeFile)
{
    ASSERT_TRUE(EditRegistryStore([](RegistryDocument& document) {
        document.EnsureKey("HKEY_CURRENT_USER\\Unrelated").SetValue("Keep", Text("me"));
        return StoreEdit::Changed;
    }));

    std::uint32_t lastGeneration = 0;
    int leftovers = 0;
    for (int round = 0; round < 24; ++round) {
        const pid_t child = Spawn([] {
            for (;;) {
                if (!EditRegistryStore(NextGeneration)) return 1;
            }
        });
        ASSERT_GT(child, 0);
        // Mostly short lives, to land inside a write; the last rounds live long enough to get
        // generations through on a loaded machine too.
        ::usleep(static_cast<useconds_t>(round < 20 ? 300 + (round * 1733) % 9000 : 250000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const RegistryParseResult parsed = ParseRegistryFile(ReadText(StoreFile()));
        ASSERT_FALSE(parsed.error) << "round " << round << ": " << parsed.error->Describe();
        const auto* key = parsed.document.FindKey(kKeyPath);
        const std::uint32_t generation = ReadDWord(key, "Generation");
        EXPECT_GE(generation, lastGeneration) << "round " << round;
        lastGeneration = generation;
        if (generation > 0) {
            for (int i = 0; i < kGenerationValues; ++i) {
                const auto* value = key->FindValue("V" + std::to_string(i));
                ASSERT_TRUE(value) << "round " << round;
                EXPECT_EQ(value->data, Text(GenerationText(generation, i)).data) << "round " << round;
            }
        }
        ASSERT_TRUE(parsed.document.FindKey("HKEY_CURRENT_USER\\Unrelated")) << "round " << round;
        for (const auto& entry : fs::directory_iterator(StoreDirectory())) {
            leftovers += entry.path().filename().string().starts_with("registry.reg.tmp-");
        }
    }
    EXPECT_GT(lastGeneration, 0u) << "the writers never got a generation through";
    RecordProperty("generations", static_cast<int>(lastGeneration));
    RecordProperty("killed_mid_write", leftovers);

    // The next writer clears what the killed ones left half-written.
    ASSERT_TRUE(EditRegistryStore(NextGeneration));
    for (const auto& entry : fs::directory_iterator(StoreDirectory())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("registry.reg.tmp-")) << entry.path();
    }
}

TEST_F(RegistryStoreProcesses, TwoWritersAtOnceKeepEachOthersWrites)
{
    constexpr int kWrites = 25;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    auto writer = [&](char prefix) {
        return Spawn([&, prefix] {
            ::close(start[1]);
            char ignored;
            if (::read(start[0], &ignored, 1) < 0) return 2; // both start when the pipe closes
            auto key = RegistryKey::Open(RegistryRoot::CurrentUser, "Software\\Test", true);
            if (!key) return 3;
            for (int i = 0; i < kWrites; ++i) {
                if (!key->SetValue(prefix + std::to_string(i), Text(std::string(300, prefix)))) return 4;
                const bool counted = EditRegistryStore([](RegistryDocument& document) {
                                         auto& shared = document.EnsureKey(kKeyPath);
                                         shared.SetValue("Counter", DWord(ReadDWord(&shared, "Counter") + 1));
                                         return StoreEdit::Changed;
                                     }).has_value();
                if (!counted) return 5;
            }
            return 0;
        });
    };
    const pid_t first = writer('A');
    const pid_t second = writer('B');
    ::close(start[0]);
    ::close(start[1]);
    EXPECT_EQ(ExitCode(first), 0);
    EXPECT_EQ(ExitCode(second), 0);

    const auto document = LoadRegistryStore();
    ASSERT_TRUE(document);
    const auto* key = document->FindKey(kKeyPath);
    ASSERT_TRUE(key);
    EXPECT_EQ(ReadDWord(key, "Counter"), 2u * kWrites);
    for (const char prefix : {'A', 'B'}) {
        for (int i = 0; i < kWrites; ++i) {
            const auto* value = key->FindValue(prefix + std::to_string(i));
            ASSERT_TRUE(value) << prefix << i;
            EXPECT_EQ(value->data, Text(std::string(300, prefix)).data);
        }
    }
}
