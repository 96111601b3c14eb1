// How long the card faces and the table surfaces take to render, the work
// the window does when it is resized.
#include "table/card_faces.hpp"
#include "table/table_resources.hpp"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

void PrepareAllFaces(benchmark::State& state) {
    const qreal dpr = static_cast<qreal>(state.range(0));
    for (auto _ : state) {
        corvane::CardFaces faces;
        int nWidth = 0;
        int nHeight = 0;
        faces.Init(nWidth, nHeight);
        faces.Prepare(QSize(nWidth, nHeight), dpr);
        benchmark::DoNotOptimize(faces.Face(51, QSize(nWidth, nHeight), dpr));
    }
}
BENCHMARK(PrepareAllFaces)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void CachedFace(benchmark::State& state) {
    corvane::CardFaces faces;
    int nWidth = 0;
    int nHeight = 0;
    faces.Init(nWidth, nHeight);
    faces.Prepare(QSize(nWidth, nHeight), 1.0);
    int nCard = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(faces.Face(nCard, QSize(nWidth, nHeight), 1.0));
        nCard = (nCard + 1) % 52;
    }
}
BENCHMARK(CachedFace);

void RenderBackground(benchmark::State& state) {
    const auto nResource = static_cast<int>(state.range(0));
    const qreal dpr = static_cast<qreal>(state.range(1));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            corvane::Picture(corvane::PictureRole::Background, nResource, {}, dpr));
    }
}
BENCHMARK(RenderBackground)
    ->Args({100, 1})
    ->Args({200, 1})
    ->Args({300, 1})
    ->Args({400, 1})
    ->Args({400, 2})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    corvane::InitTableResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
