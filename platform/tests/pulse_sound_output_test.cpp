#include "platform/pulse_sound_output.hpp"
#include "test_waves.hpp"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <pulse/simple.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A fresh empty folder under the system's temporary folder.
fs::path MakeTempDir(const std::string& sPrefix) {
    std::string sTemplate = (fs::temp_directory_path() / (sPrefix + "XXXXXX")).string();
    if (mkdtemp(sTemplate.data()) == nullptr) {
        return {};
    }
    return sTemplate;
}

std::optional<fs::path> FindProgram(const std::string& sName) {
    const char* sPath = std::getenv("PATH");
    std::string sDirs = sPath == nullptr ? "/usr/bin:/bin" : sPath;
    std::size_t nStart = 0;
    while (nStart <= sDirs.size()) {
        const std::size_t nEnd = std::min(sDirs.find(':', nStart), sDirs.size());
        const fs::path candidate = fs::path(sDirs.substr(nStart, nEnd - nStart)) / sName;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        nStart = nEnd + 1;
    }
    return std::nullopt;
}

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
public:
    void Set(const char* sName, const std::string& sValue) {
        Remember(sName);
        setenv(sName, sValue.c_str(), 1);
    }
    void Unset(const char* sName) {
        Remember(sName);
        unsetenv(sName);
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                unsetenv(it->first.c_str());
            }
        }
    }

private:
    void Remember(const char* sName) {
        const char* sOld = std::getenv(sName);
        saved_.emplace_back(sName, sOld ? std::optional<std::string>(sOld) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(PulseSoundOutput, BadDataIsRefusedWithoutTouchingTheServer) {
    PulseSoundOutput output("unix:/nonexistent/corvane/native");
    const std::vector<std::uint8_t> garbage(100, 0x55);
    EXPECT_FALSE(output.PlayWave(garbage.data(), garbage.size()));
    EXPECT_FALSE(output.PlayWave(nullptr, 0));
}

TEST(PulseSoundOutput, WithNoServerReturnsFalseAtOnce) {
    const std::vector<std::uint8_t> wave = test::SineWave(440.0, 0.5, 22050);
    const fs::path empty = MakeTempDir("corvane-nosound-");
    ASSERT_FALSE(empty.empty());

    // A named server that is not there.
    PulseSoundOutput named((empty / "native").string().insert(0, "unix:"));
    auto start = Clock::now();
    EXPECT_FALSE(named.PlayWave(wave.data(), wave.size()));
    EXPECT_LT(SecondsSince(start), 1.0);

    // The usual server, with every place it could be empty: the client library
    // must not be left to start a server of its own.
    {
        ScopedEnv env;
        env.Unset("PULSE_SERVER");
        env.Set("PULSE_RUNTIME_PATH", (empty / "pulse").string());
        env.Set("XDG_RUNTIME_DIR", empty.string());
        if (fs::exists("/run/pulse/native") || fs::exists("/var/run/pulse/native")) {
            GTEST_SKIP() << "a system-wide sound server is running on this machine";
        }
        EXPECT_FALSE(PulseSoundOutput::DefaultServer().has_value());
        PulseSoundOutput usual;
        start = Clock::now();
        EXPECT_FALSE(usual.PlayWave(wave.data(), wave.size()));
        EXPECT_LT(SecondsSince(start), 1.0);
    }
    fs::remove_all(empty);
}

TEST(PulseSoundOutput, DefaultServerNamesExistingSocketsOrDefersToPulseServer) {
    ScopedEnv env;
    env.Set("PULSE_SERVER", "unix:/somewhere/native");
    EXPECT_EQ(PulseSoundOutput::DefaultServer(), std::string{});
}

// A private sound server with a silent sink whose monitor the test records.
class PrivateSoundServer {
public:
    bool Start(const fs::path& program) {
        dir_ = MakeTempDir("corvane-pulse-");
        if (dir_.empty()) {
            return false;
        }
        fs::create_directories(dir_ / "runtime");
        fs::create_directories(dir_ / "home");
        socket_ = dir_ / "runtime" / "native";

        std::vector<std::string> args = {
            program.string(),
            "--daemonize=no",
            "-n",
            "--exit-idle-time=-1",
            "--disable-shm=yes",
            "--load=module-null-sink sink_name=corvane_test rate=22050 channels=1",
            "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket_.string(),
            "--log-level=error"};
        std::vector<std::string> env = {
            "HOME=" + (dir_ / "home").string(), "XDG_CONFIG_HOME=" + (dir_ / "home").string(),
            "XDG_RUNTIME_DIR=" + (dir_ / "runtime").string(),
            "PULSE_RUNTIME_PATH=" + (dir_ / "runtime").string(), "PATH=/usr/bin:/bin"};
        std::vector<char*> argv;
        for (auto& s : args) {
            argv.push_back(s.data());
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& s : env) {
            envp.push_back(s.data());
        }
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, args[0].c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = 0;
            return false;
        }
        // Ready when its socket accepts a client.
        const auto start = Clock::now();
        while (SecondsSince(start) < 15.0) {
            if (fs::exists(socket_) && CanConnect()) {
                return true;
            }
            int nStatus = 0;
            if (waitpid(pid_, &nStatus, WNOHANG) == pid_) {
                pid_ = 0;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    std::string Server() const { return "unix:" + socket_.string(); }

    ~PrivateSoundServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int nStatus = 0;
            waitpid(pid_, &nStatus, 0);
        }
        if (!dir_.empty()) {
            std::error_code error;
            fs::remove_all(dir_, error);
        }
    }

private:
    bool CanConnect() const {
        const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, 22050, 1};
        int nError = 0;
        pa_simple* p =
            pa_simple_new(Server().c_str(), "probe", PA_STREAM_RECORD, "corvane_test.monitor",
                          "probe", &sampleFormat, nullptr, nullptr, &nError);
        if (p == nullptr) {
            return false;
        }
        pa_simple_free(p);
        return true;
    }

    fs::path dir_;
    fs::path socket_;
    pid_t pid_ = 0;
};

// The loudest sample recorded from the private sink's monitor during nSeconds.
std::optional<int> RecordPeak(const std::string& sServer, double dSeconds,
                              std::atomic<bool>& bRecording) {
    const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, 22050, 1};
    int nError = 0;
    pa_simple* p =
        pa_simple_new(sServer.c_str(), "recorder", PA_STREAM_RECORD, "corvane_test.monitor",
                      "record", &sampleFormat, nullptr, nullptr, &nError);
    if (p == nullptr) {
        bRecording = true;
        return std::nullopt;
    }
    bRecording = true;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(dSeconds * 22050));
    const int nRead = pa_simple_read(p, samples.data(), samples.size() * 2, &nError);
    pa_simple_free(p);
    if (nRead < 0) {
        return std::nullopt;
    }
    int nPeak = 0;
    for (const std::int16_t s : samples) {
        nPeak = std::max(nPeak, std::abs(static_cast<int>(s)));
    }
    return nPeak;
}

TEST(PulseSoundOutput, PlaysThroughARealSoundServer) {
    const std::optional<fs::path> program = FindProgram("pulseaudio");
    if (!program) {
        GTEST_SKIP() << "pulseaudio is not installed, so there is no private sound server to "
                        "play into (install the pulseaudio package to run this test)";
    }
    PrivateSoundServer server;
    ASSERT_TRUE(server.Start(*program)) << "the private pulseaudio did not start";
    PulseSoundOutput output(server.Server());

    // Silence first, so a signal later is ours.
    std::atomic<bool> bRecording = false;
    const std::optional<int> quiet = RecordPeak(server.Server(), 0.3, bRecording);
    ASSERT_TRUE(quiet);
    EXPECT_LT(*quiet, 100);

    bRecording = false;
    std::optional<int> peak;
    std::thread recorder([&] { peak = RecordPeak(server.Server(), 1.2, bRecording); });
    while (!bRecording) {
        std::this_thread::yield();
    }
    const std::vector<std::uint8_t> wave = test::SineWave(660.0, 0.4, 22050, 0.5);
    const auto start = Clock::now();
    EXPECT_TRUE(output.PlayWave(wave.data(), wave.size()));
    EXPECT_GE(SecondsSince(start), 0.35) << "returns only when the sound has been played";
    recorder.join();
    ASSERT_TRUE(peak);
    EXPECT_GT(*peak, 4000) << "the tone reached the sink";
}

TEST(PulseSoundOutput, SeveralThreadsMayPlayAtOnce) {
    const std::optional<fs::path> program = FindProgram("pulseaudio");
    if (!program) {
        GTEST_SKIP() << "pulseaudio is not installed (install the pulseaudio package to run "
                        "this test)";
    }
    PrivateSoundServer server;
    ASSERT_TRUE(server.Start(*program));
    PulseSoundOutput output(server.Server());
    const std::vector<std::uint8_t> wave = test::SineWave(440.0, 0.2, 22050);
    std::atomic<int> nPlayed = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 3; ++i) {
        threads.emplace_back([&] {
            if (output.PlayWave(wave.data(), wave.size())) {
                ++nPlayed;
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ(nPlayed, 3);
}

} // namespace
} // namespace corvane
