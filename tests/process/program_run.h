// Runs the built program as a user would: in a folder of its own, with a chosen environment,
// and reads back what it left: exit status, stderr, log.txt and a captured frame.
#ifndef OSTREL_TESTS_PROCESS_PROGRAM_RUN_H
#define OSTREL_TESTS_PROCESS_PROGRAM_RUN_H

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct RunResult {
    int exitStatus = -1;         // the process's exit code; -1 when it did not exit normally
    int terminatingSignal = 0;   // set when a signal ended it
    bool timedOut = false;
    std::string standardError;
    std::vector<std::string> logLines;
    bool logExists = false;
};

struct RunOptions {
    std::map<std::string, std::string> environment;  // on top of a minimal clean environment
    std::vector<std::string> unset;                  // variables removed from that environment
    // Sent half a second after the log shows start-up finished (so the loop has drawn frames
    // even on a loaded machine), then again every second until the process ends.
    std::optional<int> signalWhenRunning;
    // Sent as soon as log.txt exists (the program is starting up), then every 50 ms until it ends.
    std::optional<int> signalOnceLogExists;
    // Blocked in the child from fork on and sent straight away, so it is already pending when the
    // program's main begins, as when a shell that held it back starts the program.
    std::optional<int> signalHeldFromStart;
    // Called once with the program's folder when the loop is running, before signalWhenRunning.
    std::function<void(const std::filesystem::path& folder)> whenRunning;
    std::chrono::seconds timeout{30};
};

class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    RunResult Run(const RunOptions& options) const;

private:
    std::filesystem::path m_path;
};

struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;  // 3 bytes per pixel, rows top to bottom

    std::uint32_t Pixel(std::uint32_t x, std::uint32_t y) const {  // 0xRRGGBB
        const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    }
};

// Reads an 8-bit RGB or RGBA PNG; nullopt when the file is missing or not such a PNG.
std::optional<Image> ReadPng(const std::filesystem::path& path);

// Parses "\tName: value" from the statistics block; nullopt when the line is missing.
std::optional<long long> StatisticValue(const std::vector<std::string>& logLines, const std::string& name);

#endif
