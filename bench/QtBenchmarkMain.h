#pragma once
// The main of a benchmark program that needs a Qt application object (windows,
// trees, OpenGL contexts). Included once, by the program's own source.
#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
