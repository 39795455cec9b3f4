// Shared pieces of the program's tests: a working folder of its own per test (the log is written
// to the current directory), the log's lines, and an Application whose fields a test may set.
#ifndef OSTREL_TESTS_PROGRAM_PROGRAM_FIXTURE_H
#define OSTREL_TESTS_PROGRAM_PROGRAM_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "geometry/box.h"

class TestApplication : public Application {
public:
    using Application::m_endTime;
    using Application::m_frameCount;
    using Application::m_logEnabled;
    using Application::m_pBox;
    using Application::m_pDevice;
    using Application::m_pDirect3D;
    using Application::m_startTime;
};

class TestBox : public Box {
public:
    using Box::Box;
    using Box::m_pBuffer;
};

class InTemporaryFolder : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-program-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        std::filesystem::current_path(m_folder);
    }

    void TearDown() override {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }

    static bool LogExists() { return std::filesystem::exists("log.txt"); }

    static std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        std::ifstream in("log.txt", std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::filesystem::path m_folder;

private:
    std::filesystem::path m_previous;
};

#endif
