// Sound output: refusals without a server, and sounds played into a private
// sound server with a silent sink whose monitor the tests record.
#include "platform/pulse_sound_output.hpp"
#include "test_waves.hpp"
#include "tests/support/scratch.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <pulse/simple.h>
#include <spawn.h>
#include <sys/wait.h>

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;

// Sets an environment variable, or removes it when sValue is null, until the end
// of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* sName, const char* sValue) : sName_(sName) {
        if (const char* sOld = std::getenv(sName)) {
            old_ = sOld;
        }
        sValue != nullptr ? setenv(sName, sValue, 1) : unsetenv(sName);
    }
    ~ScopedEnv() { old_ ? setenv(sName_, old_->c_str(), 1) : unsetenv(sName_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ScopedEnv(ScopedEnv&&) = delete;
    ScopedEnv& operator=(ScopedEnv&&) = delete;

private:
    const char* sName_;
    std::optional<std::string> old_;
};

TEST(PulseSoundOutput, RefusesBadDataAndPlaysNothingWithoutAServer) {
    const std::vector<std::uint8_t> garbage(100, 0x55);
    const std::vector<std::uint8_t> wave = test::SineWave(440.0, 0.5, 22050);
    EXPECT_FALSE(PulseSoundOutput("unix:/nonexistent/native").PlayWave(garbage.data(), 100));
    EXPECT_FALSE(PulseSoundOutput("unix:/nonexistent/native").PlayWave(wave.data(), wave.size()));
    {
        const ScopedEnv server("PULSE_SERVER", "unix:/somewhere/native");
        EXPECT_EQ(PulseSoundOutput::DefaultServer(), std::string{}); // the library reads it
    }
    // With every place the usual server could be empty, the client library must
    // not be left to start a server of its own.
    const testing::TempDir empty;
    const ScopedEnv server("PULSE_SERVER", nullptr);
    const ScopedEnv runtime("PULSE_RUNTIME_PATH", empty.Path().c_str());
    const ScopedEnv xdg("XDG_RUNTIME_DIR", empty.Path().c_str());
    if (std::filesystem::exists("/run/pulse/native") ||
        std::filesystem::exists("/var/run/pulse/native")) {
        GTEST_SKIP() << "a system-wide sound server is running on this machine";
    }
    EXPECT_FALSE(PulseSoundOutput::DefaultServer());
    EXPECT_FALSE(PulseSoundOutput().PlayWave(wave.data(), wave.size()));
}

// The private sink's monitor, or null while the server is not up.
pa_simple* OpenMonitor(const std::string& sServer) {
    const pa_sample_spec format{PA_SAMPLE_S16LE, 22050, 1};
    return pa_simple_new(sServer.c_str(), "test", PA_STREAM_RECORD, "corvane_test.monitor",
                         "record", &format, nullptr, nullptr, nullptr);
}

// One private sound server for the tests of this program, started by the first.
class PrivateSoundServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        pDir_ = new testing::TempDir;
        const std::string sRuntime = pDir_->Sub("runtime");
        std::vector<std::string> args = {
            "pulseaudio",
            "--daemonize=no",
            "-n",
            "--exit-idle-time=-1",
            "--disable-shm=yes",
            "--log-level=error",
            "--load=module-null-sink sink_name=corvane_test rate=22050 channels=1",
            "--load=module-native-protocol-unix auth-anonymous=1 socket=" + sRuntime + "/native"};
        std::vector<std::string> env = {
            "HOME=" + pDir_->Sub("home"), "XDG_CONFIG_HOME=" + pDir_->Sub("home"),
            "XDG_RUNTIME_DIR=" + sRuntime, "PULSE_RUNTIME_PATH=" + sRuntime, "PATH=/usr/bin:/bin"};
        const auto Pointers = [](std::vector<std::string>& list) {
            std::vector<char*> pointers;
            pointers.reserve(list.size() + 1);
            for (std::string& s : list) {
                pointers.push_back(s.data());
            }
            pointers.push_back(nullptr);
            return pointers;
        };
        if (posix_spawnp(&pid_, "pulseaudio", nullptr, nullptr, Pointers(args).data(),
                         Pointers(env).data()) != 0) {
            pid_ = 0;
            return;
        }
        // Up when its sink's monitor can be recorded; waiting for another process
        // to start has no event to wait on.
        sServer_ = "unix:" + sRuntime + "/native";
        for (int nTries = 0; nTries < 300; ++nTries) {
            if (pa_simple* p = OpenMonitor(sServer_)) {
                pa_simple_free(p);
                return;
            }
            int nStatus = 0;
            if (waitpid(pid_, &nStatus, WNOHANG) == pid_) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        sServer_.clear();
    }

    static void TearDownTestSuite() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        delete pDir_;
    }

    void SetUp() override {
        if (pid_ == 0) {
            GTEST_SKIP() << "pulseaudio is not installed, so there is no private sound server "
                            "(install the pulseaudio package to run this test)";
        }
        ASSERT_FALSE(sServer_.empty()) << "the private pulseaudio did not start";
    }

    // The server outlives each test, so its state is the suite's.
    // NOLINTBEGIN(cppcoreguidelines-avoid-non-const-global-variables)
    static inline testing::TempDir* pDir_ = nullptr;
    static inline pid_t pid_ = 0;
    static inline std::string sServer_;
    // NOLINTEND(cppcoreguidelines-avoid-non-const-global-variables)
};

TEST_F(PrivateSoundServer, TheUsualServerPlaysASoundToTheEnd) {
    std::atomic<bool> bRecording = false;
    int nPeak = -1;
    std::thread recorder([&] {
        pa_simple* p = OpenMonitor(sServer_);
        bRecording = true;
        std::vector<std::int16_t> samples(22050 * 6 / 5);
        if (p != nullptr && pa_simple_read(p, samples.data(), samples.size() * 2, nullptr) >= 0) {
            nPeak = 0;
            for (const std::int16_t s : samples) {
                nPeak = std::max(nPeak, std::abs(int{s}));
            }
        }
        if (p != nullptr) {
            pa_simple_free(p);
        }
    });
    while (!bRecording) {
        std::this_thread::yield();
    }
    // The usual server is found through the runtime folder, as a desktop's is.
    const ScopedEnv server("PULSE_SERVER", nullptr);
    const ScopedEnv runtime("PULSE_RUNTIME_PATH", (pDir_->Path() / "runtime").c_str());
    const std::vector<std::uint8_t> wave = test::SineWave(660.0, 0.4, 22050);
    const auto start = Clock::now();
    EXPECT_TRUE(PulseSoundOutput().PlayWave(wave.data(), wave.size()));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(350)) << "returns when played";
    recorder.join();
    EXPECT_GT(nPeak, 4000) << "the tone reached the sink";
}

TEST_F(PrivateSoundServer, SeveralThreadsMayPlayAtOnce) {
    PulseSoundOutput output(sServer_);
    const std::vector<std::uint8_t> wave = test::SineWave(440.0, 0.2, 22050);
    std::atomic<int> nPlayed = 0;
    std::vector<std::thread> threads;
    threads.reserve(3);
    for (int i = 0; i < 3; ++i) {
        threads.emplace_back([&] { nPlayed += output.PlayWave(wave.data(), wave.size()) ? 1 : 0; });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ(nPlayed, 3);
}

} // namespace
} // namespace corvane
