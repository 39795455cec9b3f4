// The cost of the device's default frame next to the cost of merely touching its memory.
// "Ceiling" clears an 800x600 32-bit colour buffer and an equal depth buffer and copies one frame
// out: no renderer can do a frame with less memory traffic. "Frame" does what the device does
// per frame of the program: Clear of both buffers, the box's three strip draws, and the
// one copy of the frame Present hands to the host. The ratio of their rates is printed at the end.
#include <d3dx9.h>

#include "platform/d3d8/render/render_pipeline.h"
#include "platform/d3d8/render/surfaces.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using ostrel::d3d8::ColourSurface;
using ostrel::d3d8::DepthSurface;
using ostrel::d3d8::PipelineState;
using ostrel::d3d8::RenderPipeline;
using ostrel::d3d8::VertexStream;

constexpr std::uint32_t kWidth = 800, kHeight = 600;

void Ceiling(benchmark::State& state) {
    std::vector<std::uint32_t> colour(kWidth * kHeight), depth(kWidth * kHeight), frame(kWidth * kHeight);
    for (auto _ : state) {
        std::fill_n(colour.data(), colour.size(), 0u);
        std::fill_n(depth.data(), depth.size(), 0xFFFFFFFFu);
        std::memcpy(frame.data(), colour.data(), frame.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4 * 3);
}
BENCHMARK(Ceiling);

struct BoxVertex {
    float x, y, z;
    D3DCOLOR colour;
};

std::vector<BoxVertex> BoxVertices() {
    constexpr D3DCOLOR red = 0xFFFF0000u, green = 0xFF00FF00u, blue = 0xFF0000FFu;
    constexpr float L = -5, R = 5, B = -5, T = 5, N = -5, F = 5;
    return {{L, T, N, blue},  {L, T, F, red},   {R, T, N, red},   {R, T, F, green}, {L, B, N, red},   {L, T, N, blue},
            {R, B, N, green}, {R, T, N, red},   {R, B, F, blue},  {R, T, F, green}, {L, B, F, green}, {L, T, F, red},
            {L, B, N, red},   {L, T, N, blue},  {R, B, N, green}, {R, B, F, blue},  {L, B, N, red},   {L, B, F, green}};
}

PipelineState DefaultFrameState() {
    PipelineState state;
    D3DXMATRIX world, view, projection;
    D3DXMatrixIdentity(&world);
    const D3DXVECTOR3 eye(0, 0, -100), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4, 1.0f, 1.0f, 500.0f);
    state.world = world;
    state.view = view;
    state.projection = projection;
    state.viewport = D3DVIEWPORT8{0, 0, kWidth, kHeight, 0.0f, 1.0f};
    state.cullMode = D3DCULL_CCW;
    state.lighting = false;
    state.fvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;
    return state;
}

void Frame(benchmark::State& state) {
    ColourSurface colour(kWidth, kHeight, D3DFMT_X8R8G8B8);
    DepthSurface depth(kWidth, kHeight, D3DFMT_D32);
    std::vector<std::uint32_t> frame(kWidth * kHeight);
    RenderPipeline pipeline;
    const PipelineState pipelineState = DefaultFrameState();
    const std::vector<BoxVertex> box = BoxVertices();
    const VertexStream stream{reinterpret_cast<const BYTE*>(box.data()), static_cast<UINT>(box.size() * sizeof(BoxVertex)),
                              sizeof(BoxVertex)};
    for (auto _ : state) {
        colour.Fill(0xFF000000u);
        depth.Fill(1.0f);
        pipeline.Draw(pipelineState, D3DPT_TRIANGLESTRIP, stream, 0, 2, colour, &depth);
        pipeline.Draw(pipelineState, D3DPT_TRIANGLESTRIP, stream, 4, 8, colour, &depth);
        pipeline.Draw(pipelineState, D3DPT_TRIANGLESTRIP, stream, 14, 2, colour, &depth);
        std::memcpy(frame.data(), colour.XrgbPixels(), frame.size() * sizeof(std::uint32_t));  // the host's copy
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight * 4 * 3);
}
BENCHMARK(Frame);

// Keeps each benchmark's time per iteration (the median when repetitions are asked for) so main
// can print how the frame compares; CPU time too, since wall time on a shared machine includes
// other people's work.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double realSeconds = 0, cpuSeconds = 0;
    };
    // Colours only on a terminal, so that scripts can read the table.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.iterations > 0;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!single && !median) continue;
            const std::string name = run.run_name.function_name;
            if (single && medians.count(name)) continue;
            if (median) medians.insert(name);
            // Adjusted times are per iteration, for single runs and aggregates alike.
            const double unitsPerSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
            times[name] = Times{run.GetAdjustedRealTime() / unitsPerSecond, run.GetAdjustedCPUTime() / unitsPerSecond};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times;
    std::set<std::string> medians;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ceiling = reporter.times.find("Ceiling");
    const auto frame = reporter.times.find("Frame");
    if (ceiling != reporter.times.end() && frame != reporter.times.end()) {
        const RatioReporter::Times& c = ceiling->second;
        const RatioReporter::Times& f = frame->second;
        std::printf("frame rate / ceiling rate: %.2f by wall time (%.0f vs %.0f frames/s), %.2f by CPU time\n",
                    c.realSeconds / f.realSeconds, 1.0 / f.realSeconds, 1.0 / c.realSeconds, c.cpuSeconds / f.cpuSeconds);
    }
    benchmark::Shutdown();
    return 0;
}
