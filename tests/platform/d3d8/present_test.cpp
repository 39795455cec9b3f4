// Present and the frame capture: where frames go, how long Present waits, what happens once the
// window is gone, and the PNG written when the device is released.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include <gmock/gmock.h>
#include <png.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace ostrel::d3d8::testing {
namespace {

using ::testing::HasSubstr;

constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kGreen = 0xFF00FF00;
constexpr D3DCOLOR kBlue = 0xFF0000FF;

struct PngImage {
    bool read = false;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    std::vector<png_byte> rgb;  // rows top to bottom
};

PngImage ReadPng(const std::string& path) {
    PngImage image;
    png_image reader{};
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&reader, path.c_str())) {
        return image;
    }
    // The header as written, before the simplified reader converts anything.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    png_byte header[33] = {};
    if (!file || std::fread(header, 1, sizeof header, file.get()) != sizeof header) {
        png_image_free(&reader);
        return image;
    }
    image.bitDepth = header[24];
    image.colourType = header[25];
    image.width = reader.width;
    image.height = reader.height;
    reader.format = PNG_FORMAT_RGB;
    image.rgb.resize(PNG_IMAGE_SIZE(reader));
    image.read = png_image_finish_read(&reader, nullptr, image.rgb.data(), 0, nullptr) != 0;
    return image;
}

D3DCOLOR PixelOf(const PngImage& image, png_uint_32 x, png_uint_32 y) {
    const png_byte* pixel = image.rgb.data() + (static_cast<std::size_t>(y) * image.width + x) * 3;
    return D3DCOLOR_XRGB(pixel[0], pixel[1], pixel[2]);
}

bool FileExists(const std::string& path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    return file != nullptr;
}

std::string TemporaryPath(const char* name) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "ostrel_" + test->name() + "_" + name;
}

class PresentTest : public D3D8Test {
protected:
    void Present(IDirect3DDevice8* device, D3DCOLOR colour) {
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }
};

// An X8R8G8B8 back buffer is shown as it is; other formats are converted on the way.
TEST_F(PresentTest, TheFrameGoesToTheDeviceWindowAtTheBackBuffersSizeInXrgb) {
    for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8}) {
        SCOPED_TRACE(::testing::Message() << "back buffer format " << format);
        IDirect3D8* direct3D = nullptr;
        IDirect3DDevice8* device = nullptr;
        DeviceDescription description;
        description.width = 640;
        description.height = 480;
        description.format = format;
        CreateDevice(description, &direct3D, &device);
        const std::uint64_t framesBefore = Runtime::Get().PresentedFrames();
        Present(device, kRed);

        const FrameView frame = m_host->Inner().LastFrame();
        EXPECT_EQ(m_host->Inner().LastFrameWindow(), HostWindow());
        EXPECT_EQ(frame.width, 640u);
        EXPECT_EQ(frame.height, 480u);
        ASSERT_NE(frame.pixels, nullptr);
        EXPECT_EQ(frame.pixels[0], 0x00FF0000u);
        EXPECT_EQ(frame.pixels[640 * 480 - 1], 0x00FF0000u);
        EXPECT_EQ(Runtime::Get().PresentedFrames(), framesBefore + 1);
        device->Release();
        direct3D->Release();
    }
}

struct PacingCase {
    const char* name;
    bool windowed;
    D3DSWAPEFFECT swapEffect;
    UINT interval;
    PresentMode presentMode;
    int expectedWaits;
};

class PresentPacingTest : public PresentTest, public ::testing::WithParamInterface<PacingCase> {};

TEST_P(PresentPacingTest, WaitsForAsManyRefreshesAsTheIntervalAsks) {
    const PacingCase& row = GetParam();
    Config config;
    config.present = row.presentMode;
    Reinstall(config);
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    DeviceDescription description;
    description.windowed = row.windowed;
    description.swapEffect = row.swapEffect;
    description.presentationInterval = row.interval;
    CreateDevice(description, &direct3D, &device);
    Present(device, kRed);
    EXPECT_EQ(m_host->refreshWaits, row.expectedWaits);
    device->Release();
    direct3D->Release();
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, PresentPacingTest,
    ::testing::Values(
        PacingCase{"One", false, D3DSWAPEFFECT_COPY_VSYNC, D3DPRESENT_INTERVAL_ONE, PresentMode::Vsync, 1},
        PacingCase{"Default", false, D3DSWAPEFFECT_DISCARD, D3DPRESENT_INTERVAL_DEFAULT, PresentMode::Vsync, 1},
        PacingCase{"Two", false, D3DSWAPEFFECT_FLIP, D3DPRESENT_INTERVAL_TWO, PresentMode::Vsync, 2},
        PacingCase{"Three", false, D3DSWAPEFFECT_FLIP, D3DPRESENT_INTERVAL_THREE, PresentMode::Vsync, 3},
        PacingCase{"Four", false, D3DSWAPEFFECT_FLIP, D3DPRESENT_INTERVAL_FOUR, PresentMode::Vsync, 4},
        PacingCase{"Immediate", false, D3DSWAPEFFECT_COPY_VSYNC, D3DPRESENT_INTERVAL_IMMEDIATE, PresentMode::Vsync, 0},
        PacingCase{"ImmediateSetting", false, D3DSWAPEFFECT_COPY_VSYNC, D3DPRESENT_INTERVAL_ONE,
                   PresentMode::Immediate, 0},
        PacingCase{"WindowedCopyVsync", true, D3DSWAPEFFECT_COPY_VSYNC, 0, PresentMode::Vsync, 1},
        PacingCase{"WindowedDiscard", true, D3DSWAPEFFECT_DISCARD, 0, PresentMode::Vsync, 0}),
    [](const ::testing::TestParamInfo<PacingCase>& info) { return info.param.name; });

TEST_F(PresentTest, RectanglesNeedACopyingSwapEffect) {
    const RECT whole{0, 0, 800, 600};
    const struct {
        D3DSWAPEFFECT swapEffect;
        HRESULT expected;
    } rows[] = {{D3DSWAPEFFECT_COPY, D3D_OK}, {D3DSWAPEFFECT_COPY_VSYNC, D3D_OK},
                {D3DSWAPEFFECT_DISCARD, D3DERR_INVALIDCALL}, {D3DSWAPEFFECT_FLIP, D3DERR_INVALIDCALL}};
    for (const auto& row : rows) {
        IDirect3D8* direct3D = nullptr;
        IDirect3DDevice8* device = nullptr;
        DeviceDescription description;
        description.swapEffect = row.swapEffect;
        CreateDevice(description, &direct3D, &device);
        EXPECT_EQ(device->Present(&whole, nullptr, nullptr, nullptr), row.expected) << "swap " << row.swapEffect;
        EXPECT_EQ(device->Present(nullptr, &whole, nullptr, nullptr), row.expected) << "swap " << row.swapEffect;
        device->Release();
        direct3D->Release();
    }
}

TEST_F(PresentTest, AfterTheWindowIsDestroyedPresentIsAnInvalidCallAndReleaseIsClean) {
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    CreateDevice({}, &direct3D, &device);
    Present(device, kRed);
    const std::uint64_t framesBefore = Runtime::Get().PresentedFrames();

    ASSERT_TRUE(DestroyWindow(m_window));
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(Runtime::Get().PresentedFrames(), framesBefore);
    EXPECT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK) << "drawing still works";
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(direct3D->Release(), 0u);
}

TEST_F(PresentTest, ReleaseWritesTheLastPresentedFrameAsAnRgbPng) {
    for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8}) {
        SCOPED_TRACE(::testing::Message() << "back buffer format " << format);
        Config config;
        config.capturePath = TemporaryPath("capture.png");
        std::remove(config.capturePath->c_str());
        Reinstall(config);
        IDirect3D8* direct3D = nullptr;
        IDirect3DDevice8* device = nullptr;
        DeviceDescription description;
        description.width = 640;
        description.height = 480;
        description.format = format;
        CreateDevice(description, &direct3D, &device);
        Present(device, kRed);
        Present(device, kGreen);
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0), D3D_OK);  // never presented
        EXPECT_FALSE(FileExists(*config.capturePath)) << "written before the device was released";

        device->Release();
        direct3D->Release();
        const PngImage image = ReadPng(*config.capturePath);
        ASSERT_TRUE(image.read) << *config.capturePath;
        EXPECT_EQ(image.width, 640u);
        EXPECT_EQ(image.height, 480u);
        EXPECT_EQ(image.bitDepth, 8);
        EXPECT_EQ(image.colourType, PNG_COLOR_TYPE_RGB);
        EXPECT_EQ(PixelOf(image, 0, 0), kGreen);
        EXPECT_EQ(PixelOf(image, 639, 479), kGreen);
        EXPECT_FALSE(FileExists(*config.capturePath + ".tmp"));
        std::remove(config.capturePath->c_str());
    }
}

TEST_F(PresentTest, NoFramePresentedMeansNoCapture) {
    Config config;
    config.capturePath = TemporaryPath("never.png");
    std::remove(config.capturePath->c_str());
    Reinstall(config);
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    CreateDevice({}, &direct3D, &device);
    device->Release();
    direct3D->Release();
    EXPECT_FALSE(FileExists(*config.capturePath));
}

TEST_F(PresentTest, ACaptureThatCannotBeWrittenIsANoticeNotACrash) {
    Config config;
    config.capturePath = TemporaryPath("missing-folder/capture.png");
    Reinstall(config);
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    CreateDevice({}, &direct3D, &device);
    Present(device, kRed);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                HasSubstr("ostrel: cannot write the capture to " + *config.capturePath));
    direct3D->Release();
}

TEST_F(PresentTest, TheCaptureIsTakenEvenWhenTheWindowWentFirst) {
    Config config;
    config.capturePath = TemporaryPath("after-window.png");
    std::remove(config.capturePath->c_str());
    Reinstall(config);
    IDirect3D8* direct3D = nullptr;
    IDirect3DDevice8* device = nullptr;
    CreateDevice({}, &direct3D, &device);
    Present(device, kBlue);
    ASSERT_TRUE(DestroyWindow(m_window));
    device->Release();
    direct3D->Release();
    const PngImage image = ReadPng(*config.capturePath);
    ASSERT_TRUE(image.read);
    EXPECT_EQ(image.width, 800u);
    EXPECT_EQ(PixelOf(image, 400, 300), kBlue);
    std::remove(config.capturePath->c_str());
}

}  // namespace
}  // namespace ostrel::d3d8::testing
