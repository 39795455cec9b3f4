#include "platform/d3d8/formats.h"

#include "platform/d3d8/render/surfaces.h"
#include "platform/runtime/config.h"

#include <algorithm>

namespace ostrel::d3d8 {

namespace {

struct NamedFormat {
    D3DFORMAT format;
    const char* name;
};

constexpr NamedFormat kFormatNames[] = {
    {D3DFMT_R8G8B8, "R8G8B8"},     {D3DFMT_A8R8G8B8, "A8R8G8B8"}, {D3DFMT_X8R8G8B8, "X8R8G8B8"},
    {D3DFMT_R5G6B5, "R5G6B5"},     {D3DFMT_X1R5G5B5, "X1R5G5B5"}, {D3DFMT_A1R5G5B5, "A1R5G5B5"},
    {D3DFMT_A4R4G4B4, "A4R4G4B4"}, {D3DFMT_R3G3B2, "R3G3B2"},     {D3DFMT_A8, "A8"},
    {D3DFMT_A8R3G3B2, "A8R3G3B2"}, {D3DFMT_X4R4G4B4, "X4R4G4B4"}, {D3DFMT_D16_LOCKABLE, "D16_LOCKABLE"},
    {D3DFMT_D32, "D32"},           {D3DFMT_D15S1, "D15S1"},       {D3DFMT_D24S8, "D24S8"},
    {D3DFMT_D24X8, "D24X8"},       {D3DFMT_D24X4S4, "D24X4S4"},   {D3DFMT_D16, "D16"},
    {D3DFMT_VERTEXDATA, "VERTEXDATA"},
};

}  // namespace

std::string FormatName(D3DFORMAT format) {
    for (const NamedFormat& named : kFormatNames) {
        if (named.format == format) {
            return named.name;
        }
    }
    return std::to_string(static_cast<long long>(format));
}

bool IsRenderableColourFormat(D3DFORMAT format) { return BytesPerPixelOfColourFormat(format) != 0; }

bool IsAcceptedDepthFormat(const Config& config, D3DFORMAT format) {
    const auto& accepted = config.depthFormats;
    return BytesPerPixelOfDepthFormat(format) != 0 &&
           std::find(accepted.begin(), accepted.end(), format) != accepted.end();
}

}  // namespace ostrel::d3d8
