#include "process/program_run.h"

#include <png.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kSettleBeforeSignal{500};

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> BuildEnvironment(const RunOptions& options) {
    // A clean environment: only what a program needs, so the developer's own OSTREL_* settings
    // never leak into a test.
    std::map<std::string, std::string> environment;
    for (const char* name : {"PATH", "HOME", "LANG", "TMPDIR"}) {
        if (const char* value = std::getenv(name)) {
            environment[name] = value;
        }
    }
    environment["OSTREL_HOST"] = "headless";
    for (const auto& [name, value] : options.environment) {
        environment[name] = value;
    }
    for (const std::string& name : options.unset) {
        environment.erase(name);
    }
    std::vector<std::string> entries;
    for (const auto& [name, value] : environment) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

bool LoopIsRunning(const std::filesystem::path& logPath) {
    for (const std::string& line : ReadLines(logPath)) {
        if (line == "InitialiseD3D Finished OK") {
            return true;
        }
    }
    return false;
}

}  // namespace

ProgramFolder::ProgramFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    m_path = pattern;
}

ProgramFolder::~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

RunResult ProgramFolder::Run(const RunOptions& options) const {
    RunResult result;
    const std::vector<std::string> environment = BuildEnvironment(options);
    std::vector<char*> envp;
    for (const std::string& entry : environment) {
        envp.push_back(const_cast<char*>(entry.c_str()));
    }
    envp.push_back(nullptr);

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        std::perror("pipe2");
        return result;
    }

    // Blocked around fork, so the child is born with it blocked and the signal sent below can
    // only be pending, never acted on, until the program unblocks it.
    sigset_t heldSignals;
    sigemptyset(&heldSignals);
    sigset_t parentSignals;
    if (options.signalHeldFromStart) {
        sigaddset(&heldSignals, *options.signalHeldFromStart);
    }
    pthread_sigmask(SIG_BLOCK, &heldSignals, &parentSignals);
    const pid_t child = fork();
    if (child == 0) {
        dup2(errorPipe[1], STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDWR);
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        if (chdir(m_path.c_str()) != 0) {
            _exit(126);
        }
        char* const argv[] = {const_cast<char*>(OSTREL_PROGRAM_PATH), nullptr};
        execve(OSTREL_PROGRAM_PATH, argv, envp.data());
        _exit(127);
    }
    pthread_sigmask(SIG_SETMASK, &parentSignals, nullptr);
    if (options.signalHeldFromStart && child > 0) {
        kill(child, *options.signalHeldFromStart);
    }
    close(errorPipe[1]);
    fcntl(errorPipe[0], F_SETFL, O_NONBLOCK);
    bool whenRunningDone = !options.whenRunning;

    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    auto nextSignal = std::chrono::steady_clock::time_point::min();
    std::optional<std::chrono::steady_clock::time_point> loopSeenAt;
    int status = 0;
    bool exited = false;
    while (!exited) {
        char buffer[4096];
        ssize_t got;
        while ((got = read(errorPipe[0], buffer, sizeof(buffer))) > 0) {
            result.standardError.append(buffer, static_cast<std::size_t>(got));
        }
        if (waitpid(child, &status, WNOHANG) == child) {
            exited = true;
            break;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now > deadline) {
            result.timedOut = true;
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            exited = true;
            break;
        }
        if (!whenRunningDone && LoopIsRunning(m_path / "log.txt")) {
            options.whenRunning(m_path);
            whenRunningDone = true;
        }
        if (options.signalWhenRunning && whenRunningDone && !loopSeenAt &&
            (options.whenRunning || LoopIsRunning(m_path / "log.txt"))) {
            // The start-up lines come before the scene and the first frame; a signal sent the
            // moment they appear can beat the first frame on a loaded machine.
            loopSeenAt = now;
            nextSignal = now + kSettleBeforeSignal;
        }
        if (options.signalWhenRunning && loopSeenAt && now >= nextSignal) {
            kill(child, *options.signalWhenRunning);
            nextSignal = now + std::chrono::seconds(1);
        }
        if (options.signalOnceLogExists && now >= nextSignal && std::filesystem::exists(m_path / "log.txt")) {
            kill(child, *options.signalOnceLogExists);
            nextSignal = now + std::chrono::milliseconds(50);
        }
        pollfd descriptor{errorPipe[0], POLLIN, 0};
        poll(&descriptor, 1, 10);
    }
    char buffer[4096];
    ssize_t got;
    while ((got = read(errorPipe[0], buffer, sizeof(buffer))) > 0) {
        result.standardError.append(buffer, static_cast<std::size_t>(got));
    }
    close(errorPipe[0]);

    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.terminatingSignal = WTERMSIG(status);
    }
    result.logExists = std::filesystem::is_regular_file(m_path / "log.txt");
    result.logLines = ReadLines(m_path / "log.txt");
    return result;
}

std::optional<Image> ReadPng(const std::filesystem::path& path) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    Image result;
    result.width = image.width;
    result.height = image.height;
    result.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return result;
}

std::optional<long long> StatisticValue(const std::vector<std::string>& logLines, const std::string& name) {
    const std::string prefix = "\t" + name + ": ";
    for (const std::string& line : logLines) {
        if (line.rfind(prefix, 0) == 0) {
            return std::stoll(line.substr(prefix.size()));
        }
    }
    return std::nullopt;
}
