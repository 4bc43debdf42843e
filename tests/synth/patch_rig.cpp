#include "patch_rig.h"

PatchRig::PatchRig(std::vector<std::uint8_t> c, std::vector<std::uint8_t> v,
                   std::vector<std::uint16_t> d)
    : commands(std::move(c)), values(std::move(v)), delay_times(std::move(d)) {}

double PatchRig::frame(std::vector<double> inputs) {
    stack.depth = 0;
    for (double x : inputs) {
        stack.push(x);
    }
    run_vm(*state, stack, {commands.data(), values.data(), delay_times.data()}, voice_count,
           song_sample++);
    const double top = stack.depth > 0 ? stack.top() : 0.0;
    stack.depth = 0;
    return top;
}
