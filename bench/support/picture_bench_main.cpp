#include "frame_renderer.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::string error;
    if (!frame_renderer::open(error) ||
        !frame_renderer::use_shader(frame_renderer::embedded_shader_text(), "built-in shader",
                                    error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    benchmark::AddCustomContext("renderer", frame_renderer::driver_description());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    frame_renderer::close();
    return 0;
}
