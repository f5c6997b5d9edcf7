#pragma once
// The main of a benchmark program that needs a Qt application object (windows,
// trees, OpenGL contexts). Included once, by the program's own source. A
// program without widgets gets the GUI application its OpenGL contexts need;
// one that defines VORLU_BENCH_NO_GUI first needs no display at all.
#if defined(VORLU_BENCH_NO_GUI)
#include <QCoreApplication>
using BenchApplication = QCoreApplication;
#elif defined(QT_WIDGETS_LIB)
#include <QApplication>
using BenchApplication = QApplication;
#else
#include <QGuiApplication>
using BenchApplication = QGuiApplication;
#endif
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    BenchApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
