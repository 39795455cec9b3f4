// The adapter's display modes: what the host's desktop offers, what the settings list instead, and
// how enumeration answers questions about modes and adapters that do not exist.
#include "tests/platform/d3d8/d3d8_fixture.h"

#include "platform/d3d8/adapter_modes.h"

#include <gmock/gmock.h>

#include <ostream>
#include <vector>

static bool operator==(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    return a.Width == b.Width && a.Height == b.Height && a.RefreshRate == b.RefreshRate && a.Format == b.Format;
}
static std::ostream& operator<<(std::ostream& out, const D3DDISPLAYMODE& mode) {
    return out << mode.Width << "x" << mode.Height << "@" << mode.RefreshRate << ":" << mode.Format;
}

namespace ostrel::d3d8::testing {
namespace {

using ::testing::ElementsAreArray;

struct Size {
    UINT width;
    UINT height;
};

// Each size in X8R8G8B8 then R5G6B5, at one refresh rate: how the host lists its modes.
std::vector<D3DDISPLAYMODE> HostModes(const std::vector<Size>& sizes, UINT refreshHz) {
    std::vector<D3DDISPLAYMODE> modes;
    for (const Size& size : sizes) {
        modes.push_back({size.width, size.height, refreshHz, D3DFMT_X8R8G8B8});
        modes.push_back({size.width, size.height, refreshHz, D3DFMT_R5G6B5});
    }
    return modes;
}

struct DesktopCase {
    const char* name;
    DesktopMode desktop;
    std::vector<Size> expectedSizes;
};

class HostModeListTest : public ::testing::TestWithParam<DesktopCase> {};

TEST_P(HostModeListTest, ListsTheDesktopAndTheClassicSizesThatFitInOrder) {
    const DesktopCase& row = GetParam();
    EXPECT_THAT(AdapterModesFor(Config{}, row.desktop),
                ElementsAreArray(HostModes(row.expectedSizes, row.desktop.refreshHz)));
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, HostModeListTest,
    ::testing::Values(
        // 1600x1200 is taller than the desktop, so it is left out although it is narrower.
        DesktopCase{"FullHd", {1920, 1080, 60},
                    {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}}},
        DesktopCase{"Ultrawide", {2560, 1080, 144},
                    {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}, {2560, 1080}}},
        DesktopCase{"NotClassic", {1366, 768, 60},
                    {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1366, 768}}},
        DesktopCase{"EqualToAClassicSize", {1280, 1024, 75},
                    {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}}},
        DesktopCase{"Large", {2560, 1600, 60},
                    {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1600, 1200}, {1920, 1080},
                     {2560, 1600}}},
        DesktopCase{"SmallerThanEveryClassicSize", {600, 400, 50}, {{600, 400}}}),
    [](const ::testing::TestParamInfo<DesktopCase>& info) { return info.param.name; });

TEST(SettingsModeListTest, KeepsTheSettingsOrderAndGivesModesWithoutARateTheDesktopRate) {
    Config config;
    config.modes = std::vector<ModeSpec>{
        {800, 600, D3DFMT_R5G6B5, std::nullopt},
        {800, 600, D3DFMT_X8R8G8B8, 85u},
        {640, 480, D3DFMT_A8R8G8B8, std::nullopt},
    };
    const std::vector<D3DDISPLAYMODE> expected{
        {800, 600, 72, D3DFMT_R5G6B5}, {800, 600, 85, D3DFMT_X8R8G8B8}, {640, 480, 72, D3DFMT_A8R8G8B8}};
    EXPECT_THAT(AdapterModesFor(config, {1920, 1080, 72}), ElementsAreArray(expected));
}

TEST(SettingsModeListTest, AnEmptyListLeavesTheAdapterWithoutModes) {
    Config config;
    config.modes = std::vector<ModeSpec>{};
    EXPECT_TRUE(AdapterModesFor(config, {1920, 1080, 60}).empty());
}

// Through the API, on the headless host's 1920x1080 desktop.
class AdapterEnumerationTest : public D3D8Test {
protected:
    std::vector<D3DDISPLAYMODE> EnumerateAll(IDirect3D8* direct3D) {
        std::vector<D3DDISPLAYMODE> modes;
        for (UINT i = 0; i < direct3D->GetAdapterModeCount(D3DADAPTER_DEFAULT); ++i) {
            D3DDISPLAYMODE mode{};
            EXPECT_EQ(direct3D->EnumAdapterModes(D3DADAPTER_DEFAULT, i, &mode), D3D_OK);
            modes.push_back(mode);
        }
        return modes;
    }
};

TEST_F(AdapterEnumerationTest, TheDefaultAdapterEnumeratesTheHostModesAtTheConfiguredRefresh) {
    Config config;
    config.refreshHz = 75;
    Reinstall(config);
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    EXPECT_EQ(direct3D->GetAdapterCount(), 1u);
    EXPECT_THAT(EnumerateAll(direct3D),
                ElementsAreArray(HostModes(
                    {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}}, 75)));
    direct3D->Release();
}

TEST_F(AdapterEnumerationTest, TheSettingsReplaceTheHostModes) {
    Config config;
    config.modes = std::vector<ModeSpec>{{1024, 768, D3DFMT_X1R5G5B5, 100u}, {320, 240, D3DFMT_R5G6B5, std::nullopt}};
    Reinstall(config);
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    const std::vector<D3DDISPLAYMODE> expected{{1024, 768, 100, D3DFMT_X1R5G5B5}, {320, 240, 60, D3DFMT_R5G6B5}};
    EXPECT_THAT(EnumerateAll(direct3D), ElementsAreArray(expected));
    direct3D->Release();
}

TEST_F(AdapterEnumerationTest, QuestionsAboutModesThatDoNotExistAreInvalidCalls) {
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    const UINT count = direct3D->GetAdapterModeCount(D3DADAPTER_DEFAULT);
    ASSERT_GT(count, 0u);

    EXPECT_EQ(direct3D->GetAdapterModeCount(1), 0u);
    const D3DDISPLAYMODE untouched{1, 2, 3, D3DFMT_A8};
    D3DDISPLAYMODE mode = untouched;
    EXPECT_EQ(direct3D->EnumAdapterModes(1, 0, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(direct3D->EnumAdapterModes(D3DADAPTER_DEFAULT, count, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(direct3D->EnumAdapterModes(D3DADAPTER_DEFAULT, 0xFFFFFFFFu, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(mode, untouched);
    EXPECT_EQ(direct3D->EnumAdapterModes(D3DADAPTER_DEFAULT, 0, nullptr), D3DERR_INVALIDCALL);
    direct3D->Release();
}

TEST_F(AdapterEnumerationTest, TheDisplayModeIsTheDesktopIn32BitColour) {
    IDirect3D8* direct3D = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(direct3D, nullptr);
    D3DDISPLAYMODE mode{};
    EXPECT_EQ(direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_EQ(mode, (D3DDISPLAYMODE{1920, 1080, 60, D3DFMT_X8R8G8B8}));
    EXPECT_EQ(direct3D->GetAdapterDisplayMode(1, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(direct3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, nullptr), D3DERR_INVALIDCALL);
    direct3D->Release();
}

}  // namespace
}  // namespace ostrel::d3d8::testing
